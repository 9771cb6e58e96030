#include "ui/platform/Application.h"

namespace portolan {

// The windows are laid out in pixels for "MS Sans Serif" at 11 pixels. Linux rarely has it, and
// looking for a missing family costs the start-up a long search, so the fonts nearest to its widths
// come first; the first one installed is taken. Liberation Sans (Arial's widths) runs about 7 per cent
// wider, so the letters are narrowed to 93 per cent: every caption then fits the width that the
// layout gives it, and no two captions of a row touch.
QFont classicFont() {
    QFont font;
    font.setFamilies({"Liberation Sans", "MS Sans Serif", "Arial", "DejaVu Sans Condensed", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setStretch(93);
    return font;
}

} // namespace portolan
