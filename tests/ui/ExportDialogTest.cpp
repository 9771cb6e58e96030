#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/WindowDriving.h"

#include "SystemFacts.h"
#include "runtime/Errors.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <fstream>
#include <functional>

using namespace portolan;
using namespace portolan::test;

namespace {

const QStringList columnNames = {"None",      "Description", "Address",        "Port",
                                 "User Name", "Password",    "Login Directory"};
const QStringList listNames = {"ColBX1", "ColBX2", "ColBX3", "ColBX4", "ColBX5", "ColBX6"};

// Sites whose slot order (Zeta first) differs from the list's alphabetical order.
const SiteFields zetaSite{"Zeta site", "zeta.example", "21", "zed", "pw", "/pub/zeta", "get", false};
const SiteFields alphaSite{"Alpha", "ftp.alpha.example", "2121", "", "", "/", "", false};

QDialog* exportDialog(const MainWindowFixture& fixture) {
    return fixture.window->findChild<QDialog*>("exportFRM");
}

// Chooses Tools > Export to ASCII and returns the export dialog.
QDialog& openExport(const MainWindowFixture& fixture) {
    fixture.trigger("ExportASCIIlist1");
    return *exportDialog(fixture);
}

QLineEdit* nameBox(QDialog& dialog, const QString& name) {
    return dialog.findChild<QLineEdit*>(name);
}
QComboBox* columnList(QDialog& dialog, const QString& name) {
    return dialog.findChild<QComboBox*>(name);
}

// A file's bytes, compared so that a difference shows.
QByteArray bytesOf(const std::string& path) {
    return QByteArray::fromStdString(fileBytes(path));
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Clicks "Export" and answers its save dialog with act.
std::shared_ptr<bool> pressExport(QDialog& dialog, std::function<void(QFileDialog&)> act) {
    auto answered = answerFileDialog(std::move(act));
    clickButton(&dialog, "Button1");
    return answered;
}

// Types the name into the save dialog; then, as it closes, has record answer what the export shows next.
template <class Record>
std::function<void(QFileDialog&)> typeThen(const std::string& path, Record record) {
    return [path, record](QFileDialog& files) {
        typeFileName(&files, path);
        record();
    };
}

} // namespace

class ExportDialogTest : public QObject {
    Q_OBJECT
private slots:
    void dialogIsModelessWithoutCloseBoxAndOfFixedSize();
    void labelsHaveTheirCaptionsAndPlacesAndAreNeverClipped_data();
    void labelsHaveTheirCaptionsAndPlacesAndAreNeverClipped();
    void controlsHaveTheirPlacesAndCaptions_data();
    void controlsHaveTheirPlacesAndCaptions();
    void listsOfferTheSevenNamesAndStartOnTheirChoices_data();
    void listsOfferTheSevenNamesAndStartOnTheirChoices();
    void listsCannotBeTypedInto();
    void tabOrderRunsThroughTheBoxesButtonsAndLists();
    void mainWindowStaysUsableAndExportTakesTheTableAsItIsThen();
    void enterEscapeAndCloseBoxDoNothing_data();
    void enterEscapeAndCloseBoxDoNothing();
    void onlyCancelHidesAndTheControlsKeepTheirContent();
    void menuWhileOpenBringsTheDialogToTheFrontWithoutMoving();
    void dialogIsPlacedBesideTheMainWindowOnEveryShowing();
    void browsePutsTheChosenFileInItsBox_data();
    void browsePutsTheChosenFileInItsBox();
    void cancelledBrowseChangesNothingAndBothBrowsesShareTheLastName();
    void saveDialogAsksForTheExportFile();
    void exportThroughTheWindowWritesTheChosenColumnsBetweenHeaderAndFooter();
    void existingTargetIsReplacedOnlyAfterYes_data();
    void existingTargetIsReplacedOnlyAfterYes();
    void missingHeaderOrFooterIsReportedAndNothingIsWritten_data();
    void missingHeaderOrFooterIsReportedAndNothingIsWritten();
    void failedExportReachesTheErrorBoxAndTheDialogStaysOpen();
};

void ExportDialogTest::dialogIsModelessWithoutCloseBoxAndOfFixedSize() {
    MainWindowFixture fixture;
    fixture.start();
    QDialog* dialog = exportDialog(fixture);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Export"));
    QCOMPARE(dialog->size(), QSize(329, 172));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
    QVERIFY(!dialog->isVisible());
    openExport(fixture);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowModality(), Qt::NonModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void ExportDialogTest::labelsHaveTheirCaptionsAndPlacesAndAreNeverClipped_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place"); // the width is the least one
    // clang-format off
    QTest::newRow("Label1") << "Label1" << "exportFRM" << "Header:" << QRect(11, 12, 38, 13);
    QTest::newRow("Label2") << "Label2" << "exportFRM" << "Footer:" << QRect(16, 40, 33, 13);
    QTest::newRow("Label4") << "Label4" << "GBox1" << "1" << QRect(8, 24, 6, 13);
    QTest::newRow("Label5") << "Label5" << "GBox1" << "2" << QRect(8, 48, 6, 13);
    QTest::newRow("Label6") << "Label6" << "GBox1" << "3" << QRect(8, 72, 6, 13);
    QTest::newRow("Label7") << "Label7" << "GBox1" << "4" << QRect(120, 24, 6, 13);
    QTest::newRow("Label8") << "Label8" << "GBox1" << "5" << QRect(120, 48, 6, 13);
    QTest::newRow("Label9") << "Label9" << "GBox1" << "6" << QRect(120, 72, 6, 13);
    // clang-format on
}

void ExportDialogTest::labelsHaveTheirCaptionsAndPlacesAndAreNeverClipped() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    MainWindowFixture fixture;
    fixture.start();
    auto* label = exportDialog(fixture)->findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->parentWidget()->objectName(), parent);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->x(), place.x());
    QCOMPARE(label->y(), place.y());
    QCOMPARE(label->height(), place.height());
    QVERIFY(label->width() >= place.width());
    QVERIFY2(label->width() >= label->sizeHint().width(),
             qPrintable(QString("the caption needs %1 pixels").arg(label->sizeHint().width())));
}

