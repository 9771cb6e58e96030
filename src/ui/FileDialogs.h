#pragma once

#include <QFileDialog>

#include <optional>
#include <string>

namespace portolan {

// What a file dialog asks for: a file to open that must exist, a file to open that need not exist,
// or a file to save.
enum class FileRole { OpenExisting, OpenAny, Save };

// A file dialog of Portolan's own: Qt's dialog (the same on every desktop), one filter such as
// "Portolan files (*.ptn)", a default suffix given to a name typed without one, and no question of its
// own about an existing file.
QFileDialog* makeFileDialog(QWidget* parent, const QString& name, const QString& title,
                            const QString& filter, const QString& defaultSuffix, FileRole role);

// Runs the dialog offering the name chosen last time; the chosen name, or nothing when cancelled.
std::optional<std::string> runFileDialog(QFileDialog& dialog);

// Makes the dialog offer no name next time.
void forgetFileName(QFileDialog& dialog);

} // namespace portolan
