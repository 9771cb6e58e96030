#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"
#include "ui/widgets/ButtonOnlyDialog.h"
#include "ui/widgets/DialogPlacement.h"

class QCheckBox;
class QLineEdit;

namespace portolan {

// The add/edit site dialog: shown modally by Insert and Edit, it checks the typed site and stores it
// through the editing commands. It closes only by OK after a successful store, or by Cancel.
class TaddFRM : public ButtonOnlyDialog {
    Q_OBJECT
public:
    // The dialog stores sites into the session's book and reports through ui; placement puts it beside
    // the main window at every showing.
    TaddFRM(QWidget* parent, Session& session, UserInterface& ui, DialogPlacement placement);

protected:
    void FormShow() override;

private:
    QLineEdit* addEdit(const QString& name, const QString& label, const QString& labelName,
                       const QPoint& labelAt, const QRect& place);
    void anonCHKClick();
    void okBTNClick();
    void cancelBTNClick();

    Session& session_;
    UserInterface& ui_;
    DialogPlacement placement_;
    QLineEdit* descBX;
    QLineEdit* addrBX;
    QLineEdit* portBX;
    QLineEdit* dirBX;
    QCheckBox* anonCHK;
    QLineEdit* userBX;
    QLineEdit* passBX;
    QLineEdit* scriptBX;
};

} // namespace portolan