void ExportDialogTest::controlsHaveTheirPlacesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption");
    // clang-format off
    QTest::newRow("headerTX") << "headerTX" << "exportFRM" << QRect(56, 8, 161, 21) << "";
    QTest::newRow("headerSB") << "headerSB" << "exportFRM" << QRect(217, 8, 21, 21) << "";
    QTest::newRow("footerTX") << "footerTX" << "exportFRM" << QRect(56, 36, 161, 21) << "";
    QTest::newRow("footerSB") << "footerSB" << "exportFRM" << QRect(217, 36, 21, 21) << "";
    QTest::newRow("Button1") << "Button1" << "exportFRM" << QRect(248, 6, 75, 25) << "Export";
    QTest::newRow("Button2") << "Button2" << "exportFRM" << QRect(248, 34, 75, 25) << "Cancel";
    QTest::newRow("GBox1") << "GBox1" << "exportFRM" << QRect(7, 69, 235, 97) << "Column Setup";
    QTest::newRow("ColBX1") << "ColBX1" << "GBox1" << QRect(16, 44, 97, 21) << "";
    QTest::newRow("ColBX2") << "ColBX2" << "GBox1" << QRect(16, 20, 97, 21) << "";
    QTest::newRow("ColBX3") << "ColBX3" << "GBox1" << QRect(16, 68, 97, 21) << "";
    QTest::newRow("ColBX4") << "ColBX4" << "GBox1" << QRect(128, 20, 97, 21) << "";
    QTest::newRow("ColBX5") << "ColBX5" << "GBox1" << QRect(128, 44, 97, 21) << "";
    QTest::newRow("ColBX6") << "ColBX6" << "GBox1" << QRect(128, 68, 97, 21) << "";
    // clang-format on
}

