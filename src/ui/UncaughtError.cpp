#include "ui/UncaughtError.h"

#include "ui/widgets/QtText.h"
#include "ui/widgets/RoleDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace portolan {

void HandleUncaughtError(const std::exception& error) {
    // A widget that holds the mouse would keep it from the message box.
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    unicodeToQString(error.what()) + QLatin1Char('.'), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    runModal(box);
}

} // namespace portolan
