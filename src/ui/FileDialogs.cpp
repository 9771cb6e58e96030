#include "ui/FileDialogs.h"

#include "ui/QtText.h"

#include <QFileInfo>
#include <QMessageBox>

namespace portolan {

namespace {

// An open dialog whose file must exist, where a name typed without a suffix also finds the file with
// the default suffix: Qt's own existing-file mode checks the name only as typed, so "sites" would
// never open sites.ptn. A folder is opened in the dialog as usual.
class ExistingFileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.isEmpty() || QFileInfo::exists(chosen.constFirst()))
            return QFileDialog::accept();
        const QFileInfo typed(chosen.constFirst());
        const QString suffixed = typed.filePath() + '.' + defaultSuffix();
        if (!defaultSuffix().isEmpty() && typed.suffix().isEmpty() && QFileInfo::exists(suffixed)) {
            selectFile(suffixed);
            return QFileDialog::accept();
        }
        QMessageBox::warning(this, windowTitle(),
                             tr("%1\nFile not found.\nPlease verify the correct file name was given.")
                                 .arg(typed.fileName()));
    }
};

} // namespace

FileDialogOnDemand::FileDialogOnDemand(QWidget* parent, QString name, QString title, QString filter,
                                       QString defaultSuffix, FileRole role)
    : parent_(parent), name_(std::move(name)), title_(std::move(title)), filter_(std::move(filter)),
      defaultSuffix_(std::move(defaultSuffix)), role_(role) {}

QFileDialog& FileDialogOnDemand::dialog() {
    if (!dialog_) {
        dialog_ = role_ == FileRole::OpenExisting ? new ExistingFileDialog(parent_, title_)
                                                  : new QFileDialog(parent_, title_);
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
    // After forgetFileName the name box is empty.
    const QFileInfo last(lastName_);
    if (!lastName_.isEmpty())
        shown.setDirectory(last.absolutePath());
    shown.selectFile(last.fileName());
    if (shown.exec() != QDialog::Accepted || shown.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = shown.selectedFiles().constFirst();
    return fromQString(lastName_);
}

void FileDialogOnDemand::setTitle(const QString& title) {
    title_ = title;
}

void FileDialogOnDemand::forgetFileName() {
    lastName_.clear();
}

} // namespace portolan
