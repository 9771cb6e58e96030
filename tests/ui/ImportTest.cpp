#include "FileZillaPlace.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/WindowDriving.h"

#include "ui/MessageDialog.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <fstream>

using namespace portolan;
using namespace portolan::test;

namespace {

const char* const twoSites = R"(<?xml version="1.0" encoding="UTF-8"?>
<FileZilla3><Servers>
  <Server><Host>ftp.example.org</Host><Port>21</Port><Logontype>0</Logontype><Name>Mirror</Name></Server>
  <Folder>Work<Server><Host>files.example.com</Host><Port>2121</Port><Logontype>1</Logontype><User>me</User><Pass encoding="base64">c2VjcmV0</Pass><Name>Files</Name><RemoteDir>1 0 2 in</RemoteDir></Server></Folder>
</Servers></FileZilla3>
)";

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

// What the import dialog showed when it opened.
struct ShownDialog {
    QString title;
    QString folder;
    QStringList filters;
};

// What the summary showed, and the key that answered it.
struct ShownSummary {
    bool opened = false;
    QString caption;
    QString text;
    QStringList buttons;
    QStringList details;
    bool detailsBetweenTextAndButtons = false;
};

// Answers the import dialog by typing the file's name (the dialog's folder is left as it opened) and
// the summary that follows with key.
std::shared_ptr<ShownSummary> importByKeyboard(ShownDialog& shown, const QString& name, Qt::Key key) {
    auto summary = std::make_shared<ShownSummary>();
    whenModal([&shown, name, key, summary](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog, "the import did not open a file dialog");
        shown = {dialog->windowTitle(), QDir(dialog->directory()).absolutePath(), dialog->nameFilters()};
        activate(dialog);
        auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
        nameBox->setFocus();
        typeText(nameBox, name);
        whenModal([summary, key](QWidget* box) {
            summary->opened = true;
            summary->caption = box->windowTitle();
            summary->text = box->findChild<QLabel*>("Message")->text();
            QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
            std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
            for (const QPushButton* button : buttons)
                summary->buttons << button->objectName();
            if (auto* details = box->findChild<QListWidget*>("Details")) {
                summary->details = itemTexts(details);
                summary->detailsBetweenTextAndButtons =
                    details->isVisible() &&
                    details->geometry().top() >= box->findChild<QLabel*>("Message")->geometry().bottom() &&
                    details->geometry().bottom() < buttons.constFirst()->geometry().top();
            }
            activate(box);
            pressKey(box, key);
        });
        QTest::keyClick(nameBox, Qt::Key_Return);
    });
    return summary;
}

} // namespace

class ImportTest : public QObject {
    Q_OBJECT
private slots:
    void importFollowsSaveAsInTheFileMenuOnly();
    void theDialogStartsInFileZillasFolderElseInTheBooksFolder();
    void enterAnswersYesAndTheListShowsTheSites();
    void escapeAndTheCloseBoxChangeNothing();
    void otherMessagesHaveNoDetails();
};

void ImportTest::importFollowsSaveAsInTheFileMenuOnly() {
    MainWindowFixture fixture;
    fixture.start();
    auto* file = fixture.window->findChild<QMenu*>("File1");
    QStringList names;
    for (const QAction* item : file->actions())
        names << item->objectName();
    QCOMPARE(names, QStringList({"New1", "Open1", "Save1", "SaveAs1", "Import1", "N1", "Exit1"}));
    QAction* import = fixture.action("Import1");
    QCOMPARE(import->text(), QStringLiteral("&Import..."));
    QVERIFY(import->shortcut().isEmpty());
    QVERIFY(import->isEnabled());
    for (const QToolButton* button : fixture.window->findChildren<QToolButton*>())
        QVERIFY2(!button->toolTip().contains("Import"), qPrintable(button->objectName()));
}

void ImportTest::theDialogStartsInFileZillasFolderElseInTheBooksFolder() {
    const QString fileZillaFolder = QStringLiteral("config/") + fileZillaPlace.folder;
    for (const bool fileZilla : {true, false}) {
        MainWindowFixture fixture;
        QVERIFY(QDir(fixture.folder.path()).mkpath(fileZillaFolder));
        QVERIFY(QDir(fixture.folder.path()).mkpath("books"));
        fixture.places.environment[fileZillaPlace.variable] =
            fixture.path(fileZilla ? "config" : "elsewhere");
        writeBook(fixture.path("books/mine.ptn"), {});
        fixture.start(fixture.path("books/mine.ptn"));
        ShownDialog shown;
        auto opened = answerFileDialog([&](QFileDialog& dialog) {
            shown = {dialog.windowTitle(), QDir(dialog.directory()).absolutePath(), dialog.nameFilters()};
            activate(&dialog);
            pressKey(&dialog, Qt::Key_Escape);
        });
        fixture.trigger("Import1");
        QVERIFY(*opened);
        QCOMPARE(shown.title, QStringLiteral("Import sites"));
        QCOMPARE(shown.folder,
                 QDir(fixture.folder.filePath(fileZilla ? fileZillaFolder : "books")).absolutePath());
        QCOMPARE(shown.filters,
                 QStringList({"All site lists (sitemanager.xml *.xml WinSCP.ini *.ini *.csv *.ptn)",
                              "FileZilla site manager (sitemanager.xml *.xml)",
                              "WinSCP configuration (WinSCP.ini *.ini)", "CSV (*.csv)",
                              "Portolan site files (*.ptn)", "All files (*)"}));
    }
}

