#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace portolan::test {

// Answers a modal dialog that the code under test is about to open. act runs with the active modal
// widget as soon as one is showing (the event loop is polled every few milliseconds, for at most
// timeoutMs). The returned flag turns true once act has run, so a test can check that the dialog it
// expected did open. act must end the dialog, or the call under test never returns.
std::shared_ptr<bool> whenModal(std::function<void(QWidget* modal)> act, int timeoutMs = 5000);

// Sends a key press and release to the dialog's focused widget (the dialog itself when none has the
// focus), as typing on the keyboard does.
void pressKey(QWidget* dialog, int key);

// Closes the dialog as its close box does: a close request from the window system.
void closeByCloseBox(QWidget* dialog);

// Clicks the dialog's push button of the given objectName; fails the test if there is none.
void clickButton(QWidget* dialog, const QString& name);

} // namespace portolan::test
