#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"
#include "ui/widgets/ButtonOnlyDialog.h"
#include "ui/widgets/DialogPlacement.h"
#include "ui/widgets/FileDialogs.h"

#include <array>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;

namespace portolan {

// The export dialog: modeless, it stays open beside the main window and keeps its header and footer
// names and column choices for the whole run. "Export" writes the active sites as padded columns
// between the header and footer files; only "Cancel" hides it.
class TexportFRM : public ButtonOnlyDialog {
    Q_OBJECT
public:
    // The export reads the session's book and widths and asks and reports through ui; placement puts
    // the dialog beside the main window at every showing.
    TexportFRM(QWidget* parent, Session& session, UserInterface& ui, DialogPlacement placement);

    // The export file's dialog; the chosen name, or nothing when cancelled.
    std::optional<std::string> runSaveDialog();

protected:
    void FormShow() override;

private:
    QLineEdit* addFileRow(const QString& labelName, const QString& label, const QRect& labelPlace,
                          const QString& boxName, int top, const QString& buttonName,
                          const QString& browseTitle, const QString& browseName);
    void createColumnSetup();
    void FormCreate();
    void browse(QLineEdit& box, const QString& title);
    void Button1Click();
    void Button2Click();

    Session& session_;
    UserInterface& ui_;
    DialogPlacement placement_;
    QLineEdit* headerTX;
    QLineEdit* footerTX;
    std::array<QComboBox*, 6> columnLists_{}; // ColBX1 to ColBX6, in the order they are written
    FileDialogOnDemand OpenDialog1;
    FileDialogOnDemand SaveDialog1;
};

} // namespace portolan
