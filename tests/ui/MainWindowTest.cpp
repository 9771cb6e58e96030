#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/WindowDriving.h"
#include "unit/support/TempFolder.h"

#include "book/SettingsFile.h"
#include "book/SiteFile.h"
#include "ui/widgets/QtText.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScreen>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <climits>
#include <fstream>

using namespace portolan;
using namespace portolan::test;

namespace {

const std::vector<SiteFields> threeSites = {
    {"Mirror", "ftp.example.com", "21", "", "", "/pub", "", true},
    {"archive", "files.example.org", "", "", "", "", "", true},
    {"Archive", "ftp.example.net", "2121", "me", "secret", "/incoming", "get", false},
};

// Chooses a file in the next file dialog by typing its name, as a person does.
std::shared_ptr<bool> chooseFile(const std::string& path) {
    return whenModal([path](QWidget* dialog) { typeFileName(dialog, path); });
}

void selectRow(QListWidget* list, int row) {
    const QRect place = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

// Marks the book changed, as storing a site from the add/edit dialog does.
void changeBook(MainWindowFixture& fixture) {
    fixture.session.BookModified = true;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensUntitledAtTheDesignSize();
    void opensAtTheStoredBoundsMadeUsable_data();
    void opensAtTheStoredBoundsMadeUsable();
    void createsTheFourHiddenDialogsOnTop();
    void menuItemsHaveTheirCaptionsShortcutsAndStates_data();
    void menuItemsHaveTheirCaptionsShortcutsAndStates();
    void speedButtonsHaveTheirPlacesHintsAndStates_data();
    void speedButtonsHaveTheirPlacesHintsAndStates();
    void startupFileIsOpenedAndListedInOrder();
    void missingStartupFileLeavesTheBookUntitled();
    void sessionRestartsTheProgramOnItsBookWithoutQtOptions();
    void selectionByMouseAndArrowKeysShowsTheSite();
    void timerWritesTheSiteCount();
    void openThroughMenuAndButtonReadsTheChosenFile_data();
    void openThroughMenuAndButtonReadsTheChosenFile();
    void failedOpenListsThePreviousBookAgain();
    void newAsksWhenChangedAndCancelKeepsTheBook();
    void newThroughTheButtonEmptiesTheBook();
    void saveOfAnUntitledBookAsksForANameAndAboutAnExistingFile();
    void saveThroughTheButtonWritesATitledBookAtOnce();
    void saveAsWritesUnderTheNewName();
    void aNameInAnyScriptIsSavedUnderItsOwnLetters();
    void booksInFoldersOfAnyScriptOpenSaveAndShowTheirPaths_data();
    void booksInFoldersOfAnyScriptOpenSaveAndShowTheirPaths();
    void closeQuestionNoKeepsRunningAndWritesTheSettings();
    void exitWithoutChangesClosesAndStoresTheBounds();
    void questionMarkAndDeleteNeedASelection();
    void doubleClickLaunchesTheClient();
    void placeDialogPullsBackAtTheScreenEdges_data();
    void placeDialogPullsBackAtTheScreenEdges();
    void placeDialogLeavesLeftAndTopUncorrected();
    void navigationKeysSelectTheEntryTheyLandOn_data();
    void navigationKeysSelectTheEntryTheyLandOn();
    void noEntryIsCurrentWhileNoneIsSelected();
    void keyOfADisabledMenuItemDoesNotReachTheList();
    void menuBarAndStatusBarKeepTheSystemColours();
    void statusBarIs19PixelsInsideTheWindow();
    void saveOffersAnEmptyName();
    void everyControlHasAnAccessibleName();
    void anEntryGivesBackEveryByteOfItsDescription();
};

void MainWindowTest::opensUntitledAtTheDesignSize() {
    MainWindowFixture fixture;
    fixture.start();
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - untitled"));
    QCOMPARE(fixture.window->frameGeometry().size(), QSize(270, 217));
    QCOMPARE(fixture.statusPanel(0)->text(), QStringLiteral("0"));
    QCOMPARE(fixture.statusPanel(0)->width(), 30);
    QVERIFY(fixture.statusPanel(0)->alignment().testFlag(Qt::AlignRight));
    QCOMPARE(fixture.statusPanel(1)->text(), QString());
    QVERIFY(fixture.siteBox()->isSortingEnabled());
    QCOMPARE(fixture.siteBox()->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(fixture.siteBox()->hasFocus());
    QCOMPARE(fixture.window->findChild<QWidget*>("Panel1")->height(), 41);
}

void MainWindowTest::opensAtTheStoredBoundsMadeUsable_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QRect>("expected");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // clang-format off
    QTest::newRow("bounds that fit") << 140 << 90 << 333 << 288 << QRect(140, 90, 333, 288);
    QTest::newRow("the largest size") << 140 << 90 << INT_MAX << INT_MAX << screen;
    QTest::newRow("negative size") << 140 << 90 << -5 << -7 << QRect(140, 90, 270, 217);
    QTest::newRow("far off to the left and top") << -5000 << -4000 << 333 << 288
                                                 << QRect(screen.topLeft(), QSize(333, 288));
    QTest::newRow("off to the right") << screen.right() + 500 << 90 << 333 << 288
                                      << QRect(screen.right() + 1 - 333, 90, 333, 288);
    // clang-format on
}

// Stored bounds that fit are used exactly; others, from another screen setup or any program, give a
// window that lies on the screen.
void MainWindowTest::opensAtTheStoredBoundsMadeUsable() {
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QRect, expected);
    MainWindowFixture fixture;
    Settings stored;
    stored.Left = left;
    stored.Top = top;
    stored.Width = width;
    stored.Height = height;
    writeSettingsFile(fixture.places.folder, stored);
    fixture.start();
    QCOMPARE(fixture.window->frameGeometry(), expected);
}

void MainWindowTest::createsTheFourHiddenDialogsOnTop() {
    MainWindowFixture fixture;
    fixture.start();
    for (const char* name : {"aboutFRM", "addFRM", "exportFRM", "configFRM"}) {
        auto* dialog = fixture.window->findChild<QWidget*>(name);
        QVERIFY2(dialog, name);
        QVERIFY2(!dialog->isVisible(), name);
    }
    // Created in this order: about box, add/edit dialog, export dialog, configuration dialog.
    QStringList order;
    for (QObject* child : fixture.window->children())
        if (child->objectName().endsWith("FRM"))
            order << child->objectName();
    QCOMPARE(order, QStringList({"aboutFRM", "addFRM", "exportFRM", "configFRM"}));
}

void MainWindowTest::menuItemsHaveTheirCaptionsShortcutsAndStates_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char* menu, const char* name, const char* caption, QKeySequence key, bool on) {
        // clang-format off
        QTest::newRow(name) << menu << name << caption << key << on;
        // clang-format on
    };
    row("File1", "New1", "&New", {}, true);
    row("File1", "Open1", "&Open", {}, true);
    row("File1", "Save1", "&Save", {}, true);
    row("File1", "SaveAs1", "Save &As", {}, true);
    row("File1", "Exit1", "&Exit", {}, true);
    row("Edit1", "Insert1", "&Insert", QKeySequence(Qt::Key_Insert), true);
    row("Edit1", "DeletePD", "&Delete", QKeySequence(Qt::Key_Delete), false);
    row("Edit1", "getInfoPD", "&Get Information", {}, false);
    row("Tools1", "PurgeOld1", "&Purge Old", {}, true);
    row("Tools1", "ExportASCIIlist1", "&Export to ASCII", {}, true);
    row("Tools1", "Options1", "&Configure FTP Client", {}, true);
    row("Help1", "HelpTopics1", "&Help Topics", QKeySequence(Qt::Key_F1), true);
    row("Help1", "About1", "&About", {}, true);
}