void ExportDialogTest::controlsHaveTheirPlacesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    MainWindowFixture fixture;
    fixture.start();
    auto* control = exportDialog(fixture)->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), place);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QCOMPARE(edit->text(), QString());
        QVERIFY(edit->isEnabled());
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    } else if (auto* browseButton = qobject_cast<QToolButton*>(control)) {
        QCOMPARE(browseButton->text(), QString());
        QVERIFY(!browseButton->icon().isNull());
        QCOMPARE(browseButton->focusPolicy(), Qt::NoFocus);
        QVERIFY(browseButton->isEnabled());
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QCOMPARE(group->title(), caption);
    } else {
        QVERIFY(qobject_cast<QComboBox*>(control));
    }
}

void ExportDialogTest::listsOfferTheSevenNamesAndStartOnTheirChoices_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("besideLabel");
    // clang-format off
    QTest::newRow("ColBX1") << "ColBX1" << "Description" << "2";
    QTest::newRow("ColBX2") << "ColBX2" << "Address" << "1";
    QTest::newRow("ColBX3") << "ColBX3" << "Port" << "3";
    QTest::newRow("ColBX4") << "ColBX4" << "User Name" << "4";
    QTest::newRow("ColBX5") << "ColBX5" << "Password" << "5";
    QTest::newRow("ColBX6") << "ColBX6" << "Login Directory" << "6";
    // clang-format on
}

void ExportDialogTest::listsOfferTheSevenNamesAndStartOnTheirChoices() {
    QFETCH(QString, name);
    QFETCH(QString, chosen);
    QFETCH(QString, besideLabel);
    const ProgramFont programFont;
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = *exportDialog(fixture);
    QComboBox* list = columnList(dialog, name);
    QVERIFY(list);
    QStringList items;
    for (int index = 0; index < list->count(); ++index)
        items << list->itemText(index);
    QCOMPARE(items, columnNames);
    QCOMPARE(list->currentText(), chosen);
    // Every entry shows whole in the list's text field, which the style draws 1 pixel in from each side.
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.frame = list->hasFrame();
    const int field = list->style()
                          ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                          .width() -
                      2;
    for (const QString& item : items)
        QVERIFY2(list->fontMetrics().horizontalAdvance(item) <= field,
                 qPrintable(QString("%1 needs %2 of %3 pixels")
                                .arg(item)
                                .arg(list->fontMetrics().horizontalAdvance(item))
                                .arg(field)));
    // The number label stands on the list's row, just left of it.
    const QList<QLabel*> labels = dialog.findChild<QGroupBox*>("GBox1")->findChildren<QLabel*>();
    const auto beside = std::find_if(labels.begin(), labels.end(), [&](const QLabel* label) {
        return label->x() + 8 == list->x() && label->y() - 4 == list->y();
    });
    QVERIFY(beside != labels.end());
    QCOMPARE((*beside)->text(), besideLabel);
    QCOMPARE((*beside)->buddy(), list);
}

void ExportDialogTest::listsCannotBeTypedInto() {
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = openExport(fixture);
    for (const QString& name : listNames) {
        QComboBox* list = columnList(dialog, name);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->lineEdit(), nullptr);
        const QString before = list->currentText();
        list->setFocus();
        QTest::keyClicks(list, "xyz"); // no entry starts with these letters
        QCOMPARE(list->currentText(), before);
        QCOMPARE(list->count(), 7);
    }
}

void ExportDialogTest::tabOrderRunsThroughTheBoxesButtonsAndLists() {
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = openExport(fixture);
    activate(&dialog);
    QCOMPARE(dialog.focusWidget(), nameBox(dialog, "headerTX"));
    QStringList visited;
    for (int press = 0; press < 10; ++press) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        visited << dialog.focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"footerTX", "Button1", "Button2", "ColBX1", "ColBX2", "ColBX3", "ColBX4",
                                   "ColBX5", "ColBX6", "headerTX"}));
}

