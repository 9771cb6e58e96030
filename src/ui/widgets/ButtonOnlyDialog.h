#pragma once

#include <QDialog>

#include <functional>

class QPushButton;

namespace portolan {

// A dialog that closes only through its own buttons: a title bar without close box or system menu,
// no default and no cancel button, so Enter and Escape do nothing, and the window manager's close
// request is refused. Its client area has a fixed size; controls sit at fixed pixel positions.
class ButtonOnlyDialog : public QDialog {
    Q_OBJECT
public:
    ButtonOnlyDialog(QWidget* parent, const QString& name, const QString& caption, QSize clientSize);

protected:
    // A push button that is never the default, running its handler inside the error guard.
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, const QRect& place,
                           std::function<void()> handler);

    // Runs each time the dialog goes from hidden to shown, inside the error guard.
    virtual void FormShow() = 0;

    // Ends a modal run, or hides a modeless dialog: the one way the dialog closes.
    void closeByButton(int result);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool closingByButton_ = false;
};

} // namespace portolan