void MainWindowTest::menuItemsHaveTheirCaptionsShortcutsAndStates() {
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    MainWindowFixture fixture;
    fixture.start();
    auto* owner = fixture.window->findChild<QMenu*>(menu);
    QVERIFY(owner);
    QAction* item = fixture.action(qPrintable(name));
    QVERIFY(item);
    QVERIFY(owner->actions().contains(item));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    QCOMPARE(item->isEnabled(), enabled);
}

void MainWindowTest::speedButtonsHaveTheirPlacesHintsAndStates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    // clang-format off
    QTest::newRow("NewSB") << "NewSB" << 8 << "New" << true;
    QTest::newRow("OpenSB") << "OpenSB" << 33 << "Open" << true;
    QTest::newRow("SaveSB") << "SaveSB" << 58 << "Save" << true;
    QTest::newRow("InsertSB") << "InsertSB" << 90 << "Insert" << true;
    QTest::newRow("DeleteSB") << "DeleteSB" << 115 << "Delete" << false;
    QTest::newRow("editSB") << "editSB" << 147 << "Edit Site" << false;
    QTest::newRow("getInfoSB") << "getInfoSB" << 172 << "Get Information" << false;
    QTest::newRow("SpeedButton4") << "SpeedButton4" << 205 << "Help" << true;
    // clang-format on
}

