#include "ui/widgets/DialogUnits.h"

#include <QFontMetrics>

#include <cmath>

namespace portolan {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    letterRowWidth_ = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charHeight_ = metrics.height();
}

// The average width stays a fraction until the pixel count is rounded, so wide layouts do not gather
// the rounding error of every letter.
int DialogUnits::x(int units) const {
    return static_cast<int>(std::lround(units * letterRowWidth_ / (52.0 * 4.0)));
}

int DialogUnits::y(int units) const {
    return static_cast<int>(std::lround(units * charHeight_ / 8.0));
}

} // namespace portolan