// With the dialog open, a site is deleted in the main window; the export then leaves it out.
void ExportDialogTest::mainWindowStaysUsableAndExportTakesTheTableAsItIsThen() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {zetaSite, alphaSite});
    fixture.start(fixture.path("book.ptn"));
    QDialog& dialog = openExport(fixture);
    QVERIFY(dialog.isVisible());
    QVERIFY(fixture.window->isEnabled());
    selectSite(fixture.siteBox(), "Zeta site");
    QTest::mouseClick(fixture.button("DeleteSB"), Qt::LeftButton);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha"}));
    for (const QString& name : listNames)
        columnList(dialog, name)->setCurrentIndex(0);
    columnList(dialog, "ColBX1")->setCurrentText("Description");
    QVERIFY(
        *pressExport(dialog, [&](QFileDialog& files) { typeFileName(&files, fixture.path("sites.txt")); }));
    // The deleted site's 9 characters still count for the width.
    QCOMPARE(bytesOf(fixture.path("sites.txt")), QByteArray("Alpha     \r\n"));
    QVERIFY(dialog.isVisible());
}

void ExportDialogTest::enterEscapeAndCloseBoxDoNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key"); // 0: the close box
    // clang-format off
    QTest::newRow("Return in the header box") << "headerTX" << int(Qt::Key_Return);
    QTest::newRow("Enter in the footer box") << "footerTX" << int(Qt::Key_Enter);
    QTest::newRow("Escape in the header box") << "headerTX" << int(Qt::Key_Escape);
    QTest::newRow("Return on Export") << "Button1" << int(Qt::Key_Return);
    QTest::newRow("Enter on Export") << "Button1" << int(Qt::Key_Enter);
    QTest::newRow("Return on Cancel") << "Button2" << int(Qt::Key_Return);
    QTest::newRow("Escape on Cancel") << "Button2" << int(Qt::Key_Escape);
    QTest::newRow("Escape in a list") << "ColBX3" << int(Qt::Key_Escape);
    QTest::newRow("Return in a list") << "ColBX3" << int(Qt::Key_Return);
    QTest::newRow("close box") << "headerTX" << 0;
    // clang-format on
}

void ExportDialogTest::enterEscapeAndCloseBoxDoNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = openExport(fixture);
    activate(&dialog);
    QTest::keyClicks(nameBox(dialog, "headerTX"), "head");
    // An export would open the save dialog; it is closed at once and noted.
    constexpr int watchMs = 200;
    auto exportStarted = whenModal([](QWidget* modal) { modal->close(); }, watchMs);
    dialog.findChild<QWidget*>(focus)->setFocus();
    if (key)
        pressKey(&dialog, key);
    else
        closeByCloseBox(&dialog);
    QTest::qWait(watchMs + 50); // the watch has ended before the next test
    QVERIFY(dialog.isVisible());
    QVERIFY(!*exportStarted);
    QCOMPARE(nameBox(dialog, "headerTX")->text(), QStringLiteral("head"));
}

