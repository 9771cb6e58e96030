#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/WindowDriving.h"

#include "unit/support/RecordingMessages.h"

#include "book/SiteFile.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <functional>

using namespace portolan;
using namespace portolan::test;

namespace {

const DayNumber today = *EncodeDayNumber(2026, 12, 7);
const DayNumber july4th1996 = *EncodeDayNumber(1996, 7, 4);

const SiteFields alphaSite{"Alpha", "ftp.alpha.example", "21", "", "", "/pub", "", true};
const SiteFields betaSite{"Beta", "beta.example.org", "2121", "me", "secret", "/incoming", "get", false};
const SiteFields gammaSite{"Gamma", "gamma.example.net", "", "", "", "", "", true};

const QString descriptionMessage = "No description or valid characters specified in sitedescription.";
const QString duplicateMessage =
    "Two sites can not share the same description and one alreadyexists under the "
    "currently entered description.";
const QString maximumMessage = "A maximum number of sites have been used already.  No moremay be added";

QString text(std::string_view bytes) {
    return toQString(bytes);
}

// Sites "Site 000", "Site 001", ... up to count.
std::vector<SiteFields> numberedSites(int count) {
    std::vector<SiteFields> sites;
    for (int n = 0; n < count; ++n)
        sites.push_back({QString("Site %1").arg(n, 3, 10, QChar('0')).toStdString(), "ftp.example.com", "21",
                         "", "", "", "", true});
    return sites;
}

// Starts the program on a book holding sites (stamped as given).
void startOnBook(MainWindowFixture& fixture, const std::vector<SiteFields>& sites,
                 const std::vector<DayNumber>& stamps = {}) {
    writeBook(fixture.path("book.ptn"), sites, stamps);
    fixture.start(fixture.path("book.ptn"));
}

QLineEdit* box(QDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name);
}
QCheckBox* anonymous(QDialog& dialog) {
    return dialog.findChild<QCheckBox*>("anonCHK");
}

// Replaces a box's text by typing, as a person does.
void typeInto(QDialog& dialog, const char* name, const QString& typed) {
    QLineEdit* edit = box(dialog, name);
    QVERIFY2(edit, name);
    QVERIFY2(edit->isEnabled(), name);
    edit->setFocus();
    edit->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, typed);
}

void setAnonymous(QDialog& dialog, bool on) {
    if (anonymous(dialog)->isChecked() != on)
        QTest::mouseClick(anonymous(dialog), Qt::LeftButton);
    QCOMPARE(anonymous(dialog)->isChecked(), on);
}

// Types every field of a site into the dialog; the user name and password of an anonymous site are
// typed while the box is unchecked, then it is checked again.
void typeSite(QDialog& dialog, const SiteFields& site) {
    setAnonymous(dialog, false);
    typeInto(dialog, "descBX", text(site.Description));
    typeInto(dialog, "addrBX", text(site.Address));
    typeInto(dialog, "portBX", text(site.Port));
    typeInto(dialog, "dirBX", text(site.LoginDirectory));
    typeInto(dialog, "userBX", text(site.UserName));
    typeInto(dialog, "passBX", text(site.Password));
    typeInto(dialog, "scriptBX", text(site.Script));
    setAnonymous(dialog, site.Anonymous);
}

void checkBoxesHold(QDialog& dialog, const SiteFields& site) {
    QCOMPARE(box(dialog, "descBX")->text(), text(site.Description));
    QCOMPARE(box(dialog, "addrBX")->text(), text(site.Address));
    QCOMPARE(box(dialog, "portBX")->text(), text(site.Port));
    QCOMPARE(box(dialog, "dirBX")->text(), text(site.LoginDirectory));
    QCOMPARE(anonymous(dialog)->isChecked(), site.Anonymous);
    QCOMPARE(box(dialog, "userBX")->text(), text(site.UserName));
    QCOMPARE(box(dialog, "passBX")->text(), text(site.Password));
    QCOMPARE(box(dialog, "scriptBX")->text(), text(site.Script));
    QCOMPARE(box(dialog, "userBX")->isEnabled(), !site.Anonymous);
    QCOMPARE(box(dialog, "passBX")->isEnabled(), !site.Anonymous);
}

