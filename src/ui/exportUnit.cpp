#include "ui/exportUnit.h"

#include "commands/ExportText.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/Glyphs.h"
#include "ui/widgets/Guard.h"
#include "ui/widgets/QtText.h"
#include "ui/widgets/SpeedButton.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace portolan {

namespace {

// Places a label at its layout position, widened when the caption needs more room in the font at
// hand, so it is never clipped.
void placeLabel(QLabel& label, const QRect& place) {
    label.setGeometry(place);
    label.resize(std::max(place.width(), label.sizeHint().width()), place.height());
}

} // namespace

TexportFRM::TexportFRM(QWidget* parent, Session& session, UserInterface& ui, DialogPlacement placement)
    : ButtonOnlyDialog(parent, "exportFRM", "Export", QSize(329, 172)), session_(session), ui_(ui),
      placement_(std::move(placement)),
      OpenDialog1(this, "OpenDialog1", QString(), "ASCII text files (*.txt)", "txt", FileRole::OpenExisting),
      SaveDialog1(this, "SaveDialog1", "Export sites to an ASCII file", "ASCII Export (*.txt)", "txt",
                  FileRole::Save) {
    setModal(false);
    headerTX = addFileRow("Label1", "Header:", {11, 12, 38, 13}, "headerTX", 8, "headerSB",
                          "Select a header text file", "Browse for a header file");
    footerTX = addFileRow("Label2", "Footer:", {16, 40, 33, 13}, "footerTX", 36, "footerSB",
                          "Select a footer text file", "Browse for a footer file");
    QPushButton* Button1 = addButton(this, "Button1", "Export", {248, 6, 75, 25}, [this] { Button1Click(); });
    QPushButton* Button2 =
        addButton(this, "Button2", "Cancel", {248, 34, 75, 25}, [this] { Button2Click(); });
    createColumnSetup();
    setTabOrder(headerTX, footerTX);
    setTabOrder(footerTX, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, columnLists_[0]);
    for (std::size_t i = 1; i < columnLists_.size(); ++i)
        setTabOrder(columnLists_[i - 1], columnLists_[i]);
    guarded([&] { FormCreate(); });
}

QLineEdit* TexportFRM::addFileRow(const QString& labelName, const QString& label, const QRect& labelPlace,
                                  const QString& boxName, int top, const QString& buttonName,
                                  const QString& browseTitle, const QString& browseName) {
    auto* caption = new QLabel(label, this);
    caption->setObjectName(labelName);
    placeLabel(*caption, labelPlace);
    auto* box = new QLineEdit(this);
    box->setObjectName(boxName);
    box->setGeometry(56, top, 161, 21);
    caption->setBuddy(box);
    auto* button = new SpeedButton(buttonName, glyphIcon(Glyph::Browse), QString(), this, QSize(21, 21));
    button->setAccessibleName(browseName);
    button->move(217, top);
    connect(button, &QToolButton::clicked, this,
            [this, box, browseTitle] { guarded([&] { browse(*box, browseTitle); }); });
    return box;
}

void TexportFRM::createColumnSetup() {
    auto* GBox1 = new QGroupBox("Column Setup", this);
    GBox1->setObjectName("GBox1");
    GBox1->setGeometry(7, 69, 235, 97);
    const std::pair<const char*, QPoint> numbers[] = {
        {"1", {8, 24}}, {"2", {8, 48}}, {"3", {8, 72}}, {"4", {120, 24}}, {"5", {120, 48}}, {"6", {120, 72}},
    };
    std::array<QLabel*, 6> numberLabels{};
    int labelNumber = 4;
    for (std::size_t i = 0; i < numberLabels.size(); ++i) {
        numberLabels[i] = new QLabel(numbers[i].first, GBox1);
        numberLabels[i]->setObjectName(QString("Label%1").arg(labelNumber++));
        placeLabel(*numberLabels[i], {numbers[i].second, QSize(6, 13)});
    }
    // ColBX1 stands beside "2" and ColBX2 beside "1": the lists are written in their own order.
    const QPoint places[] = {{16, 44}, {16, 20}, {16, 68}, {128, 20}, {128, 44}, {128, 68}};
    const std::size_t besideLabel[] = {1, 0, 2, 3, 4, 5};
    for (std::size_t i = 0; i < columnLists_.size(); ++i) {
        auto* list = new QComboBox(GBox1);
        list->setObjectName(QString("ColBX%1").arg(i + 1));
        list->setEditable(false);
        for (const std::string_view name : ExportColumnNames)
            list->addItem(toQString(name));
        list->setGeometry(places[i].x(), places[i].y(), 97, 21);
        numberLabels[besideLabel[i]]->setBuddy(list);
        columnLists_[i] = list;
    }
}

void TexportFRM::FormCreate() {
    for (std::size_t i = 0; i < columnLists_.size(); ++i)
        columnLists_[i]->setCurrentIndex(static_cast<int>(i + 1));
}

void TexportFRM::FormShow() {
    placement_(*this);
    headerTX->setFocus();
}

void TexportFRM::browse(QLineEdit& box, const QString& title) {
    OpenDialog1.setTitle(title);
    if (const auto chosen = OpenDialog1.run())
        box.setText(pathToQString(*chosen));
}

std::optional<std::string> TexportFRM::runSaveDialog() {
    return SaveDialog1.run();
}

void TexportFRM::Button1Click() {
    ExportRequest request;
    request.headerText = pathFromQString(headerTX->text());
    request.footerText = pathFromQString(footerTX->text());
    for (std::size_t i = 0; i < columnLists_.size(); ++i)
        request.columns[i] = fromQString(columnLists_[i]->currentText());
    exportSites(session_, ui_, request);
}

void TexportFRM::Button2Click() {
    closeByButton(Rejected);
}

} // namespace portolan