void MainWindowTest::speedButtonsHaveTheirPlacesHintsAndStates() {
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    MainWindowFixture fixture;
    fixture.start();
    QToolButton* button = fixture.button(qPrintable(name));
    QVERIFY(button);
    QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("Panel1"));
    QCOMPARE(button->geometry(), QRect(left, 8, 25, 25));
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QCOMPARE(button->isEnabled(), enabled);
}

void MainWindowTest::startupFileIsOpenedAndListedInOrder() {
    MainWindowFixture fixture;
    writeBook(fixture.path("my book.ptn"), threeSites);
    fixture.start(fixture.path("my book.ptn"));
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - my book.ptn"));
    // Case-insensitive order; the two that differ only in case stay two entries in a fixed order.
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Archive", "archive", "Mirror"}));
    QCOMPARE(fixture.session.SiteFileName, fixture.path("my book.ptn"));
    QVERIFY(!fixture.session.BookModified);
}

void MainWindowTest::missingStartupFileLeavesTheBookUntitled() {
    MainWindowFixture fixture;
    auto shown = recordMessage("OK");
    fixture.start(fixture.path("gone.ptn"));
    QTRY_VERIFY(shown->opened);
    QCOMPARE(shown->text, QStringLiteral("File was not found.  Possibly incorrect file name or open file."));
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - untitled"));
    QCOMPARE(fixture.siteBox()->count(), 0);
}

// A relative name from the command line is made whole, as the session starts the program elsewhere; an
// untitled book gives the program alone. No "-session", which would be taken for a site file.
void MainWindowTest::sessionRestartsTheProgramOnItsBookWithoutQtOptions() {
    MainWindowFixture fixture;
    writeBook(fixture.path("my book.ptn"), threeSites);
    const auto restore = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
    QDir::setCurrent(fixture.folder.path());
    fixture.start("my book.ptn");
    const QString program = QCoreApplication::applicationFilePath();
    QCOMPARE(fixture.window->restartCommand(),
             QStringList({program, fixture.folder.filePath("my book.ptn")}));
    fixture.trigger("New1");
    QCOMPARE(fixture.window->restartCommand(), QStringList({program}));
}

void MainWindowTest::selectionByMouseAndArrowKeysShowsTheSite() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();

    selectRow(list, 2); // Mirror
    QCOMPARE(fixture.statusPanel(1)->text(), QStringLiteral("ftp.example.com 21 /pub"));
    QCOMPARE(fixture.session.book.CurrentSite.Description.text(), std::string("Mirror"));
    for (const char* name : {"DeleteSB", "editSB", "getInfoSB"})
        QVERIFY2(fixture.button(name)->isEnabled(), name);
    QVERIFY(fixture.action("DeletePD")->isEnabled());
    QVERIFY(fixture.action("getInfoPD")->isEnabled());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up); // archive: empty port and login directory
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(fixture.statusPanel(1)->text(), QStringLiteral("files.example.org  "));
    QTest::keyClick(list, Qt::Key_Up); // Archive, its own slot though the texts differ only in case
    QCOMPARE(fixture.statusPanel(1)->text(), QStringLiteral("ftp.example.net 2121 /incoming"));
    QCOMPARE(fixture.session.book.CurrentSite.Script.text(), std::string("get"));

    // The selection stays until another entry is chosen.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>({list->item(0)})); // the empty part
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>({list->item(0)})); // Ctrl+click on it
    QVERIFY(fixture.button("editSB")->isEnabled());
}

void MainWindowTest::timerWritesTheSiteCount() {
    MainWindowFixture fixture;
    fixture.start();
    fixture.session.book.SiteCount = 7;
    QCOMPARE(fixture.statusPanel(0)->text(), QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.statusPanel(0)->text(), QStringLiteral("7"), 1500);
}

void MainWindowTest::openThroughMenuAndButtonReadsTheChosenFile_data() {
    QTest::addColumn<bool>("byButton");
    // clang-format off
    QTest::newRow("menu item") << false;
    QTest::newRow("tool button") << true;
    // clang-format on
}

