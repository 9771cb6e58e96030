#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/WindowDriving.h"

#include "ui/platform/Application.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <limits>

using namespace portolan;
using namespace portolan::test;

Q_DECLARE_METATYPE(portolan::SiteFields)

namespace {

SiteFields named(const char* description) {
    return {description, "ftp.example.com", "21", "", "", "/", "", true};
}

// Six sites of different ages, with the day the clock stands on (2026-12-07) in the middle; the last
// one's stamp is not a number, as in a damaged file.
const std::vector<SiteFields> agedSites = {named("Old"),      named("Yesterday"), named("Today"),
                                           named("Tomorrow"), named("Far"),       named("Broken")};
const std::vector<DayNumber> agedStamps = {
    *EncodeDayNumber(1996, 7, 4),  *EncodeDayNumber(2026, 12, 6),  *EncodeDayNumber(2026, 12, 7),
    *EncodeDayNumber(2026, 12, 8), *EncodeDayNumber(2096, 12, 31), std::numeric_limits<double>::quiet_NaN()};
const QStringList allAged = {"Broken", "Far", "Old", "Today", "Tomorrow", "Yesterday"};

void startOnAgedBook(MainWindowFixture& fixture) {
    writeBook(fixture.path("aged.ptn"), agedSites, agedStamps);
    fixture.start(fixture.path("aged.ptn"));
}

std::function<void()> purgeByMenu(MainWindowFixture& fixture) {
    return [&fixture] { fixture.trigger("PurgeOld1"); };
}

QLineEdit* answerBox(QDialog& prompt) {
    return prompt.findChild<QLineEdit*>("Edit");
}

// Runs Purge Old and answers its prompt with the given text and OK.
bool purgeWith(MainWindowFixture& fixture, const QString& answer) {
    return inModalDialog(purgeByMenu(fixture), "Cancel", [&](QDialog& prompt) {
        QTest::keyClick(answerBox(prompt), Qt::Key_Backspace); // the whole proposal is selected
        QTest::keyClicks(answerBox(prompt), answer);
        clickButton(&prompt, "OK");
    });
}

bool tableEquals(const SiteSlots& a, const SiteSlots& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SiteSlots)) == 0;
}

// The table as it was, with Active 0 in every slot whose description is not among the kept ones.
SiteSlots keepingOnly(SiteSlots table, const QStringList& kept) {
    for (SiteRecord& record : table)
        if (!kept.contains(toQString(record.Description.text())))
            record.Active = 0;
    return table;
}

// Checks that nothing Purge Old may change has changed.
void checkBookUntouched(const MainWindowFixture& fixture, const SiteSlots& before) {
    QVERIFY(tableEquals(fixture.session.book.SiteTable, before));
    QCOMPARE(fixture.session.book.SiteCount, 6);
    QCOMPARE(itemTexts(fixture.siteBox()), allAged);
}

std::function<void()> informationBy(MainWindowFixture& fixture, const QString& way) {
    return [&fixture, way] {
        if (way == "menu")
            fixture.trigger("getInfoPD");
        else if (way == "button")
            QTest::mouseClick(fixture.button("getInfoSB"), Qt::LeftButton);
        else
            QTest::keyClicks(fixture.siteBox(), "?");
    };
}

// Whether a modal dialog opened while act ran.
bool opensADialog(const std::function<void()>& act) {
    auto opened = whenModal([](QWidget* dialog) { closeByCloseBox(dialog); }, 200);
    act();
    QTest::qWait(300);
    return *opened;
}

} // namespace

class PurgeAndInformationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void promptProposesTodaysDate_data();
    void promptProposesTodaysDate();
    void cutOffDeactivatesExactlyTheOlderSites_data();
    void cutOffDeactivatesExactlyTheOlderSites();
    void cancelledPromptPurgesNothing_data();
    void cancelledPromptPurgesNothing();
    void invalidDateShowsTheErrorAndChangesNothing_data();
    void invalidDateShowsTheErrorAndChangesNothing();
    void purgeLeavesNoSelectionButTheControlsEnabled();
    void informationShowsTheNineLines_data();
    void informationShowsTheNineLines();
    void informationComesThroughMenuButtonAndQuestionMark_data();
    void informationComesThroughMenuButtonAndQuestionMark();
    void otherCharactersShowNoInformation();

