#pragma once

#include "ui/widgets/ButtonOnlyDialog.h"

class QCheckBox;
class QLineEdit;

namespace portolan {

class TmainFRM;

// The add/edit site dialog: shown modally by Insert and Edit, it checks the typed site and stores it
// through the editing commands. It closes only by OK after a successful store, or by Cancel.
class TaddFRM : public ButtonOnlyDialog {
    Q_OBJECT
public:
    explicit TaddFRM(TmainFRM& main);

protected:
    void FormShow() override;

private:
    QLineEdit* addEdit(const QString& name, const QString& label, const QString& labelName,
                       const QPoint& labelAt, const QRect& place);
    void anonCHKClick();
    void okBTNClick();
    void cancelBTNClick();

    TmainFRM& main_;
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