void MainWindowTest::openThroughMenuAndButtonReadsTheChosenFile() {
    QFETCH(bool, byButton);
    MainWindowFixture fixture;
    writeBook(fixture.path("sites.ptn"), threeSites);
    fixture.start();
    selectRow(fixture.siteBox(), 0);                 // nothing listed yet: selects nothing
    auto chosen = chooseFile(fixture.path("sites")); // typed without its extension
    if (byButton)
        QTest::mouseClick(fixture.button("OpenSB"), Qt::LeftButton);
    else
        fixture.trigger("Open1");
    QVERIFY(*chosen);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - sites.ptn"));
    QCOMPARE(fixture.siteBox()->count(), 3);
    QCOMPARE(fixture.session.SiteFileName, fixture.path("sites.ptn"));
    QVERIFY(!fixture.action("getInfoPD")->isEnabled());
}

void MainWindowTest::failedOpenListsThePreviousBookAgain() {
    MainWindowFixture fixture;
    writeBook(fixture.path("good.ptn"), threeSites);
    {
        std::ofstream shortFile(fixture.path("short.ptn"), std::ios::binary);
        shortFile << std::string(1000, '\1');
    }
    fixture.start(fixture.path("good.ptn"));
    std::shared_ptr<ShownMessage> error;
    auto chosen = whenModal([&](QWidget* dialog) {
        typeFileName(dialog, fixture.path("short.ptn"));
        error = recordMessage("OK"); // the read error that follows the choice
    });
    fixture.trigger("Open1");
    QVERIFY(error);
    QCOMPARE(error->text, "An error occured upon read of " +
                              QString::fromStdString(fixture.path("short.ptn")) +
                              ".  Either file is corrupted or of another, incorrect type.");
    QVERIFY(*chosen);
    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Archive", "archive", "Mirror"}));
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - good.ptn"));
    QCOMPARE(fixture.session.book.SiteCount, 3);
}

void MainWindowTest::newAsksWhenChangedAndCancelKeepsTheBook() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    selectRow(fixture.siteBox(), 0);
    changeBook(fixture);
    auto question = recordMessage("Cancel");
    fixture.trigger("New1");
    QCOMPARE(question->text,
             QStringLiteral("Are you sure you want to open a site file and loose any unsaved work?"));
    QCOMPARE(fixture.siteBox()->count(), 3);
    QCOMPARE(fixture.statusPanel(0)->text(), QStringLiteral("0"));
    QCOMPARE(fixture.statusPanel(1)->text(), QString());
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - book.ptn"));
}

void MainWindowTest::newThroughTheButtonEmptiesTheBook() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    selectRow(fixture.siteBox(), 0);
    QTest::mouseClick(fixture.button("NewSB"), Qt::LeftButton); // unchanged: no question
    QCOMPARE(fixture.siteBox()->count(), 0);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - untitled"));
    QCOMPARE(fixture.session.book.SiteCount, 0);
    QVERIFY(!fixture.action("DeletePD")->isEnabled());
    QVERIFY(!fixture.button("getInfoSB")->isEnabled());
    QVERIFY(fixture.button("DeleteSB")->isEnabled()); // keeps the state the selection gave it
    QVERIFY(fixture.button("editSB")->isEnabled());
}

void MainWindowTest::saveOfAnUntitledBookAsksForANameAndAboutAnExistingFile() {
    MainWindowFixture fixture;
    writeBook(fixture.path("source.ptn"), threeSites);
    fixture.start(fixture.path("source.ptn"));
    fixture.trigger("New1");
    writeBook(fixture.path("existing.ptn"), {threeSites[0]});
    const std::string before = fileBytes(fixture.path("existing.ptn"));

    auto chosen = whenModal([&](QWidget* dialog) {
        typeFileName(dialog, fixture.path("existing.ptn"));
        recordMessage("Cancel"); // the overwrite question that follows the choice
    });
    fixture.trigger("Save1");
    QVERIFY(*chosen);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - existing.ptn"));
    QCOMPARE(fileBytes(fixture.path("existing.ptn")), before);

    fixture.trigger("Save1"); // titled now: writes at once
    const std::string written = fileBytes(fixture.path("existing.ptn"));
    QCOMPARE(written.size(), SiteFileSize);
    QVERIFY(written != before);
}

