#include "support/ModalAnswer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace portolan::test {

namespace {

constexpr int pollMilliseconds = 10;

// The watch ends by the clock, not by a count of polls: on a busy machine the polls come late, and a
// watch that outlived its time would answer a later test's dialog.
void poll(const std::function<void(QWidget*)>& act, const std::shared_ptr<bool>& done, QDeadlineTimer end) {
    if (end.hasExpired()) {
        qWarning("whenModal: no modal dialog opened");
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        *done = true;
        act(modal);
        return;
    }
    QTimer::singleShot(pollMilliseconds, qApp, [act, done, end] { poll(act, done, end); });
}

} // namespace

std::shared_ptr<bool> whenModal(std::function<void(QWidget* modal)> act, int timeoutMs) {
    auto done = std::make_shared<bool>(false);
    const QDeadlineTimer end(timeoutMs);
    QTimer::singleShot(0, qApp, [act = std::move(act), done, end] { poll(act, done, end); });
    return done;
}

void pressKey(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

void closeByCloseBox(QWidget* dialog) {
    QCloseEvent request;
    QCoreApplication::sendEvent(dialog->windowHandle(), &request);
}

void clickButton(QWidget* dialog, const QString& name) {
    auto* button = dialog->findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable("no button " + name));
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace portolan::test
