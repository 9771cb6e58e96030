#pragma once

#include <QIcon>
#include <QToolButton>

namespace portolan {

// A tool-bar button in the old desktop manner: 25 x 25 unless told otherwise, a 16 x 16 glyph with a
// greyed look when disabled, its hint as a tool tip, and never the keyboard focus.
class SpeedButton : public QToolButton {
    Q_OBJECT
public:
    SpeedButton(const QString& name, const QIcon& glyph, const QString& hint, QWidget* parent,
                QSize size = QSize(25, 25));
};

} // namespace portolan
