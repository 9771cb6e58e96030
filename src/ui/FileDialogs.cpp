#include "ui/FileDialogs.h"

#include "ui/QtText.h"

#include <QFileInfo>
#include <QMessageBox>

namespace portolan {

namespace {

constexpr const char* lastNameProperty = "lastFileName";

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

QFileDialog* makeFileDialog(QWidget* parent, const QString& name, const QString& title, const QString& filter,
                            const QString& defaultSuffix, FileRole role) {
    QFileDialog* dialog = role == FileRole::OpenExisting ? new ExistingFileDialog(parent, title)
                                                         : new QFileDialog(parent, title);
    dialog->setObjectName(name);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setNameFilters(filter.split(";;"));
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setAcceptMode(role == FileRole::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile);
    return dialog;
}

std::optional<std::string> runFileDialog(QFileDialog& dialog) {
    // The last chosen file is offered in its own folder; after forgetFileName the name box is empty.
    const QFileInfo last(dialog.property(lastNameProperty).toString());
    if (!last.filePath().isEmpty())
        dialog.setDirectory(last.absolutePath());
    dialog.selectFile(last.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    dialog.setProperty(lastNameProperty, chosen);
    return fromQString(chosen);
}

void forgetFileName(QFileDialog& dialog) {
    dialog.setProperty(lastNameProperty, QString());
}

} // namespace portolan