void MainWindowTest::saveThroughTheButtonWritesATitledBookAtOnce() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    const std::string original = fileBytes(fixture.path("book.ptn"));
    fixture.start(fixture.path("book.ptn"));
    std::remove(fixture.path("book.ptn").c_str());
    QTest::mouseClick(fixture.button("SaveSB"), Qt::LeftButton);
    QCOMPARE(fileBytes(fixture.path("book.ptn")), original);
}

void MainWindowTest::saveAsWritesUnderTheNewName() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    const std::string original = fileBytes(fixture.path("book.ptn"));
    fixture.start(fixture.path("book.ptn"));
    auto chosen = chooseFile(fixture.path("copy"));
    fixture.trigger("SaveAs1");
    QVERIFY(*chosen);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - copy.ptn"));
    QCOMPARE(fileBytes(fixture.path("copy.ptn")), original);

    std::remove(fixture.path("copy.ptn").c_str());
    QString offeredName, offeredFolder;
    auto cancelled = whenModal([&](QWidget* dialog) {
        offeredName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        offeredFolder = qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
        pressKey(dialog, Qt::Key_Escape);
    });
    fixture.trigger("SaveAs1"); // cancelled: nothing is written
    QVERIFY(*cancelled);
    QCOMPARE(offeredName, QStringLiteral("copy.ptn")); // the last choice, in its own folder
    QCOMPARE(offeredFolder, QDir(fixture.folder.path()).absolutePath());
    QVERIFY(!QFileInfo::exists(QString::fromStdString(fixture.path("copy.ptn"))));
}

// A name with letters that Windows-1252 lacks is the system's own name: the file dialog takes it, the
// book is written under it and the title shows it.
void MainWindowTest::aNameInAnyScriptIsSavedUnderItsOwnLetters() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    const std::string original = fileBytes(fixture.path("book.ptn"));
    fixture.start(fixture.path("book.ptn"));
    auto chosen = chooseFile(fixture.path(QString::fromUtf8("сайты"))); // typed without its extension
    fixture.trigger("SaveAs1");
    QVERIFY(*chosen);
    QCOMPARE(fixture.window->windowTitle(), QString::fromUtf8("Portolan - сайты.ptn"));
    QCOMPARE(fixture.session.SiteFileName, fixture.path(QString::fromUtf8("сайты.ptn")));
    QCOMPARE(fileBytes(fixture.path(QString::fromUtf8("сайты.ptn"))), original);
}

void MainWindowTest::booksInFoldersOfAnyScriptOpenSaveAndShowTheirPaths_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    // clang-format off
    QTest::newRow("Cyrillic") << QString::fromUtf8("Документы") << QString::fromUtf8("сайты.ptn");
    QTest::newRow("CJK") << QString::fromUtf8("文書") << QString::fromUtf8("サイト.ptn");
    // clang-format on
}

// The path reaches the system as its own bytes, and every text that shows it shows its letters.
void MainWindowTest::booksInFoldersOfAnyScriptOpenSaveAndShowTheirPaths() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    MainWindowFixture fixture;
    QVERIFY(QDir(fixture.folder.path()).mkdir(folder));
    const std::string book = fixture.path(folder + "/" + name);
    writeBook(book, threeSites);
    fixture.start(book);
    QCOMPARE(fixture.window->windowTitle(), "Portolan - " + name);
    QCOMPARE(fixture.siteBox()->count(), 3);

    changeBook(fixture);
    QTest::mouseClick(fixture.button("SaveSB"), Qt::LeftButton);
    QCOMPARE(fileBytes(book).size(), SiteFileSize);
    QVERIFY(!fixture.session.BookModified);

    changeBook(fixture);
    auto question = recordMessage("No");
    fixture.trigger("Exit1");
    QCOMPARE(question->text, name + " has been changed since the last time it was saved.  "
                                    "Are you sure you want to exit and loose all changes?");

    // A book that is too short: the read error names the whole path.
    const std::string shortBook = fixture.path(folder + "/" + QString::fromUtf8("короткий.ptn"));
    testing::writeBytes(shortBook, std::string(10, '\1'));
    std::shared_ptr<ShownMessage> error;
    auto chosen = whenModal([&](QWidget* dialog) {
        typeFileName(dialog, shortBook);
        error = recordMessage("OK");
    });
    fixture.session.BookModified = false;
    fixture.trigger("Open1");
    QVERIFY(*chosen);
    QVERIFY(error);
    QCOMPARE(error->text, "An error occured upon read of " + pathToQString(shortBook) +
                              ".  Either file is corrupted or of another, incorrect type.");
}