void checkSlotHolds(const MainWindowFixture& fixture, int slot, const SiteFields& site, DayNumber stamp) {
    const SiteRecord& record = fixture.session.book.SiteTable[slot];
    QCOMPARE(record.Active, std::uint8_t(1));
    QCOMPARE(text(record.Description.text()), text(site.Description));
    QCOMPARE(text(record.Address.text()), text(site.Address));
    QCOMPARE(text(record.Port.text()), text(site.Port));
    QCOMPARE(record.Anonymous, std::uint8_t(site.Anonymous ? 1 : 0));
    QCOMPARE(text(record.UserName.text()), text(site.UserName));
    QCOMPARE(text(record.Password.text()), text(site.Password));
    QCOMPARE(text(record.LoginDirectory.text()), text(site.LoginDirectory));
    QCOMPARE(text(record.Script.text()), text(site.Script));
    QCOMPARE(record.stamp(), stamp);
}

void checkSelectionControlsEnabled(const MainWindowFixture& fixture, bool enabled) {
    for (const char* name : {"DeleteSB", "editSB", "getInfoSB"})
        QVERIFY2(fixture.button(name)->isEnabled() == enabled, name);
    for (const char* name : {"DeletePD", "getInfoPD"})
        QVERIFY2(fixture.action(name)->isEnabled() == enabled, name);
}

// Clicks OK and answers the message it shows with OK.
std::shared_ptr<ShownMessage> pressOkExpectingMessage(QDialog& dialog) {
    auto shown = recordMessage("OK");
    clickButton(&dialog, "okBTN");
    return shown;
}

std::function<void()> insertByMenu(MainWindowFixture& fixture) {
    return [&fixture] { fixture.trigger("Insert1"); };
}

std::function<void()> editByButton(MainWindowFixture& fixture) {
    return [&fixture] { QTest::mouseClick(fixture.button("editSB"), Qt::LeftButton); };
}

bool snapshotEquals(const SiteSlots& a, const SiteSlots& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SiteSlots)) == 0;
}

} // namespace

class AddDialogTest : public QObject {
    Q_OBJECT
private slots:
    void dialogHasNoCloseBoxAndItsFixedSize();
    void labelsHaveTheirCaptionsAndPlaces_data();
    void labelsHaveTheirCaptionsAndPlaces();
    void controlsHaveTheirPlaces_data();
    void controlsHaveTheirPlaces();
    void insertShowsEmptyBoxesWithTheFocusInTheDescription();
    void tabOrderRunsFromDescriptionToCancel();
    void anonymousBoxDisablesUserAndPasswordButKeepsTheirText();
    void editShowsTheSiteThenInsertShowsEmptyBoxes();
    void dialogIsPlacedBesideTheMainWindowOnEveryShowing();
    void insertOpensThroughMenuButtonAndInsKey_data();
    void insertOpensThroughMenuButtonAndInsKey();
    void okStoresInTheLowestFreeSlotAndListsTheSite();
    void okCutsTheTextsToTheirCapacities();
    void descriptionBoxTakesAtMost128Characters();
    void descriptionWithBlanksAroundALetterIsKept();
    void failedTestKeepsTheDialogOpen_data();
    void failedTestKeepsTheDialogOpen();
    void correctedInputIsStoredAfterAFailedTest();
    void cancelKeepsEverything();
    void editKeepingItsDescriptionStoresItAgainToday();
    void editToAnotherSitesDescriptionIsRefusedAndTheSiteStays();
    void editAtTheLimitWorks();
    void enterAndEscapeDoNothing_data();
    void enterAndEscapeDoNothing();
    void closeBoxDoesNothing();
    void deleteThroughMenuButtonAndDelKey_data();
    void deleteThroughMenuButtonAndDelKey();
    void insertEditDeleteAndSaveWriteTheExpectedBytes();
};