private:
    DateSettings applicationDateSettings_;
};

void PurgeAndInformationTest::initTestCase() {
    // The title "Portolan" is the caption of the default error handler's box.
    setUpApplication(*qApp, applicationDateSettings_);
}

void PurgeAndInformationTest::promptProposesTodaysDate_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QString>("proposal");
    // clang-format off
    QTest::newRow("C locale") << "m/d/yy" << "/" << "12/7/26";
    QTest::newRow("day first, full stops") << "dd.mm.yyyy" << "." << "07.12.2026";
    QTest::newRow("delimiter written for /") << "d/m/yyyy" << "-" << "7-12-2026";
    // clang-format on
}

void PurgeAndInformationTest::promptProposesTodaysDate() {
    QFETCH(QString, pattern);
    QFETCH(QString, delimiter);
    QFETCH(QString, proposal);
    MainWindowFixture fixture;
    fixture.session.dateSettings.ShortDatePattern = fromQString(pattern);
    fixture.session.dateSettings.DateDelimiter = delimiter.at(0).toLatin1();
    fixture.start();
    QVERIFY(fixture.action("PurgeOld1")->isEnabled());
    QVERIFY(inModalDialog(purgeByMenu(fixture), "Cancel", [&](QDialog& prompt) {
        QCOMPARE(prompt.objectName(), QStringLiteral("InputForm"));
        QCOMPARE(prompt.windowTitle(), QStringLiteral("Purge Old"));
        QCOMPARE(prompt.findChild<QLabel*>("Prompt")->text(), QStringLiteral("Specify cut-off date:"));
        QCOMPARE(answerBox(prompt)->text(), proposal);
        QCOMPARE(answerBox(prompt)->selectedText(), proposal);
        QCOMPARE(answerBox(prompt)->maxLength(), 255);
    }));
}

void PurgeAndInformationTest::cutOffDeactivatesExactlyTheOlderSites_data() {
    QTest::addColumn<bool>("confirmProposal");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("kept");
    // clang-format off
    QTest::newRow("proposal (today) confirmed") << true << "" << QStringList({"Far", "Today", "Tomorrow"});
    QTest::newRow("tomorrow") << false << "12/8/2026" << QStringList({"Far", "Tomorrow"});
    QTest::newRow("far in the past") << false << "1/1/1900"
                                     << QStringList({"Far", "Old", "Today", "Tomorrow", "Yesterday"});
    QTest::newRow("two-digit year in the clock's century") << false << "12/31/96" << QStringList({"Far"});
    QTest::newRow("month and day only: this year")
        << false << "7/4" << QStringList({"Far", "Today", "Tomorrow", "Yesterday"});
    QTest::newRow("far in the future") << false << "12/31/9999" << QStringList();
    QTest::newRow("emptied answer: nothing") << false << "" << allAged;
    // clang-format on
}

void PurgeAndInformationTest::cutOffDeactivatesExactlyTheOlderSites() {
    QFETCH(bool, confirmProposal);
    QFETCH(QString, answer);
    QFETCH(QStringList, kept);
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    const SiteSlots before = fixture.session.book.SiteTable;
    const bool answered = confirmProposal ? inModalDialog(purgeByMenu(fixture), "Cancel",
                                                          [](QDialog& prompt) { clickButton(&prompt, "OK"); })
                                          : purgeWith(fixture, answer);
    QVERIFY(answered);
    QVERIFY(tableEquals(fixture.session.book.SiteTable, keepingOnly(before, kept))); // only Active bytes
    QCOMPARE(itemTexts(fixture.siteBox()), kept);
    QCOMPARE(fixture.session.book.SiteCount, kept.size());
    QVERIFY(!fixture.session.BookModified);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - aged.ptn"));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.statusPanel(0)->text(), QString::number(kept.size()), 1500);
}

// Leaving the prompt without OK leaves the command without purging.
void PurgeAndInformationTest::cancelledPromptPurgesNothing_data() {
    QTest::addColumn<QString>("way");
    // clang-format off
    QTest::newRow("Cancel button") << "Cancel";
    QTest::newRow("Escape key") << "Escape";
    QTest::newRow("close box") << "close box";
    // clang-format on
}