void MainWindowTest::closeQuestionNoKeepsRunningAndWritesTheSettings() {
    MainWindowFixture fixture;
    fixture.start();
    changeBook(fixture);
    auto question = recordMessage("No");
    fixture.trigger("Exit1");
    QCOMPARE(question->text, QStringLiteral(" has been changed since the last time it was saved.  "
                                            "Are you sure you want to exit and loose all changes?"));
    QVERIFY(fixture.window->isVisible());
    Settings stored;
    QVERIFY(readSettingsFile(fixture.places.folder, stored));
    QCOMPARE(stored.Width, 270);
    QCOMPARE(stored.Height, 217);
}

void MainWindowTest::exitWithoutChangesClosesAndStoresTheBounds() {
    MainWindowFixture fixture;
    fixture.start();
    fixture.window->move(50, 60);
    QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), QPoint(50, 60));
    QVERIFY(fixture.window->close());
    QVERIFY(!fixture.window->isVisible());
    Settings stored;
    QVERIFY(readSettingsFile(fixture.places.folder, stored));
    QCOMPARE(QRect(stored.Left, stored.Top, stored.Width, stored.Height), QRect(50, 60, 270, 217));
}

void MainWindowTest::questionMarkAndDeleteNeedASelection() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();
    auto unexpected = whenModal([](QWidget* dialog) { closeByCloseBox(dialog); }, 200);
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClicks(list, "?");
    QTest::qWait(300);
    QVERIFY(!*unexpected);
    QCOMPARE(list->count(), 3);

    selectRow(list, 2);
    auto information = recordMessage("OK");
    QTest::keyClicks(list, "?");
    QVERIFY(information->text.startsWith("Description: Mirror\nAddress: ftp.example.com\nPort: 21\n"));
}

void MainWindowTest::doubleClickLaunchesTheClient() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    fixture.session.settings.ClientCommand = "client %a";
    QListWidget* list = fixture.siteBox();
    const QPoint at = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(fixture.launcher.commandLines, std::vector<std::string>({"client ftp.example.com"}));
}

void MainWindowTest::placeDialogPullsBackAtTheScreenEdges_data() {
    QTest::addColumn<QPoint>("mainAt");
    QTest::addColumn<bool>("pulledLeft");
    QTest::addColumn<bool>("pulledUp");
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // clang-format off
    QTest::newRow("inside") << QPoint(100, 80) << false << false;
    QTest::newRow("right edge") << QPoint(screen.width() - 150, 80) << true << false;
    QTest::newRow("bottom edge") << QPoint(100, screen.height() - 50) << false << true;
    QTest::newRow("bottom right corner") << QPoint(screen.width() - 30, screen.height() - 30) << true << true;
    // clang-format on
}

void MainWindowTest::placeDialogPullsBackAtTheScreenEdges() {
    QFETCH(QPoint, mainAt);
    QFETCH(bool, pulledLeft);
    QFETCH(bool, pulledUp);
    MainWindowFixture fixture;
    fixture.start();
    fixture.window->move(mainAt);
    QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), mainAt);
    QDialog dialog(fixture.window.get());
    dialog.setFixedSize(200, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    fixture.window->placeDialog(dialog);
    const QRect placed = dialog.frameGeometry();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    if (pulledLeft)
        QCOMPARE(placed.left() + placed.width(), screen.width());
    else
        QCOMPARE(placed.left(), mainAt.x() + 20);
    if (pulledUp)
        QCOMPARE(placed.top() + placed.height(), screen.height());
    else
        QCOMPARE(placed.top(), mainAt.y() + 22);
}

// A main window pushed off the left and top gives a dialog that starts off the screen too.
void MainWindowTest::placeDialogLeavesLeftAndTopUncorrected() {
    MainWindowFixture fixture;
    fixture.start();
    fixture.window->move(-100, -60);
    QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), QPoint(-100, -60));
    QDialog dialog(fixture.window.get());
    dialog.setFixedSize(200, 100);
    fixture.window->placeDialog(dialog);
    QVERIFY(dialog.pos().x() < 0);
    QVERIFY(dialog.pos().y() < 0);
}