void AddDialogTest::dialogHasNoCloseBoxAndItsFixedSize() {
    MainWindowFixture fixture;
    fixture.start();
    auto* dialog = fixture.window->findChild<QDialog*>("addFRM");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Add/Edit Site"));
    QCOMPARE(dialog->size(), QSize(321, 237));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
}

void AddDialogTest::labelsHaveTheirCaptionsAndPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("place");
    // clang-format off
    QTest::newRow("Label1") << "Label1" << "Description" << QPoint(8, 8);
    QTest::newRow("Label2") << "Label2" << "Address" << QPoint(8, 48);
    QTest::newRow("Label3") << "Label3" << "Port" << QPoint(160, 48);
    QTest::newRow("Label6") << "Label6" << "Login Directory" << QPoint(8, 88);
    QTest::newRow("Label4") << "Label4" << "User Name" << QPoint(8, 152);
    QTest::newRow("Label5") << "Label5" << "Password" << QPoint(128, 152);
    QTest::newRow("Label7") << "Label7" << "Script" << QPoint(8, 192);
    // clang-format on
}

void AddDialogTest::labelsHaveTheirCaptionsAndPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QPoint, place);
    MainWindowFixture fixture;
    fixture.start();
    auto* dialog = fixture.window->findChild<QDialog*>("addFRM");
    auto* label = dialog->findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), place);
}

void AddDialogTest::controlsHaveTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption"); // of the check box and the buttons
    // clang-format off
    QTest::newRow("descBX") << "descBX" << QRect(8, 24, 225, 21) << "";
    QTest::newRow("addrBX") << "addrBX" << QRect(8, 64, 145, 21) << "";
    QTest::newRow("portBX") << "portBX" << QRect(160, 64, 73, 21) << "";
    QTest::newRow("dirBX") << "dirBX" << QRect(8, 104, 225, 21) << "";
    QTest::newRow("anonCHK") << "anonCHK" << QRect(8, 128, 105, 17) << "Anonymous Login";
    QTest::newRow("userBX") << "userBX" << QRect(8, 168, 113, 21) << "";
    QTest::newRow("passBX") << "passBX" << QRect(128, 168, 105, 21) << "";
    QTest::newRow("scriptBX") << "scriptBX" << QRect(8, 208, 225, 21) << "";
    QTest::newRow("okBTN") << "okBTN" << QRect(240, 8, 75, 25) << "OK";
    QTest::newRow("cancelBTN") << "cancelBTN" << QRect(240, 40, 75, 25) << "Cancel";
    // clang-format on
}

void AddDialogTest::controlsHaveTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    MainWindowFixture fixture;
    fixture.start();
    auto* dialog = fixture.window->findChild<QDialog*>("addFRM");
    auto* control = dialog->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), dialog);
    if (qobject_cast<QCheckBox*>(control)) { // widened to its caption, never clipped
        QCOMPARE(control->pos(), place.topLeft());
        QCOMPARE(control->height(), place.height());
        QVERIFY(control->width() >= std::max(place.width(), control->sizeHint().width()));
    } else {
        QCOMPARE(control->geometry(), place);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QCOMPARE(edit->echoMode(), QLineEdit::Normal); // the password too shows in plain text
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        QCOMPARE(check->text(), caption);
    } else {
        auto* button = qobject_cast<QPushButton*>(control);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void AddDialogTest::insertShowsEmptyBoxesWithTheFocusInTheDescription() {
    MainWindowFixture fixture;
    fixture.start();
    const bool opened = inModalDialog(insertByMenu(fixture), "cancelBTN", [](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Insert Site"));
        QCOMPARE(dialog.focusWidget(), box(dialog, "descBX"));
        checkBoxesHold(dialog, {"", "", "", "", "", "", "", true});
        for (const char* name : {"descBX", "addrBX", "portBX", "dirBX", "scriptBX"})
            QVERIFY2(box(dialog, name)->isEnabled(), name);
    });
    QVERIFY(opened);
}

void AddDialogTest::tabOrderRunsFromDescriptionToCancel() {
    MainWindowFixture fixture;
    fixture.start();
    QStringList visited;
    const bool opened = inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        setAnonymous(dialog, false); // user name and password take the focus only while enabled
        box(dialog, "descBX")->setFocus();
        for (int press = 0; press < 10; ++press) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            visited << dialog.focusWidget()->objectName();
        }
    });
    QVERIFY(opened);
    QCOMPARE(visited, QStringList({"addrBX", "portBX", "dirBX", "anonCHK", "userBX", "passBX", "scriptBX",
                                   "okBTN", "cancelBTN", "descBX"}));
}

