#include "support/ModalAnswer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace portolan::test {

namespace {

constexpr int pollMilliseconds = 10;

void poll(const std::function<void(QWidget*)>& act, const std::shared_ptr<bool>& done, int remainingMs) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        *done = true;
        act(modal);
        return;
    }
    if (remainingMs <= 0) {
        qWarning("whenModal: no modal dialog opened");
        return;
    }
    QTimer::singleShot(pollMilliseconds, qApp,
                       [act, done, remainingMs] { poll(act, done, remainingMs - pollMilliseconds); });
}

} // namespace

std::shared_ptr<bool> whenModal(std::function<void(QWidget* modal)> act, int timeoutMs) {
    auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [act = std::move(act), done, timeoutMs] { poll(act, done, timeoutMs); });
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