void ExportDialogTest::onlyCancelHidesAndTheControlsKeepTheirContent() {
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = openExport(fixture);
    QTest::keyClicks(nameBox(dialog, "headerTX"), "top.txt");
    QTest::keyClicks(nameBox(dialog, "footerTX"), "end.txt");
    QTest::keyClick(columnList(dialog, "ColBX4"), Qt::Key_Home);
    clickButton(&dialog, "Button2");
    QVERIFY(!dialog.isVisible());
    QVERIFY(fixture.window->isVisible());
    QCOMPARE(&openExport(fixture), &dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(nameBox(dialog, "headerTX")->text(), QStringLiteral("top.txt"));
    QCOMPARE(nameBox(dialog, "footerTX")->text(), QStringLiteral("end.txt"));
    QCOMPARE(columnList(dialog, "ColBX4")->currentText(), QStringLiteral("None"));
    QCOMPARE(columnList(dialog, "ColBX5")->currentText(), QStringLiteral("Password"));
}

// Nothing runs as on a new showing: the dialog keeps its place and its focus, and becomes active.
void ExportDialogTest::menuWhileOpenBringsTheDialogToTheFrontWithoutMoving() {
    MainWindowFixture fixture;
    fixture.start();
    QDialog& dialog = openExport(fixture);
    const QPoint movedTo = fixture.window->frameGeometry().topLeft() + QPoint(140, 90);
    dialog.move(movedTo);
    QTRY_COMPARE(dialog.frameGeometry().topLeft(), movedTo);
    nameBox(dialog, "footerTX")->setFocus();
    activate(fixture.window.get());
    openExport(fixture);
    QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    QCOMPARE(dialog.frameGeometry().topLeft(), movedTo);
    QCOMPARE(dialog.focusWidget(), nameBox(dialog, "footerTX"));
}

void ExportDialogTest::dialogIsPlacedBesideTheMainWindowOnEveryShowing() {
    MainWindowFixture fixture;
    fixture.start();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // Not off the left or top: the offscreen platform pushes such windows back onto the screen.
    const QPoint places[] = {{100, 80}, {300, 200}, {screen.width() - 100, 80}, {100, screen.height() - 60}};
    for (const QPoint mainAt : places) {
        fixture.window->move(mainAt);
        QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), mainAt);
        QDialog& dialog = openExport(fixture);
        const QRect outer = dialog.frameGeometry();
        const QPoint expected(std::min(mainAt.x() + 20, screen.width() - outer.width()),
                              std::min(mainAt.y() + 22, screen.height() - outer.height()));
        QTRY_COMPARE(dialog.frameGeometry().topLeft(), expected);
        QCOMPARE(dialog.focusWidget(), nameBox(dialog, "headerTX"));
        // Moved and left with the focus elsewhere, it is placed and focused again next time.
        dialog.move(expected + QPoint(33, 44));
        columnList(dialog, "ColBX3")->setFocus();
        clickButton(&dialog, "Button2");
        QVERIFY(!dialog.isVisible());
    }
}

void ExportDialogTest::browsePutsTheChosenFileInItsBox_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("otherBox");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("typed");
    // clang-format off
    QTest::newRow("header") << "headerSB" << "headerTX" << "footerTX" << "Select a header text file"
                            << "head.txt";
    QTest::newRow("footer") << "footerSB" << "footerTX" << "headerTX" << "Select a footer text file"
                            << "head.txt";
    QTest::newRow("typed without extension") << "headerSB" << "headerTX" << "footerTX"
                                             << "Select a header text file" << "head";
    // clang-format on
}

void ExportDialogTest::browsePutsTheChosenFileInItsBox() {
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(QString, otherBox);
    QFETCH(QString, title);
    QFETCH(QString, typed);
    MainWindowFixture fixture;
    fixture.start();
    writeFile(fixture.path("head.txt"), "top\r\n");
    QDialog& dialog = openExport(fixture);
    nameBox(dialog, box)->setText("earlier.txt");
    nameBox(dialog, otherBox)->setText("other.txt");
    QString shownTitle, filter;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    auto answered = browse(dialog, qPrintable(button), [&](QFileDialog& files) {
        shownTitle = files.windowTitle();
        filter = files.nameFilters().join(";;");
        mode = files.acceptMode();
        typeFileName(&files, fixture.path(typed));
    });
    QVERIFY(*answered);
    QCOMPARE(shownTitle, title);
    QCOMPARE(filter, QStringLiteral("ASCII text files (*.txt)"));
    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(nameBox(dialog, box)->text(), pathToQString(fixture.path("head.txt")));
    QCOMPARE(nameBox(dialog, otherBox)->text(), QStringLiteral("other.txt"));
    QVERIFY(dialog.isVisible());
}

void ExportDialogTest::cancelledBrowseChangesNothingAndBothBrowsesShareTheLastName() {
    MainWindowFixture fixture;
    fixture.start();
    writeFile(fixture.path("head.txt"), "top\r\n");
    QDialog& dialog = openExport(fixture);
    QVERIFY(*browse(dialog, "headerSB",
                    [&](QFileDialog& files) { typeFileName(&files, fixture.path("head.txt")); }));
    nameBox(dialog, "footerTX")->setText("foot.txt");
    QStringList offered;
    QVERIFY(*browse(dialog, "footerSB", [&](QFileDialog& files) {
        offered = files.selectedFiles();
        pressKey(&files, Qt::Key_Escape);
    }));
    QCOMPARE(offered, QStringList({fixture.folder.filePath("head.txt")}));
    QCOMPARE(nameBox(dialog, "footerTX")->text(), QStringLiteral("foot.txt"));
    QCOMPARE(nameBox(dialog, "headerTX")->text(), pathToQString(fixture.path("head.txt")));
    QVERIFY(dialog.isVisible());
}