void AddDialogTest::anonymousBoxDisablesUserAndPasswordButKeepsTheirText() {
    MainWindowFixture fixture;
    startOnBook(fixture, {});
    const bool opened = inModalDialog(insertByMenu(fixture), "cancelBTN", [](QDialog& dialog) {
        typeInto(dialog, "descBX", "Private");
        setAnonymous(dialog, false);
        QVERIFY(box(dialog, "userBX")->isEnabled());
        QVERIFY(box(dialog, "passBX")->isEnabled());
        typeInto(dialog, "userBX", "anna");
        typeInto(dialog, "passBX", "pw");
        setAnonymous(dialog, true);
        QVERIFY(!box(dialog, "userBX")->isEnabled());
        QVERIFY(!box(dialog, "passBX")->isEnabled());
        QCOMPARE(box(dialog, "userBX")->text(), QStringLiteral("anna"));
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(opened);
    checkSlotHolds(fixture, 0, {"Private", "", "", "anna", "pw", "", "", true}, today);
}

void AddDialogTest::editShowsTheSiteThenInsertShowsEmptyBoxes() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite});
    selectSite(fixture.siteBox(), "Beta");
    bool opened = inModalDialog(editByButton(fixture), "cancelBTN", [](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Site"));
        QCOMPARE(dialog.focusWidget(), box(dialog, "descBX"));
        checkBoxesHold(dialog, betaSite);
    });
    QVERIFY(opened);
    QVERIFY(!fixture.session.EditMode);
    QCOMPARE(fixture.session.EditSlot, -1);

    // An anonymous site shows its user name and password too.
    SiteFields anonymousWithUser = alphaSite;
    anonymousWithUser.UserName = "guest";
    anonymousWithUser.Password = "mail@example.com";
    MainWindowFixture second;
    startOnBook(second, {anonymousWithUser, betaSite});
    selectSite(second.siteBox(), "Alpha");
    opened = inModalDialog(editByButton(second), "cancelBTN",
                           [&](QDialog& dialog) { checkBoxesHold(dialog, anonymousWithUser); });
    QVERIFY(opened);

    selectSite(second.siteBox(), "Beta");
    QVERIFY(inModalDialog(editByButton(second), "cancelBTN",
                          [](QDialog& dialog) { checkBoxesHold(dialog, betaSite); }));
    opened = inModalDialog(insertByMenu(second), "cancelBTN", [](QDialog& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Insert Site"));
        checkBoxesHold(dialog, {"", "", "", "", "", "", "", true});
    });
    QVERIFY(opened);
}

void AddDialogTest::dialogIsPlacedBesideTheMainWindowOnEveryShowing() {
    MainWindowFixture fixture;
    fixture.start();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    for (const QPoint mainAt : {QPoint(100, 80), QPoint(160, 40), QPoint(screen.width() - 100, 80)}) {
        fixture.window->move(mainAt);
        QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), mainAt);
        QPoint dialogAt;
        int dialogWidth = 0;
        QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
            dialogAt = dialog.frameGeometry().topLeft();
            dialogWidth = dialog.frameGeometry().width();
        }));
        const int expectedLeft = std::min(mainAt.x() + 20, screen.width() - dialogWidth);
        QCOMPARE(dialogAt, QPoint(expectedLeft, mainAt.y() + 22));
    }
}

