#pragma once

#include "ui/widgets/ButtonOnlyDialog.h"
#include "ui/widgets/FileDialogs.h"

class QCheckBox;
class QLineEdit;

namespace portolan {

class TmainFRM;

// The client configuration dialog: edits the client command template and the "Anonym" option. Its
// controls are filled once, when it is created; after that they keep what the user typed, also after
// Cancel, and only OK puts them in force.
class TconfigFRM : public ButtonOnlyDialog {
    Q_OBJECT
public:
    explicit TconfigFRM(TmainFRM& main);

protected:
    void FormShow() override;

private:
    void createLegend();
    void FormCreate();
    void footerSBClick();
    void Button1Click();
    void Button2Click();

    TmainFRM& main_;
    QLineEdit* cmdBX;
    QCheckBox* cftpBX;
    FileDialogOnDemand OpenDialog1;
};

} // namespace portolan