void PurgeAndInformationTest::cancelledPromptPurgesNothing() {
    QFETCH(QString, way);
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    const SiteSlots before = fixture.session.book.SiteTable;
    bool closed = false;
    QVERIFY(inModalDialog(purgeByMenu(fixture), "Cancel", [&](QDialog& prompt) {
        if (way == "Cancel")
            clickButton(&prompt, "Cancel");
        else if (way == "Escape")
            pressKey(&prompt, Qt::Key_Escape);
        else
            closeByCloseBox(&prompt);
        closed = !prompt.isVisible();
    }));
    QVERIFY(closed);
    checkBookUntouched(fixture, before);
}

void PurgeAndInformationTest::invalidDateShowsTheErrorAndChangesNothing_data() {
    QTest::addColumn<QString>("answer");
    // clang-format off
    QTest::newRow("letters") << "xyz";
    QTest::newRow("trailing delimiter") << "7/4/";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("no such day") << "2/30/26";
    QTest::newRow("no such month") << "13/1/26";
    // clang-format on
}

void PurgeAndInformationTest::invalidDateShowsTheErrorAndChangesNothing() {
    QFETCH(QString, answer);
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    const SiteSlots before = fixture.session.book.SiteTable;
    std::shared_ptr<ShownMessage> error;
    QVERIFY(inModalDialog(purgeByMenu(fixture), "Cancel", [&](QDialog& prompt) {
        QTest::keyClick(answerBox(prompt), Qt::Key_Backspace);
        QTest::keyClicks(answerBox(prompt), answer);
        error = recordErrorBox(); // shown once the prompt has closed
        clickButton(&prompt, "OK");
    }));
    QVERIFY(error);
    QTRY_VERIFY(error->opened);
    QCOMPARE(error->caption, QStringLiteral("Portolan"));
    QCOMPARE(error->text, "'" + answer + "' is not a valid date.");
    QCOMPARE(error->buttons, QStringList({"OK"}));
    checkBookUntouched(fixture, before);
}

// The purge empties and refills the list: the selection is gone, but the controls that follow it are
// left as they were, and then find no selected site to act on.
void PurgeAndInformationTest::purgeLeavesNoSelectionButTheControlsEnabled() {
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    selectSite(fixture.siteBox(), "Today");
    const QString statusText = fixture.statusPanel(1)->text();
    QVERIFY(purgeWith(fixture, "12/7/26"));
    QVERIFY(fixture.siteBox()->selectedItems().isEmpty());
    for (const char* name : {"DeleteSB", "editSB", "getInfoSB"})
        QVERIFY2(fixture.button(name)->isEnabled(), name);
    QVERIFY(fixture.action("DeletePD")->isEnabled());
    QVERIFY(fixture.action("getInfoPD")->isEnabled());
    QCOMPARE(fixture.statusPanel(1)->text(), statusText);
    QCOMPARE(toQString(fixture.session.book.CurrentSite.Description.text()), QStringLiteral("Today"));

    QVERIFY(!opensADialog([&] { QTest::mouseClick(fixture.button("getInfoSB"), Qt::LeftButton); }));
    QVERIFY(!opensADialog([&] { QTest::mouseClick(fixture.button("editSB"), Qt::LeftButton); }));
    QTest::mouseClick(fixture.button("DeleteSB"), Qt::LeftButton);
    QCOMPARE(fixture.session.book.SiteCount, 3);
    QVERIFY(!fixture.session.BookModified);
}