void AddDialogTest::insertOpensThroughMenuButtonAndInsKey_data() {
    QTest::addColumn<QString>("way");
    // clang-format off
    QTest::newRow("menu item") << "menu";
    QTest::newRow("tool button") << "button";
    QTest::newRow("Ins key") << "key";
    // clang-format on
}

void AddDialogTest::insertOpensThroughMenuButtonAndInsKey() {
    QFETCH(QString, way);
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite});
    const std::function<void()> open = [&] {
        if (way == "menu")
            fixture.trigger("Insert1");
        else if (way == "button")
            QTest::mouseClick(fixture.button("InsertSB"), Qt::LeftButton);
        else
            QTest::keyClick(fixture.siteBox(), Qt::Key_Insert);
    };
    const bool opened = inModalDialog(open, "cancelBTN", [](QDialog& dialog) {
        QCOMPARE(dialog.objectName(), QStringLiteral("addFRM"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Insert Site"));
        typeSite(dialog, gammaSite);
        clickButton(&dialog, "okBTN");
    });
    QVERIFY(opened);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Gamma"}));
    checkSlotHolds(fixture, 1, gammaSite, today);
}

void AddDialogTest::okStoresInTheLowestFreeSlotAndListsTheSite() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite, gammaSite}, {july4th1996, july4th1996, july4th1996});
    selectSite(fixture.siteBox(), "Beta");
    QTest::mouseClick(fixture.button("DeleteSB"), Qt::LeftButton); // frees slot 1
    fixture.session.BookModified = false;
    const SiteFields site{"Delta", "delta.example.com", "990", "dee", "pass", "/home/dee", "put", false};
    const bool opened = inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeSite(dialog, site);
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(opened);
    checkSlotHolds(fixture, 1, site, today);
    QCOMPARE(fixture.session.book.SiteCount, 3);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Delta", "Gamma"}));
    QVERIFY(fixture.siteBox()->selectedItems().isEmpty());
    checkSelectionControlsEnabled(fixture, false);
    QVERIFY(fixture.session.BookModified);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - book.ptn"));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.statusPanel(0)->text(), QStringLiteral("3"), 1500);
}

void AddDialogTest::okCutsTheTextsToTheirCapacities() {
    MainWindowFixture fixture;
    startOnBook(fixture, {});
    const SiteFields typed{"Long",
                           std::string(35, 'a'),
                           "123456",
                           std::string(25, 'u'),
                           std::string(25, 'p'),
                           std::string(130, 'l'),
                           std::string(130, 's'),
                           false};
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeSite(dialog, typed);
        clickButton(&dialog, "okBTN");
    }));
    checkSlotHolds(fixture, 0,
                   {"Long", std::string(30, 'a'), "12345", std::string(20, 'u'), std::string(20, 'p'),
                    std::string(128, 'l'), std::string(128, 's'), false},
                   today);
}

// The record keeps 128 characters of a description; the box takes no more, so the list entry, the
// duplicate test and the stored site always agree.
void AddDialogTest::descriptionBoxTakesAtMost128Characters() {
    MainWindowFixture fixture;
    startOnBook(fixture, {});
    const QString typed = QString(127, QChar('x')) + "yz";
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", typed);
        QCOMPARE(box(dialog, "descBX")->text(), typed.left(128));
        clickButton(&dialog, "okBTN");
    }));
    QCOMPARE(text(fixture.session.book.SiteTable[0].Description.text()), typed.left(128));
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({typed.left(128)}));

    // The same 128 characters again are a duplicate.
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", typed);
        QCOMPARE(pressOkExpectingMessage(dialog)->text, duplicateMessage);
    }));
    QCOMPARE(fixture.session.book.SiteCount, 1);
}

void AddDialogTest::descriptionWithBlanksAroundALetterIsKept() {
    MainWindowFixture fixture;
    startOnBook(fixture, {});
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [](QDialog& dialog) {
        typeInto(dialog, "descBX", " x ");
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(text(fixture.session.book.SiteTable[0].Description.text()), QStringLiteral(" x "));
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({" x "}));
    selectSite(fixture.siteBox(), " x ");
    QVERIFY(fixture.button("editSB")->isEnabled());
}