void ExportDialogTest::saveDialogAsksForTheExportFile() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {alphaSite});
    fixture.start(fixture.path("book.ptn"));
    QDialog& dialog = openExport(fixture);
    QString title, filter;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool confirmsOverwrite = true;
    QVERIFY(*pressExport(dialog, [&](QFileDialog& files) {
        title = files.windowTitle();
        filter = files.nameFilters().join(";;");
        mode = files.acceptMode();
        confirmsOverwrite = !files.testOption(QFileDialog::DontConfirmOverwrite);
        files.setDirectory(fixture.folder.path());
        pressKey(&files, Qt::Key_Escape);
    }));
    QCOMPARE(title, QStringLiteral("Export sites to an ASCII file"));
    QCOMPARE(filter, QStringLiteral("ASCII Export (*.txt)"));
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(!confirmsOverwrite);
    // Cancelled: nothing is written and the widths stay as they were.
    QCOMPARE(QDir(fixture.folder.path()).entryList(QDir::Files), QStringList({"book.ptn"}));
    QCOMPARE(fixture.session.ExportColumnWidths[0], 0);
    QVERIFY(dialog.isVisible());
}

// Header and footer chosen by browsing, columns changed with the keyboard, the target named without
// its extension.
void ExportDialogTest::exportThroughTheWindowWritesTheChosenColumnsBetweenHeaderAndFooter() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {zetaSite, alphaSite});
    writeFile(fixture.path("header.txt"), "Sites\r\n=====\r\n");
    writeFile(fixture.path("footer.txt"), "end");
    fixture.start(fixture.path("book.ptn"));
    QDialog& dialog = openExport(fixture);
    QVERIFY(*browse(dialog, "headerSB",
                    [&](QFileDialog& files) { typeFileName(&files, fixture.path("header.txt")); }));
    QVERIFY(*browse(dialog, "footerSB",
                    [&](QFileDialog& files) { typeFileName(&files, fixture.path("footer.txt")); }));
    QTest::keyClick(columnList(dialog, "ColBX1"), Qt::Key_Down); // Address
    QTest::keyClick(columnList(dialog, "ColBX1"), Qt::Key_Down); // Port
    QTest::keyClick(columnList(dialog, "ColBX3"), Qt::Key_Home); // None
    QTest::keyClicks(columnList(dialog, "ColBX4"), "D");         // Description
    QTest::keyClick(columnList(dialog, "ColBX5"), Qt::Key_End);  // Login Directory
    QTest::keyClick(columnList(dialog, "ColBX6"), Qt::Key_Up);   // Password
    QStringList chosen;
    for (const QString& name : listNames)
        chosen << columnList(dialog, name)->currentText();
    QCOMPARE(chosen, QStringList({"Port", "Address", "None", "Description", "Login Directory", "Password"}));

    QVERIFY(*pressExport(dialog, [&](QFileDialog& files) { typeFileName(&files, fixture.path("list")); }));
    // Widths: Port 4, Address 17, Description 9, Login Directory 9, Password 2; slot order, Zeta first.
    const QByteArray expected = "Sites\r\n"
                                "=====\r\n"
                                "21   "
                                "zeta.example      "
                                "Zeta site "
                                "/pub/zeta "
                                "pw "
                                "\r\n"
                                "2121 "
                                "ftp.alpha.example "
                                "Alpha     "
                                "/         "
                                "   "
                                "\r\n"
                                "end\r\n";
    QCOMPARE(bytesOf(fixture.path("list.txt")), expected);
    QVERIFY(!QFile::exists(fixture.folder.filePath("list")));
    QVERIFY(dialog.isVisible());
}