void MainWindowTest::navigationKeysSelectTheEntryTheyLandOn_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row");
    const QList<int> down{Qt::Key_Down}, up{Qt::Key_Up}, home{Qt::Key_Home}, end{Qt::Key_End};
    // clang-format off
    QTest::newRow("Down, nothing selected")  << down                                << 0;
    QTest::newRow("Home, nothing selected")  << home                                << 0;
    QTest::newRow("Up, nothing selected")    << up                                  << 2;
    QTest::newRow("End, nothing selected")   << end                                 << 2;
    QTest::newRow("End on the last")         << QList<int>{Qt::Key_End, Qt::Key_End}   << 2;
    QTest::newRow("Down on the last")        << QList<int>{Qt::Key_End, Qt::Key_Down}  << 2;
    QTest::newRow("Home on the first")       << QList<int>{Qt::Key_Home, Qt::Key_Home} << 0;
    QTest::newRow("Up on the first")         << QList<int>{Qt::Key_Down, Qt::Key_Up}   << 0;
    QTest::newRow("Page Down from the first") << QList<int>{Qt::Key_Home, Qt::Key_PageDown} << 2;
    QTest::newRow("Up from the last")        << QList<int>{Qt::Key_End, Qt::Key_Up}    << 1;
    // clang-format on
}

// The last key finds the status panel empty: it must show the entry's site again, as a click does.
void MainWindowTest::navigationKeysSelectTheEntryTheyLandOn() {
    QFETCH(QList<int>, keys);
    QFETCH(int, row);
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();
    QVERIFY(list->hasFocus());
    for (int press = 0; press < keys.size(); ++press) {
        if (press == keys.size() - 1)
            fixture.window->setStatusText(1, "");
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(keys[press]));
    }
    const QStringList panels = {"ftp.example.net 2121 /incoming", "files.example.org  ",
                                "ftp.example.com 21 /pub"};
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>({list->item(row)}));
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(fixture.statusPanel(1)->text(), panels[row]);
    QVERIFY(fixture.action("DeletePD")->isEnabled());
}

// The current entry carries the focus frame, which would make an entry look chosen.
void MainWindowTest::noEntryIsCurrentWhileNoneIsSelected() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();
    QVERIFY(list->hasFocus());
    QCOMPARE(list->currentItem(), nullptr); // at start-up
    selectRow(list, 1);
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>());
    QCOMPARE(list->currentItem(), nullptr); // after a delete
    fixture.button("NewSB")->setFocus();
    list->setFocus();
    QCOMPARE(list->currentItem(), nullptr); // when the list gets the focus again
}

namespace {

// Counts the presses of one key that reach a widget.
class KeyCounter final : public QObject {
public:
    KeyCounter(QWidget* widget, int key) : key_(key) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == key_)
            ++count;
        return false;
    }
    int count = 0;

private:
    int key_;
};

} // namespace

void MainWindowTest::keyOfADisabledMenuItemDoesNotReachTheList() {
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), threeSites);
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();
    // Filters run last installed first: the window's own goes on again after the counter, so the
    // counter sees only the keys that get through to the list.
    list->removeEventFilter(fixture.window.get());
    const KeyCounter deletes(list, Qt::Key_Delete);
    list->installEventFilter(fixture.window.get());
    QVERIFY(!fixture.action("DeletePD")->isEnabled());
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(deletes.count, 0);
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Delete); // enabled now: the menu item takes it and deletes
    QCOMPARE(deletes.count, 0);
    QCOMPARE(itemTexts(list), QStringList({"archive", "Mirror"}));
}

// The form's colour lies under the tool bar and the list only.
void MainWindowTest::menuBarAndStatusBarKeepTheSystemColours() {
    MainWindowFixture fixture;
    fixture.start();
    const QColor system = QApplication::palette().color(QPalette::Window);
    QVERIFY(system != QColor(213, 203, 149));
    QCOMPARE(fixture.window->menuBar()->palette().color(QPalette::Window), system);
    QCOMPARE(fixture.window->statusBar()->palette().color(QPalette::Window), system);
    QCOMPARE(fixture.window->centralWidget()->palette().color(QPalette::Window), QColor(213, 203, 149));
}

