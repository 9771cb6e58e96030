#pragma once

#include <QDialog>

#include <functional>

class QPushButton;

namespace portolan {

// A modal dialog whose keys follow two button roles, as a desktop message box does, instead of Qt's
// own habits (Escape rejecting, focused buttons turning default):
// - Enter presses the push button that has the focus, else the default button, else nothing;
// - Escape presses the escape button, else nothing;
// - every other way of closing it (close box, system menu, window manager) ends it with answer 2.
// The dialog has a caption bar with close box and system menu, no minimise or maximise box, and a
// fixed client size (set by the derived dialog with setFixedSize); its controls sit at fixed pixel positions.
class RoleDialog : public QDialog {
    Q_OBJECT
public:
    explicit RoleDialog(const QString& caption);

    // Closing by the close box or system menu: answer 2, whatever buttons the dialog has.
    void reject() override;

protected:
    // A push button that is never default unless made the default role; its click runs onClick
    // inside the error guard.
    QPushButton* addButton(const QString& name, const QString& caption, const QRect& place,
                           std::function<void()> onClick);
    // A push button whose click ends the dialog with answer.
    QPushButton* addAnswerButton(const QString& name, const QString& caption, const QRect& place, int answer);

    // Either role may be null. The default button is drawn as default and starts with the focus;
    // without one, the first push button does.
    void setRoles(QPushButton* defaultButton, QPushButton* escapeButton);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* defaultButton_ = nullptr;
    QPushButton* escapeButton_ = nullptr;
};

// Shows dialog modally (all other windows of the program take no input meanwhile) and returns its
// answer; afterwards the window that was active before becomes active again.
int runModal(QDialog& dialog);

} // namespace portolan
