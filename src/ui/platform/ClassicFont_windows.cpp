#include "ui/platform/Application.h"

#include <windows.h>

#include <cstdlib>

namespace portolan {

// The windows are laid out in pixels for the system's dialog font as Windows has always drawn it,
// 8 points at 96 dots per inch (11 pixels). That font is the system's default GUI font: its family
// ("MS Shell Dlg", which the system maps to "MS Sans Serif" or Tahoma) and its height come from the
// system, with the families it stands for after it, the narrower first, in case Qt does not know it.
// The system gives the height in the screen's pixels at its dots per inch; Qt's pixels are those of
// 96 dots per inch, which Qt scales to the screen itself.
QFont classicFont() {
    QFont font;
    QStringList families;
    int pixels = 11;
    LOGFONTW system{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system) == sizeof system) {
        families << QString::fromWCharArray(system.lfFaceName);
        const HDC screen = ::GetDC(nullptr);
        const int dotsPerInch = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        if (system.lfHeight != 0 && dotsPerInch > 0)
            pixels = ::MulDiv(std::abs(system.lfHeight), 96, dotsPerInch);
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
