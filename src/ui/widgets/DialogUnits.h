#pragma once

#include <QFont>

namespace portolan {

// The units in which the message dialog and the input prompt are laid out, taken from their font: a
// horizontal unit is a quarter of the average width of the letters "A" to "Z" and "a" to "z", a
// vertical unit an eighth of the character height. x() and y() turn unit counts into whole pixels,
// rounded to the nearest.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;

private:
    int letterRowWidth_; // the 52 letters in a row; the average is this divided by 52
    int charHeight_;
};

} // namespace portolan
