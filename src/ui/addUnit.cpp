#include "ui/addUnit.h"

#include "commands/SiteEditing.h"
#include "ui/widgets/Guard.h"
#include "ui/widgets/QtText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace portolan {

TaddFRM::TaddFRM(QWidget* parent, Session& session, UserInterface& ui, DialogPlacement placement)
    : ButtonOnlyDialog(parent, "addFRM", "Add/Edit Site", QSize(321, 237)), session_(session), ui_(ui),
      placement_(std::move(placement)) {
    descBX = addEdit("descBX", "Description", "Label1", {8, 8}, {8, 24, 225, 21});
    descBX->setMaxLength(DescriptionLimit);
    addrBX = addEdit("addrBX", "Address", "Label2", {8, 48}, {8, 64, 145, 21});
    portBX = addEdit("portBX", "Port", "Label3", {160, 48}, {160, 64, 73, 21});
    dirBX = addEdit("dirBX", "Login Directory", "Label6", {8, 88}, {8, 104, 225, 21});
    anonCHK = new QCheckBox("Anonymous Login", this);
    anonCHK->setObjectName("anonCHK");
    anonCHK->setGeometry(8, 128, 105, 17);
    anonCHK->resize(std::max(105, anonCHK->sizeHint().width()), 17); // never clipped: nothing is beside it
    anonCHK->setChecked(true);
    userBX = addEdit("userBX", "User Name", "Label4", {8, 152}, {8, 168, 113, 21});
    passBX = addEdit("passBX", "Password", "Label5", {128, 152}, {128, 168, 105, 21});
    scriptBX = addEdit("scriptBX", "Script", "Label7", {8, 192}, {8, 208, 225, 21});
    userBX->setEnabled(false);
    passBX->setEnabled(false);
    connect(anonCHK, &QCheckBox::toggled, this, [this] { guarded([&] { anonCHKClick(); }); });

    QPushButton* okBTN = addButton(this, "okBTN", "OK", {240, 8, 75, 25}, [this] { okBTNClick(); });
    QPushButton* cancelBTN =
        addButton(this, "cancelBTN", "Cancel", {240, 40, 75, 25}, [this] { cancelBTNClick(); });

    QWidget* tabOrder[] = {descBX, addrBX, portBX,   dirBX, anonCHK,
                           userBX, passBX, scriptBX, okBTN, cancelBTN};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QLineEdit* TaddFRM::addEdit(const QString& name, const QString& label, const QString& labelName,
                            const QPoint& labelAt, const QRect& place) {
    auto* caption = new QLabel(label, this);
    caption->setObjectName(labelName);
    caption->move(labelAt);
    caption->adjustSize();
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(place);
    caption->setBuddy(edit); // a screen reader names the box by its label
    return edit;
}

void TaddFRM::FormShow() {
    placement_(*this);
    descBX->setFocus();
    const SiteDialogContent content = siteDialogContent(session_);
    for (QLineEdit* box : {descBX, addrBX, portBX, dirBX, userBX, passBX, scriptBX})
        box->clear();
    anonCHK->setChecked(true);
    setWindowTitle(toQString(content.caption));
    const SiteFields& site = content.fields;
    descBX->setText(toQString(site.Description));
    addrBX->setText(toQString(site.Address));
    portBX->setText(toQString(site.Port));
    dirBX->setText(toQString(site.LoginDirectory));
    anonCHK->setChecked(site.Anonymous);
    userBX->setText(toQString(site.UserName));
    passBX->setText(toQString(site.Password));
    scriptBX->setText(toQString(site.Script));
}

void TaddFRM::anonCHKClick() {
    const bool anonymous = anonCHK->isChecked();
    userBX->setEnabled(!anonymous);
    passBX->setEnabled(!anonymous);
}

void TaddFRM::okBTNClick() {
    SiteFields typed;
    typed.Description = fromQString(descBX->text());
    typed.Address = fromQString(addrBX->text());
    typed.Port = fromQString(portBX->text());
    typed.UserName = fromQString(userBX->text());
    typed.Password = fromQString(passBX->text());
    typed.LoginDirectory = fromQString(dirBX->text());
    typed.Script = fromQString(scriptBX->text());
    typed.Anonymous = anonCHK->isChecked();
    if (portolan::okBTNClick(session_, ui_, typed))
        closeByButton(Accepted);
}

void TaddFRM::cancelBTNClick() {
    closeByButton(Rejected);
}

} // namespace portolan
