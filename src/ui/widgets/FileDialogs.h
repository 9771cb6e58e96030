#pragma once

#include <QFileDialog>
#include <QPointer>

#include <optional>
#include <string>

namespace portolan {

// What a file dialog asks for: a file to open that must exist, a file to open that need not exist,
// or a file to save.
enum class FileRole { OpenExisting, OpenAny, Save };

// A file dialog of Portolan's own: Qt's dialog (the same on every desktop), one filter such as
// "Portolan files (*.ptn)", a default suffix given to a name typed without one, and no question of its
// own about an existing file. It offers the file chosen last time, in that file's folder. The Qt
// dialog itself, a child of parent named name, is made the first time it runs: each one loads icons
// and starts a folder watcher, which the first window should not wait for.
class FileDialogOnDemand {
public:
    FileDialogOnDemand(QWidget* parent, QString name, QString title, QString filter, QString defaultSuffix,
                       FileRole role);

    // The chosen path, as the system names it, or nothing when cancelled.
    std::optional<std::string> run();

    void setTitle(const QString& title);

    // The folder shown while the dialog offers no file of its last use; empty leaves Qt's choice.
    void setStartFolder(const QString& folder);

    // Makes the dialog offer no name next time.
    void forgetFileName();

private:
    QFileDialog& dialog();

    QWidget* parent_;
    QString name_;
    QString title_;
    QString filter_;
    QString defaultSuffix_;
    FileRole role_;
    QString lastName_;
    QString startFolder_;
    QPointer<QFileDialog> dialog_; // owned by parent_
};

} // namespace portolan
