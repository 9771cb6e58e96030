#include "ui/platform/Application.h"

#include <windows.h>

#include <cstdlib>

namespace portolan {

// The windows are laid out in pixels for the system's dialog font as Windows has always drawn it,
// 8 points at 96 dots per inch (11 pixels). That font is the system's default GUI font: its family
// ("MS Shell Dlg", which the system maps to "MS Sans Serif" or Tahoma) and its height come from the
// system, with the families it stands for after it, the narrower first, in case Qt does not know it.
QFont classicFont() {
    QFont font;
    QStringList families;
    int pixels = 11;
    LOGFONTW system{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system) == sizeof system) {
        families << QString::fromWCharArray(system.lfFaceName);
        if (system.lfHeight != 0)
            pixels = std::abs(system.lfHeight);
    }
    families << "MS Sans Serif"
             << "Microsoft Sans Serif"
             << "Tahoma"
             << "Arial";
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

} // namespace portolan
