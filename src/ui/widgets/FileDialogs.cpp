#include "ui/widgets/FileDialogs.h"

#include "ui/widgets/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace portolan {

namespace {

// Qt's file dialog with a check of its own when a name is confirmed: an open dialog whose file must
// exist also finds a name typed without a suffix with the default suffix. Qt's own existing-file mode
// checks the name only as typed, so "sites" would never open sites.ptn. A folder is opened in the
// dialog as usual.
class PortolanFileDialog final : public QFileDialog {
public:
    PortolanFileDialog(QWidget* parent, const QString& title, bool mustExist)
        : QFileDialog(parent, title), mustExist_(mustExist) {}

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.isEmpty())
            return QFileDialog::accept();
        const QFileInfo typed(chosen.constFirst());
        if (!mustExist_ || typed.exists())
            return QFileDialog::accept();
        const QString suffixed = typed.filePath() + '.' + defaultSuffix();
        if (!defaultSuffix().isEmpty() && typed.suffix().isEmpty() && QFileInfo::exists(suffixed)) {
            selectFile(suffixed);
            return QFileDialog::accept();
        }
        QMessageBox::warning(
            this, windowTitle(),
            tr("%1\nFile not found.\nPlease verify the correct file name was given.").arg(typed.fileName()));
    }

private:
    bool mustExist_;
};

} // namespace

FileDialogOnDemand::FileDialogOnDemand(QWidget* parent, QString name, QString title, QString filter,
                                       QString defaultSuffix, FileRole role)
    : parent_(parent), name_(std::move(name)), title_(std::move(title)), filter_(std::move(filter)),
      defaultSuffix_(std::move(defaultSuffix)), role_(role) {}

QFileDialog& FileDialogOnDemand::dialog() {
    if (!dialog_) {
        dialog_ = new PortolanFileDialog(parent_, title_, role_ == FileRole::OpenExisting);
        dialog_->setObjectName(name_);
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setOption(QFileDialog::DontConfirmOverwrite);
        dialog_->setNameFilters(filter_.split(";;"));
        dialog_->setDefaultSuffix(defaultSuffix_);
        dialog_->setAcceptMode(role_ == FileRole::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::AnyFile);
    }
    return *dialog_;
}

std::optional<std::string> FileDialogOnDemand::run() {
    QFileDialog& shown = dialog();
    shown.setWindowTitle(title_);
    if (lastName_.isEmpty()) {
        if (!startFolder_.isEmpty())
            shown.setDirectory(startFolder_);
        // After forgetFileName the name box is empty. Qt's dialog ignores an empty selection and would
        // offer the name typed last time, so the box itself is emptied.
        if (auto* nameBox = shown.findChild<QLineEdit*>("fileNameEdit"))
            nameBox->clear();
    } else {
        const QFileInfo last(lastName_);
        shown.setDirectory(last.absolutePath());
        shown.selectFile(last.fileName());
    }
    if (shown.exec() != QDialog::Accepted || shown.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = shown.selectedFiles().constFirst();
    // Qt's dialog separates folders with "/" on every system; Windows names them with "\\".
    return pathFromQString(QDir::toNativeSeparators(lastName_));
}

void FileDialogOnDemand::setTitle(const QString& title) {
    title_ = title;
}

void FileDialogOnDemand::setStartFolder(const QString& folder) {
    startFolder_ = folder;
}

void FileDialogOnDemand::forgetFileName() {
    lastName_.clear();
}

} // namespace portolan