void MainWindowTest::statusBarIs19PixelsInsideTheWindow() {
    MainWindowFixture fixture;
    fixture.start();
    QStatusBar* bar = fixture.window->statusBar();
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(bar->height(), 19);
    QCOMPARE(bar->geometry().bottom(), fixture.window->rect().bottom());
    QCOMPARE(bar->width(), fixture.window->width());
    auto* grip = bar->findChild<QSizeGrip*>();
    QVERIFY(grip && grip->isVisible());
    QCOMPARE(grip->geometry().bottomRight(), bar->rect().bottomRight());
    for (int panel = 0; panel < 2; ++panel)
        QVERIFY2(bar->rect().contains(fixture.statusPanel(panel)->geometry()),
                 qPrintable(QString::number(panel)));
    QCOMPARE(fixture.statusPanel(0)->x(), 0);
    // Panel 1 reaches the bar's right end, with the grip drawn over its corner.
    QCOMPARE(fixture.statusPanel(1)->geometry().right(), bar->rect().right());
    QVERIFY(fixture.statusPanel(1)->geometry().contains(grip->geometry()));
    QVERIFY(bar->children().indexOf(grip) > bar->children().indexOf(fixture.statusPanel(1)));
    fixture.window->resize(400, 300);
    QTRY_COMPARE(fixture.statusPanel(1)->geometry().right(), bar->rect().right());
    QCOMPARE(bar->height(), 19);
}

void MainWindowTest::saveOffersAnEmptyName() {
    MainWindowFixture fixture;
    fixture.start();
    auto chosen = chooseFile(fixture.path("first.ptn"));
    fixture.trigger("SaveAs1");
    QVERIFY(*chosen);
    fixture.trigger("New1");
    QString offered = "not shown";
    auto cancelled = whenModal([&](QWidget* dialog) {
        offered = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        pressKey(dialog, Qt::Key_Escape);
    });
    fixture.trigger("Save1");
    QVERIFY(*cancelled);
    QCOMPARE(offered, QString());
}

// A screen reader names a control by its accessible name, else its caption or its label (the buddy);
// a tool tip is only a description, and the objectName is not read.
void MainWindowTest::everyControlHasAnAccessibleName() {
    MainWindowFixture fixture;
    fixture.start();
    QList<QWidget*> controls;
    for (QWidget* widget : fixture.window->findChildren<QWidget*>()) {
        const bool takesInput =
            widget->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(widget);
        if (takesInput && !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_") &&
            !widget->window()->inherits("QFileDialog"))
            controls << widget;
    }
    QMap<QString, QString> names;
    for (QWidget* control : controls) {
        const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(control->window()->objectName() + "/" + control->objectName()));
        names[control->window()->objectName() + "/" + control->objectName()] = name;
    }
    QVERIFY(controls.size() >= 30);
    QCOMPARE(names["mainFRM/getInfoSB"], QStringLiteral("Get Information"));
    QCOMPARE(names["mainFRM/SpeedButton4"], QStringLiteral("Help"));
    QCOMPARE(names["exportFRM/headerSB"], QStringLiteral("Browse for a header file"));
    QCOMPARE(names["exportFRM/footerSB"], QStringLiteral("Browse for a footer file"));
    QCOMPARE(names["configFRM/footerSB"], QStringLiteral("Browse for the FTP client"));
    QCOMPARE(names["addFRM/dirBX"], QStringLiteral("Login Directory"));
    QCOMPARE(names["exportFRM/footerTX"], QStringLiteral("Footer:"));
    QCOMPARE(names["configFRM/cmdBX"], QStringLiteral("Command Line:"));

    QString promptName;
    auto prompted = whenModal([&](QWidget* prompt) {
        promptName = QAccessible::queryAccessibleInterface(prompt->findChild<QLineEdit*>("Edit"))
                         ->text(QAccessible::Name);
        clickButton(prompt, "Cancel");
    });
    fixture.trigger("PurgeOld1");
    QVERIFY(*prompted);
    QCOMPARE(promptName, QStringLiteral("Specify cut-off date:"));
}

void MainWindowTest::anEntryGivesBackEveryByteOfItsDescription() {
    // All 128 upper bytes, the five that Windows-1252 leaves undefined among them, in a description of
    // the full 128 characters: the entry finds its slot by these bytes.
    std::string description;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        description.push_back(static_cast<char>(byte));
    MainWindowFixture fixture;
    writeBook(fixture.path("book.ptn"), {{description, "ftp.example.com", "21", "", "", "/pub", "", true}});
    fixture.start(fixture.path("book.ptn"));
    QListWidget* list = fixture.siteBox();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(fixture.statusPanel(1)->text(), QStringLiteral("ftp.example.com 21 /pub"));
    QCOMPARE(fixture.session.book.CurrentSite.Description.text(), description);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