void AddDialogTest::failedTestKeepsTheDialogOpen_data() {
    QTest::addColumn<int>("sites");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("empty") << 1 << "" << "Warning" << descriptionMessage;
    QTest::newRow("three blanks") << 1 << "   " << "Warning" << descriptionMessage;
    QTest::newRow("duplicate") << 1 << "Site 000" << "Error" << duplicateMessage;
    QTest::newRow("differs in case: not a duplicate, at the limit") << 200 << "site 000" << "Information"
                                                                     << maximumMessage;
    QTest::newRow("empty at the limit") << 200 << "" << "Warning" << descriptionMessage;
    QTest::newRow("duplicate at the limit") << 200 << "Site 199" << "Error" << duplicateMessage;
    QTest::newRow("new at the limit") << 200 << "Fresh" << "Information" << maximumMessage;
    // clang-format on
}

void AddDialogTest::failedTestKeepsTheDialogOpen() {
    QFETCH(int, sites);
    QFETCH(QString, description);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    MainWindowFixture fixture;
    startOnBook(fixture, numberedSites(sites));
    const SiteSlots before = fixture.session.book.SiteTable;
    const QStringList listed = itemTexts(fixture.siteBox());
    std::shared_ptr<ShownMessage> shown;
    bool stayedOpen = false;
    const bool opened = inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", description);
        typeInto(dialog, "addrBX", "typed.example.com");
        shown = pressOkExpectingMessage(dialog);
        stayedOpen = dialog.isVisible();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Insert Site"));
        QCOMPARE(box(dialog, "descBX")->text(), description);
        QCOMPARE(box(dialog, "addrBX")->text(), QStringLiteral("typed.example.com"));
    });
    QVERIFY(opened);
    QVERIFY(shown && shown->opened);
    QCOMPARE(shown->caption, caption);
    QCOMPARE(shown->text, message);
    QCOMPARE(shown->buttons, QStringList({"OK"}));
    QVERIFY(stayedOpen);
    QCOMPARE(fixture.session.book.SiteCount, sites);
    QVERIFY(snapshotEquals(fixture.session.book.SiteTable, before));
    QCOMPARE(itemTexts(fixture.siteBox()), listed);
    QVERIFY(!fixture.session.BookModified);
}

void AddDialogTest::correctedInputIsStoredAfterAFailedTest() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite});
    QStringList messages;
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", "Alpha");
        messages << pressOkExpectingMessage(dialog)->text;
        typeInto(dialog, "descBX", "  ");
        messages << pressOkExpectingMessage(dialog)->text;
        typeInto(dialog, "descBX", "Alpha 2");
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(messages, QStringList({duplicateMessage, descriptionMessage}));
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Alpha 2"}));
    QVERIFY(fixture.session.BookModified);
}

void AddDialogTest::cancelKeepsEverything() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite});
    const SiteSlots before = fixture.session.book.SiteTable;
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [](QDialog& dialog) {
        typeSite(dialog, gammaSite);
        clickButton(&dialog, "cancelBTN");
        QVERIFY(!dialog.isVisible());
    }));
    selectSite(fixture.siteBox(), "Beta");
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [](QDialog& dialog) {
        typeSite(dialog, gammaSite);
        clickButton(&dialog, "cancelBTN");
        QVERIFY(!dialog.isVisible());
    }));
    QVERIFY(snapshotEquals(fixture.session.book.SiteTable, before));
    QCOMPARE(fixture.session.book.SiteCount, 2);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Beta"}));
    QVERIFY(!fixture.session.BookModified);
    QVERIFY(!fixture.session.EditMode);
    QCOMPARE(fixture.session.EditSlot, -1);
}