void PurgeAndInformationTest::informationShowsTheNineLines_data() {
    QTest::addColumn<SiteFields>("site");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("lines");
    // clang-format off
    QTest::newRow("every field, not anonymous")
        << SiteFields{"Archive", "ftp.example.net", "2121", "me", "secret", "/incoming", "get", false}
        << "m/d/yy"
        << "Description: Archive\nAddress: ftp.example.net\nPort: 2121\nAnonymous Login: No\nUser: me\n"
           "Password: secret\nLogin Dir: /incoming\nScript: get\nDate: 7/4/96";
    QTest::newRow("empty fields keep their labels' blank")
        << SiteFields{"Mirror", "", "", "", "", "", "", false} << "m/d/yy"
        << "Description: Mirror\nAddress: \nPort: \nAnonymous Login: No\nUser: \nPassword: \nLogin Dir: \n"
           "Script: \nDate: 7/4/96";
    QTest::newRow("anonymous, still with user and password")
        << SiteFields{"Guest", "ftp.example.org", "21", "anonymous", "me@example.org", "/pub", "", true}
        << "m/d/yy"
        << "Description: Guest\nAddress: ftp.example.org\nPort: 21\nAnonymous Login: Yes\nUser: anonymous\n"
           "Password: me@example.org\nLogin Dir: /pub\nScript: \nDate: 7/4/96";
    // clang-format on
    const std::string d(128, 'd'), a(30, 'a'), p(5, '9'), u(20, 'u'), w(20, 'w'), l(128, 'l'), s(128, 's');
    // clang-format off
    QTest::newRow("full fields whole")
        << SiteFields{d, a, p, u, w, l, s, false} << "m/d/yy"
        << QString::fromStdString("Description: " + d + "\nAddress: " + a + "\nPort: " + p +
                                  "\nAnonymous Login: No\nUser: " + u + "\nPassword: " + w +
                                  "\nLogin Dir: " + l + "\nScript: " + s + "\nDate: 7/4/96");
    QTest::newRow("date in the locale's pattern")
        << SiteFields{"Mirror", "", "", "", "", "", "", false} << "dd.mm.yyyy"
        << "Description: Mirror\nAddress: \nPort: \nAnonymous Login: No\nUser: \nPassword: \nLogin Dir: \n"
           "Script: \nDate: 04.07.1996";
    // clang-format on
}

void PurgeAndInformationTest::informationShowsTheNineLines() {
    QFETCH(SiteFields, site);
    QFETCH(QString, pattern);
    QFETCH(QString, lines);
    MainWindowFixture fixture;
    fixture.session.dateSettings.ShortDatePattern = fromQString(pattern);
    writeBook(fixture.path("book.ptn"), {named("First"), site}, {0, *EncodeDayNumber(1996, 7, 4)});
    fixture.start(fixture.path("book.ptn"));
    selectSite(fixture.siteBox(), toQString(site.Description));
    auto shown = recordMessage("OK");
    fixture.trigger("getInfoPD");
    QVERIFY(shown->opened);
    QCOMPARE(shown->caption, QStringLiteral("Information"));
    QCOMPARE(shown->buttons, QStringList({"OK"}));
    QCOMPARE(shown->text, lines);
}

void PurgeAndInformationTest::informationComesThroughMenuButtonAndQuestionMark_data() {
    QTest::addColumn<QString>("way");
    // clang-format off
    QTest::newRow("menu item") << "menu";
    QTest::newRow("tool button") << "button";
    QTest::newRow("? key in the list") << "key";
    // clang-format on
}

void PurgeAndInformationTest::informationComesThroughMenuButtonAndQuestionMark() {
    QFETCH(QString, way);
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    selectSite(fixture.siteBox(), "Yesterday");
    const SiteSlots before = fixture.session.book.SiteTable;
    auto shown = recordMessage("OK");
    informationBy(fixture, way)();
    QVERIFY(shown->opened);
    QCOMPARE(shown->text, QStringLiteral("Description: Yesterday\nAddress: ftp.example.com\nPort: 21\n"
                                         "Anonymous Login: Yes\nUser: \nPassword: \nLogin Dir: /\nScript: \n"
                                         "Date: 12/6/26"));
    // It only reads.
    QVERIFY(tableEquals(fixture.session.book.SiteTable, before));
    QCOMPARE(itemTexts(fixture.siteBox()), allAged);
    QCOMPARE(fixture.siteBox()->selectedItems().constFirst()->text(), QStringLiteral("Yesterday"));
    QVERIFY(!fixture.session.BookModified);
}

void PurgeAndInformationTest::otherCharactersShowNoInformation() {
    MainWindowFixture fixture;
    startOnAgedBook(fixture);
    selectSite(fixture.siteBox(), "Far");
    QVERIFY(!opensADialog([&] { QTest::keyClicks(fixture.siteBox(), "i/!"); }));
}

QTEST_MAIN(PurgeAndInformationTest)
#include "PurgeAndInformationTest.moc"
