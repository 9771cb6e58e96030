#pragma once

#include <QIcon>

namespace portolan {

// The pictures of the speed buttons. Each is 16 x 16, drawn by Portolan itself (no image files), and
// carries two looks: the normal one and a greyed, embossed one that Qt shows while the button is
// disabled (the QIcon::Disabled pixmap).
enum class Glyph {
    New,         // a blank page with yellow rays
    Open,        // a written page with yellow rays
    Save,        // a written page with a red arrow down into a diskette
    Insert,      // a blue arrow pointing right and a red plus sign beside a dotted column
    Delete,      // a blue arrow pointing left and a red minus sign beside a dotted column
    Edit,        // a page with a pencil
    Information, // a computer terminal
    Help,        // a book with a red question mark
    Browse,      // a small open folder
    MoreItems,   // a navy double chevron pointing right: the menu bar's button for items that do not fit
};

// The glyph as an icon with its Normal and Disabled looks, 16 x 16 and whole multiples of that, drawn
// when first asked for.
QIcon glyphIcon(Glyph glyph);

} // namespace portolan