void AddDialogTest::editKeepingItsDescriptionStoresItAgainToday() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite, gammaSite}, {july4th1996, july4th1996, july4th1996});
    selectSite(fixture.siteBox(), "Alpha");
    fixture.trigger("DeletePD"); // frees slot 0
    fixture.session.BookModified = false;
    selectSite(fixture.siteBox(), "Gamma");
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [](QDialog& dialog) {
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    }));
    checkSlotHolds(fixture, 0, gammaSite, today); // the lowest free slot
    QCOMPARE(fixture.session.book.SiteTable[2].Active, std::uint8_t(0));
    QCOMPARE(fixture.session.book.SiteCount, 2);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Beta", "Gamma"}));
    QVERIFY(fixture.siteBox()->selectedItems().isEmpty());
    checkSelectionControlsEnabled(fixture, false);
    QVERIFY(fixture.session.BookModified);
    QVERIFY(!fixture.session.EditMode);
    QCOMPARE(fixture.session.EditSlot, -1);
}

// The edited site is taken out only once the input has passed the tests, so a refused edit loses
// nothing, and corrected input then replaces the edited site.
void AddDialogTest::editToAnotherSitesDescriptionIsRefusedAndTheSiteStays() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite}, {july4th1996, july4th1996});
    const SiteSlots before = fixture.session.book.SiteTable;
    selectSite(fixture.siteBox(), "Beta");
    std::shared_ptr<ShownMessage> shown;
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", "Alpha");
        shown = pressOkExpectingMessage(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Site"));
    }));
    QCOMPARE(shown->text, duplicateMessage);
    QVERIFY(snapshotEquals(fixture.session.book.SiteTable, before));
    QCOMPARE(fixture.session.book.SiteCount, 2);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Beta"}));
    QVERIFY(!fixture.session.BookModified);

    selectSite(fixture.siteBox(), "Beta");
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", "Alpha");
        shown = pressOkExpectingMessage(dialog);
        typeInto(dialog, "descBX", "Beta 2");
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    }));
    SiteFields renamed = betaSite;
    renamed.Description = "Beta 2";
    checkSlotHolds(fixture, 1, renamed, today);
    QCOMPARE(fixture.session.book.SiteCount, 2);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Beta 2"}));
}

void AddDialogTest::editAtTheLimitWorks() {
    MainWindowFixture fixture;
    startOnBook(fixture, numberedSites(200));
    selectSite(fixture.siteBox(), "Site 005");
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [](QDialog& dialog) {
        typeInto(dialog, "addrBX", "moved.example.com");
        clickButton(&dialog, "okBTN");
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(text(fixture.session.book.SiteTable[5].Address.text()), QStringLiteral("moved.example.com"));
    QCOMPARE(fixture.session.book.SiteCount, 200);
    QCOMPARE(fixture.siteBox()->count(), 200);
}

void AddDialogTest::enterAndEscapeDoNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    for (const char* focus : {"descBX", "okBTN", "cancelBTN"}) {
        QTest::addRow("Return in %s", focus) << focus << int(Qt::Key_Return);
        QTest::addRow("Enter in %s", focus) << focus << int(Qt::Key_Enter);
        QTest::addRow("Escape in %s", focus) << focus << int(Qt::Key_Escape);
    }
}

void AddDialogTest::enterAndEscapeDoNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    MainWindowFixture fixture;
    startOnBook(fixture, {});
    bool stayedOpen = false;
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeInto(dialog, "descBX", "Typed");
        dialog.findChild<QWidget*>(focus)->setFocus();
        pressKey(&dialog, key);
        QTest::qWait(50);
        stayedOpen = dialog.isVisible() && QApplication::activeModalWidget() == &dialog;
        QCOMPARE(box(dialog, "descBX")->text(), QStringLiteral("Typed"));
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(fixture.session.book.SiteCount, 0);
}

void AddDialogTest::closeBoxDoesNothing() {
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite});
    bool stayedOpen = false;
    QVERIFY(inModalDialog(insertByMenu(fixture), "cancelBTN", [&](QDialog& dialog) {
        closeByCloseBox(&dialog);
        QTest::qWait(50);
        stayedOpen = dialog.isVisible();
    }));
    QVERIFY(stayedOpen);
    selectSite(fixture.siteBox(), "Alpha");
    stayedOpen = false;
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [&](QDialog& dialog) {
        dialog.close();
        stayedOpen = dialog.isVisible();
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(fixture.session.book.SiteTable[0].Active, std::uint8_t(1));
}