void ExportDialogTest::existingTargetIsReplacedOnlyAfterYes_data() {
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("replaced");
    // clang-format off
    QTest::newRow("Cancel") << "old.txt" << "old" << "Cancel"
                            << "The file  OLD.TXT  exists.\n\nOverwrite the file?" << false;
    QTest::newRow("Yes") << "Old List.txt" << "Old List.txt" << "Yes"
                         << "The file  OLD LIST.TXT  exists.\n\nOverwrite the file?" << true;
    // clang-format on
}

void ExportDialogTest::existingTargetIsReplacedOnlyAfterYes() {
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, question);
    QFETCH(bool, replaced);
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {alphaSite});
    fixture.start(fixture.path("book.ptn"));
    const std::string old = "old content\r\n";
    writeFile(fixture.path(existing), old);
    QDialog& dialog = openExport(fixture);
    for (const QString& name : listNames)
        columnList(dialog, name)->setCurrentIndex(0);
    columnList(dialog, "ColBX1")->setCurrentText("Port");
    std::shared_ptr<ShownMessage> shown;
    QVERIFY(*pressExport(dialog, typeThen(fixture.path(typed), [&] { shown = recordMessage(answer); })));
    QVERIFY(shown && shown->opened);
    QCOMPARE(shown->text, question);
    QCOMPARE(shown->buttons, QStringList({"Yes", "Cancel"}));
    QCOMPARE(bytesOf(fixture.path(existing)),
             replaced ? QByteArray("2121 \r\n") : QByteArray::fromStdString(old));
    QVERIFY(dialog.isVisible());
}

void ExportDialogTest::missingHeaderOrFooterIsReportedAndNothingIsWritten_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("header") << "headerTX" << "The specified header file could not be opened.";
    QTest::newRow("footer") << "footerTX" << "The specified footer file could not be opened.";
    // clang-format on
}

void ExportDialogTest::missingHeaderOrFooterIsReportedAndNothingIsWritten() {
    QFETCH(QString, box);
    QFETCH(QString, message);
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {alphaSite});
    fixture.start(fixture.path("book.ptn"));
    QDialog& dialog = openExport(fixture);
    QTest::keyClicks(nameBox(dialog, box), fixture.folder.filePath("missing.txt"));
    std::shared_ptr<ShownMessage> shown;
    QVERIFY(*pressExport(dialog, typeThen(fixture.path("out"), [&] { shown = recordMessage("Yes"); })));
    QVERIFY(shown && shown->opened);
    QCOMPARE(shown->text, message);
    QCOMPARE(shown->buttons, QStringList({"Yes"}));
    QCOMPARE(QDir(fixture.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"book.ptn"}));
    QVERIFY(dialog.isVisible());
}

// A target in a folder that does not exist cannot be created; the error box shows the text of the
// error that the system gives, and the dialog goes on working.
void ExportDialogTest::failedExportReachesTheErrorBoxAndTheDialogStaysOpen() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {alphaSite});
    fixture.start(fixture.path("book.ptn"));
    QDialog& dialog = openExport(fixture);
    std::shared_ptr<ShownMessage> shown;
    QVERIFY(*pressExport(dialog, [&](QFileDialog& files) {
        files.setDirectory(fixture.folder.path());
        auto* name = files.findChild<QLineEdit*>("fileNameEdit");
        name->setFocus();
        QTest::keyClicks(name, "nowhere/list");
        QTest::keyClick(name, Qt::Key_Return);
        shown = recordErrorBox();
    }));
    QVERIFY(shown && shown->opened);
    QCOMPARE(shown->text, QString::fromStdString(ioErrorText(testing::missingFolderCode)) + ".");
    QCOMPARE(shown->buttons, QStringList({"OK"}));
    QVERIFY(!QFile::exists(fixture.folder.filePath("nowhere")));
    QVERIFY(dialog.isVisible());

    QVERIFY(*pressExport(dialog, [&](QFileDialog& files) { typeFileName(&files, fixture.path("list")); }));
    QCOMPARE(bytesOf(fixture.path("list.txt")), QByteArray("Alpha "
                                                           "ftp.alpha.example "
                                                           "2121 "
                                                           " "
                                                           " "
                                                           "/ "
                                                           "\r\n"));
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(ExportDialogTest)
#include "ExportDialogTest.moc"