void ImportTest::enterAnswersYesAndTheListShowsTheSites() {
    MainWindowFixture fixture;
    const QString fileZillaFolder = QStringLiteral("config/") + fileZillaPlace.folder;
    QVERIFY(QDir(fixture.folder.path()).mkpath(fileZillaFolder));
    fixture.places.environment[fileZillaPlace.variable] = fixture.path("config");
    writeFile(fixture.path(fileZillaFolder + "/sitemanager.xml"), twoSites);
    writeBook(fixture.path("mine.ptn"), {{"Mirror", "old.example.org", "21", "", "", "", "", true}});
    fixture.start(fixture.path("mine.ptn"));

    ShownDialog shown;
    auto summary = importByKeyboard(shown, "sitemanager.xml", Qt::Key_Return);
    fixture.trigger("Import1");
    QVERIFY(summary->opened);
    QCOMPARE(shown.folder, QDir(fixture.folder.filePath(fileZillaFolder)).absolutePath());
    QCOMPARE(summary->caption, QStringLiteral("Confirm"));
    QCOMPARE(summary->text,
             QStringLiteral("sitemanager.xml holds 2 sites: 1 will be added, 1 has the description "
                            "of a site already in the book. Replace the site that is already in "
                            "the book?"));
    QCOMPARE(summary->buttons, QStringList({"Yes", "No", "Cancel"}));
    QCOMPARE(summary->details,
             QStringList({"Mirror: already in the book (Yes replaces the book's site, No keeps it)",
                          "Files: added"}));
    QVERIFY(summary->detailsBetweenTextAndButtons);

    QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Files", "Mirror"}));
    QCOMPARE(fixture.session.book.SiteTable[0].Address.text(), "ftp.example.org"); // the book's site replaced
    QCOMPARE(fixture.session.book.SiteTable[1].LoginDirectory.text(), "/in");
    QVERIFY(fixture.session.BookModified);
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Portolan - mine.ptn"));
    QTRY_COMPARE(fixture.statusPanel(0)->text(), QStringLiteral("2"));
}

void ImportTest::escapeAndTheCloseBoxChangeNothing() {
    for (const bool closeBox : {false, true}) {
        MainWindowFixture fixture;
        writeFile(fixture.path("sites.xml"), twoSites);
        writeBook(fixture.path("mine.ptn"), {{"Mirror", "old.example.org", "21", "", "", "", "", true}});
        fixture.start(fixture.path("mine.ptn"));
        const std::string before(reinterpret_cast<const char*>(&fixture.session.book.SiteTable),
                                 sizeof(SiteSlots));
        auto chosen = whenModal([&](QWidget* dialog) {
            typeFileName(dialog, fixture.path("sites.xml"));
            whenModal([closeBox](QWidget* summary) {
                if (closeBox) {
                    closeByCloseBox(summary);
                } else {
                    activate(summary);
                    pressKey(summary, Qt::Key_Escape);
                }
            });
        });
        fixture.trigger("Import1");
        QVERIFY(*chosen);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(
            std::string(reinterpret_cast<const char*>(&fixture.session.book.SiteTable), sizeof(SiteSlots)),
            before);
        QCOMPARE(itemTexts(fixture.siteBox()), QStringList({"Mirror"}));
        QVERIFY(!fixture.session.BookModified);
    }
}

void ImportTest::otherMessagesHaveNoDetails() {
    TMessageForm plain("Disk full", MessageKind::Error, button::OK);
    QVERIFY(!plain.findChild<QListWidget*>());
    TMessageForm summary("Text", MessageKind::Confirmation, button::Yes | button::Cancel,
                         {"a: added", "b: added"});
    auto* details = summary.findChild<QListWidget*>("Details");
    QVERIFY(details);
    QCOMPARE(details->accessibleName(), QStringLiteral("Details"));
    QVERIFY(details->height() >= details->count() * details->sizeHintForRow(0)); // every line shows
    QVERIFY(details->geometry().right() < summary.width());
}

QTEST_MAIN(ImportTest)
#include "ImportTest.moc"