void AddDialogTest::deleteThroughMenuButtonAndDelKey_data() {
    QTest::addColumn<QString>("way");
    // clang-format off
    QTest::newRow("menu item") << "menu";
    QTest::newRow("tool button") << "button";
    QTest::newRow("Del key") << "key";
    // clang-format on
}

void AddDialogTest::deleteThroughMenuButtonAndDelKey() {
    QFETCH(QString, way);
    MainWindowFixture fixture;
    startOnBook(fixture, {alphaSite, betaSite, gammaSite});
    const SiteSlots before = fixture.session.book.SiteTable;
    selectSite(fixture.siteBox(), "Beta");
    auto unexpected = whenModal([](QWidget* dialog) { closeByCloseBox(dialog); }, 200);
    if (way == "menu")
        fixture.trigger("DeletePD");
    else if (way == "button")
        QTest::mouseClick(fixture.button("DeleteSB"), Qt::LeftButton);
    else
        QTest::keyClick(fixture.siteBox(), Qt::Key_Delete);
    QTest::qWait(300);
    QVERIFY(!*unexpected); // no question is asked
    QCOMPARE(fixture.session.book.SiteTable[1].Active, std::uint8_t(0));
    SiteSlots expected = before;
    expected[1].Active = 0;
    QVERIFY(snapshotEquals(fixture.session.book.SiteTable, expected)); // only the Active byte changed
    QCOMPARE(fixture.session.book.SiteCount, 2);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Alpha", "Gamma"}));
    QVERIFY(fixture.session.BookModified);
    checkSelectionControlsEnabled(fixture, false);
}

// Insert three sites, edit one, delete another, and save: the file holds exactly the records that the
// same steps leave in a table, the freed slot and the bytes behind every shortened text included.
void AddDialogTest::insertEditDeleteAndSaveWriteTheExpectedBytes() {
    MainWindowFixture fixture;
    fixture.start();
    for (const SiteFields& site : {alphaSite, betaSite, gammaSite})
        QVERIFY(inModalDialog([&] { QTest::mouseClick(fixture.button("InsertSB"), Qt::LeftButton); },
                              "cancelBTN",
                              [&](QDialog& dialog) {
                                  typeSite(dialog, site);
                                  clickButton(&dialog, "okBTN");
                              }));
    SiteFields edited = betaSite;
    edited.Address = "b.example.org";
    edited.UserName = "mo";
    edited.Anonymous = true;
    selectSite(fixture.siteBox(), "Beta");
    QVERIFY(inModalDialog(editByButton(fixture), "cancelBTN", [&](QDialog& dialog) {
        typeSite(dialog, edited);
        clickButton(&dialog, "okBTN");
    }));
    selectSite(fixture.siteBox(), "Alpha");
    QTest::mouseClick(fixture.button("DeleteSB"), Qt::LeftButton);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Beta", "Gamma"}));

    auto chosen = whenModal([&](QWidget* dialog) { typeFileName(dialog, fixture.path("round.ptn")); });
    fixture.trigger("SaveAs1");
    QVERIFY(*chosen);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - round.ptn"));
    QVERIFY(!fixture.session.BookModified);

    SiteBook expected;
    expected.storeSite(0, alphaSite, today);
    expected.storeSite(1, betaSite, today);
    expected.storeSite(2, gammaSite, today);
    expected.storeSite(1, edited, today); // the edit: slot 1 freed, then the lowest free slot again
    expected.removeSite(0);
    testing::RecordingMessages messages;
    writeSiteFile(expected, fixture.path("expected.ptn"), messages);
    QVERIFY(messages.log.empty());
    const std::string written = fileBytes(fixture.path("round.ptn"));
    QCOMPARE(written.size(), std::size_t(95676));
    QVERIFY(written == fileBytes(fixture.path("expected.ptn")));
}

QTEST_MAIN(AddDialogTest)
#include "AddDialogTest.moc"
