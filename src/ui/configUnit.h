#pragma once

#include "commands/Session.h"
#include "ui/widgets/ButtonOnlyDialog.h"
#include "ui/widgets/DialogPlacement.h"
#include "ui/widgets/FileDialogs.h"

class QCheckBox;
class QLineEdit;

namespace portolan {

// The client configuration dialog: edits the client command template and the "Anonym" option. Its
// controls are filled once, when it is created; after that they keep what the user typed, also after
// Cancel, and only OK puts them in force.
class TconfigFRM : public ButtonOnlyDialog {
    Q_OBJECT
public:
    // The dialog edits the session's client settings; placement puts it beside the main window at every
    // showing.
    TconfigFRM(QWidget* parent, Session& session, DialogPlacement placement);

protected:
    void FormShow() override;

private:
    void createLegend();
    void FormCreate();
    void footerSBClick();
    void Button1Click();
    void Button2Click();

    Session& session_;
    DialogPlacement placement_;
    QLineEdit* cmdBX;
    QCheckBox* cftpBX;
    FileDialogOnDemand OpenDialog1;
};

} // namespace portolan
