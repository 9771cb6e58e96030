#include "ui/configUnit.h"

#include "commands/ClientConfiguration.h"
#include "ui/platform/ClientPrograms.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/Glyphs.h"
#include "ui/widgets/Guard.h"
#include "ui/widgets/QtText.h"
#include "ui/widgets/SpeedButton.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace portolan {

TconfigFRM::TconfigFRM(QWidget* parent, Session& session, DialogPlacement placement)
    : ButtonOnlyDialog(parent, "configFRM", "Configure FTP Client", QSize(300, 147)), session_(session),
      placement_(std::move(placement)),
      OpenDialog1(this, "OpenDialog1", "Find FTP client executable", clientProgramFilter(),
                  clientProgramSuffix(), FileRole::OpenAny) {
    auto* Label1 = new QLabel("Command Line:", this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Its right edge stays at 2 + 73; a caption wider than the place grows to the left, up to the
    // dialog's edge.
    const int labelWidth = std::clamp(Label1->sizeHint().width(), 73, 75);
    Label1->setGeometry(75 - labelWidth, 10, labelWidth, 13);

    cmdBX = new QLineEdit(this);
    cmdBX->setObjectName("cmdBX");
    cmdBX->setGeometry(80, 6, 190, 21);
    Label1->setBuddy(cmdBX);

    auto* footerSB = new SpeedButton("footerSB", glyphIcon(Glyph::Browse), QString(), this, QSize(21, 21));
    footerSB->move(270, 6);
    footerSB->setAccessibleName("Browse for the FTP client");
    connect(footerSB, &QToolButton::clicked, this, [this] { guarded([&] { footerSBClick(); }); });

    cftpBX = new QCheckBox("Use CuteFTP auto 'Anonym' parameter", this);
    cftpBX->setObjectName("cftpBX");
    cftpBX->setGeometry(8, 40, 217, 17);

    QPushButton* Button1 = addButton(this, "Button1", "OK", {216, 64, 75, 25}, [this] { Button1Click(); });
    QPushButton* Button2 =
        addButton(this, "Button2", "Cancel", {216, 92, 75, 25}, [this] { Button2Click(); });
    createLegend();
    setTabOrder(cmdBX, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, cftpBX);

    guarded([&] { FormCreate(); });
}

void TconfigFRM::createLegend() {
    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 64, 201, 76);
    struct Entry {
        const char* name;
        const char* text;
        QPoint at;
    };
    const Entry legend[] = {
        {"Label2", "%d = Description", {8, 8}}, {"Label3", "%a = Address", {8, 24}},
        {"Label4", "%p = Port", {96, 8}},       {"Label7", "%c = Script", {96, 24}},
        {"Label5", "%u = User Name", {8, 40}},  {"Label8", "%i = Login Directory", {96, 40}},
        {"Label6", "%s = Password", {8, 56}},
    };
    for (const Entry& entry : legend) {
        auto* label = new QLabel(entry.text, Panel1);
        label->setObjectName(entry.name);
        label->move(entry.at);
        label->adjustSize();
    }
}

void TconfigFRM::FormCreate() {
    cmdBX->setText(pathToQString(session_.settings.ClientCommand));
    cftpBX->setChecked(session_.settings.UseAnonymParam);
}

void TconfigFRM::FormShow() {
    placement_(*this);
    cmdBX->setFocus();
}

void TconfigFRM::footerSBClick() {
    const auto chosen = OpenDialog1.run();
    if (!chosen)
        return;
    // The command is a command line of the system, so the path joins it with its own bytes.
    cmdBX->setText(pathToQString(appendClientPath(pathFromQString(cmdBX->text()), *chosen)));
}

void TconfigFRM::Button1Click() {
    const std::string trimmed =
        confirmClientSettings(session_.settings, pathFromQString(cmdBX->text()), cftpBX->isChecked());
    cmdBX->setText(pathToQString(trimmed));
    closeByButton(Accepted);
}

void TconfigFRM::Button2Click() {
    closeByButton(Rejected);
}

} // namespace portolan
