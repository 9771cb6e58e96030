#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QListWidget;
class QWidget;

namespace portolan::test {

// While it lives, windows made get the font that Portolan sets up, so a test sees captions as wide as
// a person does; the test's default font is put back afterwards.
class ProgramFont {
public:
    ProgramFont();
    ~ProgramFont();
    ProgramFont(const ProgramFont&) = delete;
    ProgramFont& operator=(const ProgramFont&) = delete;

private:
    QFont previous_;
};

// Makes the window the active one, as it is for a person typing into it; the offscreen platform
// leaves a modal dialog inactive while its parent window is active.
void activate(QWidget* window);

// Types text into the focused widget as a person does: ASCII characters by key presses, other letters
// as an input method hands them over (Qt Test has key codes for ASCII alone).
void typeText(QWidget* widget, const QString& text);

// The texts of the list's entries, top to bottom.
QStringList itemTexts(const QListWidget* list);

// Clicks the list's entry with this text; fails the test if there is none.
void selectSite(QListWidget* list, const QString& text);

// Runs open, which shows a modal dialog, and steps in that dialog once it shows. The dialog is made
// the active window first: the offscreen platform leaves the main window active, while a person
// types into an active dialog. If the steps leave it open, for instance because a check failed
// half-way, its push button closeButton is clicked, so no test leaves a modal dialog behind.
// Returns whether a dialog opened.
bool inModalDialog(const std::function<void()>& open, const QString& closeButton,
                   const std::function<void(QDialog& dialog)>& steps);

// Answers the next modal dialog, which must be a file dialog, with act.
std::shared_ptr<bool> answerFileDialog(std::function<void(QFileDialog&)> act);

// Clicks the dialog's browse button of this objectName and answers its file dialog with act.
std::shared_ptr<bool> browse(QDialog& dialog, const char* button, std::function<void(QFileDialog&)> act);

// What a message dialog showed.
struct ShownMessage {
    bool opened = false;
    QString caption;
    QString text;        // line breaks as "\n"
    QStringList buttons; // the objectNames of its buttons, left to right
};

// Answers the next message dialog (a TMessageForm) by clicking its button buttonName, recording what
// it showed first.
std::shared_ptr<ShownMessage> recordMessage(const QString& buttonName);

// Answers the next box of the default error handler (a QMessageBox) with OK, recording what it
// showed first; its buttons are listed by their texts.
std::shared_ptr<ShownMessage> recordErrorBox();

} // namespace portolan::test
