#include "ui/widgets/SpeedButton.h"

namespace portolan {

SpeedButton::SpeedButton(const QString& name, const QIcon& glyph, const QString& hint, QWidget* parent,
                         QSize size)
    : QToolButton(parent) {
    setObjectName(name);
    setIcon(glyph);
    setIconSize(QSize(16, 16));
    setToolTip(hint);
    setAccessibleName(hint); // a tool tip is only a description to assistive technology
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(size);
}

} // namespace portolan
