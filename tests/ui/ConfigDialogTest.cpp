#include "ProgramNames.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAnswer.h"
#include "support/RecordedLaunch.h"
#include "support/WindowDriving.h"

#include "book/SettingsFile.h"
#include "ui/configUnit.h"
#include "ui/widgets/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace portolan;
using namespace portolan::test;

namespace {

// Starts the program with a settings file holding this command and option.
void startWithSettings(MainWindowFixture& fixture, const std::string& command, bool useAnonym) {
    Settings stored;
    stored.Left = 100;
    stored.Top = 80;
    stored.Width = 270;
    stored.Height = 217;
    stored.ClientCommand = command;
    stored.UseAnonymParam = useAnonym;
    writeSettingsFile(fixture.places.folder, stored);
    fixture.start();
}

std::function<void()> configureByMenu(MainWindowFixture& fixture) {
    return [&fixture] { fixture.trigger("Options1"); };
}

QLineEdit* commandBox(QDialog& dialog) {
    return dialog.findChild<QLineEdit*>("cmdBX");
}
QCheckBox* anonymBox(QDialog& dialog) {
    return dialog.findChild<QCheckBox*>("cftpBX");
}

// What the dialog shows when it next opens.
struct Shown {
    QString command;
    bool checked = false;
};
Shown nextShowing(MainWindowFixture& fixture) {
    Shown shown;
    const bool opened = inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        shown.command = commandBox(dialog)->text();
        shown.checked = anonymBox(dialog)->isChecked();
    });
    if (!opened)
        shown.command = "(the dialog did not open)";
    return shown;
}

} // namespace

class ConfigDialogTest : public QObject {
    Q_OBJECT
private slots:
    void dialogHasNoCloseBoxAndItsFixedSize();
    void controlsHaveTheirPlacesAndTexts_data();
    void controlsHaveTheirPlacesAndTexts();
    void legendExplainsThePlaceholders_data();
    void legendExplainsThePlaceholders();
    void tabOrderRunsFromTheCommandToTheCheckBox();
    void browseDialogLooksForTheClient();
    void controlsAreFilledFromTheStoredSettingsOnce_data();
    void controlsAreFilledFromTheStoredSettingsOnce();
    void okTrimsAndStoresTheCommandAndOption_data();
    void okTrimsAndStoresTheCommandAndOption();
    void cancelKeepsTheAbandonedEditsForTheNextShowing();
    void browseAppendsTheChosenPath_data();
    void browseAppendsTheChosenPath();
    void cancelledBrowseChangesNothingAndTheLastNameIsOffered();
    void aBrowsedClientKeepsItsLettersUpToTheLaunch();
    void dialogIsPlacedBesideTheMainWindowOnEveryShowing();
    void dialogNeedsOnlyTheSessionAndItsPlacement();
    void enterEscapeAndCloseBoxDoNothing_data();
    void enterEscapeAndCloseBoxDoNothing();
};

void ConfigDialogTest::dialogHasNoCloseBoxAndItsFixedSize() {
    MainWindowFixture fixture;
    fixture.start();
    auto* dialog = fixture.window->findChild<QDialog*>("configFRM");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Configure FTP Client"));
    QCOMPARE(dialog->size(), QSize(300, 147));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!dialog->isVisible());
}

void ConfigDialogTest::controlsHaveTheirPlacesAndTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption");
    // clang-format off
    QTest::newRow("Label1") << "Label1" << QRect(2, 10, 73, 13) << "Command Line:";
    QTest::newRow("cmdBX") << "cmdBX" << QRect(80, 6, 190, 21) << "";
    QTest::newRow("footerSB") << "footerSB" << QRect(270, 6, 21, 21) << "";
    QTest::newRow("cftpBX") << "cftpBX" << QRect(8, 40, 217, 17) << "Use CuteFTP auto 'Anonym' parameter";
    QTest::newRow("Button1") << "Button1" << QRect(216, 64, 75, 25) << "OK";
    QTest::newRow("Button2") << "Button2" << QRect(216, 92, 75, 25) << "Cancel";
    QTest::newRow("Panel1") << "Panel1" << QRect(8, 64, 201, 76) << "";
    // clang-format on
}

void ConfigDialogTest::controlsHaveTheirPlacesAndTexts() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    const ProgramFont programFont;
    MainWindowFixture fixture;
    fixture.start();
    auto* dialog = fixture.window->findChild<QDialog*>("configFRM");
    auto* control = dialog->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), dialog);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // Right-aligned, ending at its place's right edge, its caption whole and clear of the
        // dialog's left edge.
        QCOMPARE(label->geometry(), place);
        QVERIFY2(label->sizeHint().width() <= place.width(),
                 qPrintable(QString("the caption needs %1 pixels").arg(label->sizeHint().width())));
        QCOMPARE(label->text(), caption);
        QVERIFY(label->alignment().testFlag(Qt::AlignRight));
    } else {
        QCOMPARE(control->geometry(), place);
    }
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        QCOMPARE(check->text(), caption);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    } else if (auto* browse = qobject_cast<QToolButton*>(control)) {
        QCOMPARE(browse->text(), QString());
        QCOMPARE(browse->toolTip(), QString());
        QVERIFY(!browse->icon().isNull());
        QCOMPARE(browse->focusPolicy(), Qt::NoFocus);
    }
}

void ConfigDialogTest::legendExplainsThePlaceholders_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("place");
    // clang-format off
    QTest::newRow("Label2") << "Label2" << "%d = Description"     << QPoint(8, 8);
    QTest::newRow("Label3") << "Label3" << "%a = Address"         << QPoint(8, 24);
    QTest::newRow("Label4") << "Label4" << "%p = Port"            << QPoint(96, 8);
    QTest::newRow("Label7") << "Label7" << "%c = Script"          << QPoint(96, 24);
    QTest::newRow("Label5") << "Label5" << "%u = User Name"       << QPoint(8, 40);
    QTest::newRow("Label8") << "Label8" << "%i = Login Directory" << QPoint(96, 40);
    QTest::newRow("Label6") << "Label6" << "%s = Password"        << QPoint(8, 56);
    // clang-format on
}

void ConfigDialogTest::legendExplainsThePlaceholders() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QPoint, place);
    const ProgramFont programFont;
    MainWindowFixture fixture;
    fixture.start();
    auto* panel = fixture.window->findChild<QDialog*>("configFRM")->findChild<QFrame*>("Panel1");
    QVERIFY(panel);
    auto* label = panel->findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), panel);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), place);
    // A caption of the left column ends at least 8 pixels before the right column (the layout's own
    // widths leave 9); one of the right column stays inside the panel's frame.
    const int rightColumn = 96;
    const int limit = place.x() < rightColumn ? rightColumn - 8 : panel->contentsRect().right() + 1;
    QVERIFY2(label->x() + label->sizeHint().width() <= limit,
             qPrintable(QString("the caption takes %1 pixels").arg(label->sizeHint().width())));
}

void ConfigDialogTest::tabOrderRunsFromTheCommandToTheCheckBox() {
    MainWindowFixture fixture;
    fixture.start();
    QStringList visited;
    QWidget* focusAtShow = nullptr;
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        focusAtShow = dialog.focusWidget();
        for (int press = 0; press < 4; ++press) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            visited << dialog.focusWidget()->objectName();
        }
    }));
    QCOMPARE(focusAtShow->objectName(), QStringLiteral("cmdBX"));
    QCOMPARE(visited, QStringList({"Button1", "Button2", "cftpBX", "cmdBX"}));
}

void ConfigDialogTest::browseDialogLooksForTheClient() {
    MainWindowFixture fixture;
    fixture.start();
    QString title, filter;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptSave;
    QFileDialog::FileMode fileMode = QFileDialog::Directory;
    std::shared_ptr<bool> answered;
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        answered = browse(dialog, "footerSB", [&](QFileDialog& files) {
            title = files.windowTitle();
            filter = files.nameFilters().constFirst();
            acceptMode = files.acceptMode();
            fileMode = files.fileMode();
            files.reject();
        });
    }));
    QVERIFY(answered && *answered);
    QCOMPARE(title, QStringLiteral("Find FTP client executable"));
    QCOMPARE(filter, QStringLiteral("FTP Clients (*.exe)"));
    QCOMPARE(acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(fileMode, QFileDialog::AnyFile); // a file that does not exist is taken too
}

void ConfigDialogTest::controlsAreFilledFromTheStoredSettingsOnce_data() {
    QTest::addColumn<bool>("settingsFile");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("useAnonym");
    // clang-format off
    QTest::newRow("no settings file") << false << "" << false;
    QTest::newRow("stored command and option") << true << "cuteftp %a -u %u" << true;
    QTest::newRow("stored command only") << true << "ftp %a %p" << false;
    QTest::newRow("stored command in another script") << true << QString::fromUtf8("/opt/клиент/ftp %a") << false;
    // clang-format on
}

void ConfigDialogTest::controlsAreFilledFromTheStoredSettingsOnce() {
    QFETCH(bool, settingsFile);
    QFETCH(QString, command);
    QFETCH(bool, useAnonym);
    MainWindowFixture fixture;
    if (settingsFile)
        startWithSettings(fixture, pathFromQString(command), useAnonym);
    else
        fixture.start();
    // Values changed after start-up do not reach the controls: they were filled when it was created.
    fixture.session.settings.ClientCommand = "changed %a";
    fixture.session.settings.UseAnonymParam = !useAnonym;
    const Shown shown = nextShowing(fixture);
    QCOMPARE(shown.command, command);
    QCOMPARE(shown.checked, useAnonym);
}

void ConfigDialogTest::okTrimsAndStoresTheCommandAndOption_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted"); // put in as a whole, as a paste does: it holds control characters
    QTest::addColumn<QString>("stored");
    // clang-format off
    QTest::newRow("two blanks before and after") << "  client %a  " << false << "client %a";
    QTest::newRow("blanks only") << "   " << false << "";
    QTest::newRow("inner blanks stay") << "a  b" << false << "a  b";
    QTest::newRow("control characters") << "\t\x01" "ftp %a\x1f\t" << true << "ftp %a";
    QTest::newRow("longer than the settings file keeps") << QString(200, QChar('c')) << false
                                                         << QString(200, QChar('c'));
    // clang-format on
}

void ConfigDialogTest::okTrimsAndStoresTheCommandAndOption() {
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, stored);
    MainWindowFixture fixture;
    fixture.start();
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        QLineEdit* command = commandBox(dialog);
        if (pasted)
            command->setText(typed);
        else
            QTest::keyClicks(command, typed);
        QTest::mouseClick(anonymBox(dialog), Qt::LeftButton);
        clickButton(&dialog, "Button1");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(command->text(), stored);
    }));
    QCOMPARE(pathToQString(fixture.session.settings.ClientCommand), stored);
    QVERIFY(fixture.session.settings.UseAnonymParam);
    QVERIFY(!QFile::exists(QString::fromStdString(settingsFilePath(fixture.places.folder))));
    const Shown shown = nextShowing(fixture);
    QCOMPARE(shown.command, stored);
    QVERIFY(shown.checked);
}

// The controls are the dialog's own copy: Cancel leaves the values in force alone, and the next
// showing presents what the user typed and checked before cancelling.
void ConfigDialogTest::cancelKeepsTheAbandonedEditsForTheNextShowing() {
    MainWindowFixture fixture;
    startWithSettings(fixture, "client %a", false);
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [](QDialog& dialog) {
        QTest::keyClick(commandBox(dialog), Qt::Key_End);
        QTest::keyClicks(commandBox(dialog), "x");
        QTest::mouseClick(anonymBox(dialog), Qt::LeftButton);
        clickButton(&dialog, "Button2");
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(fixture.session.settings.ClientCommand, std::string("client %a"));
    QVERIFY(!fixture.session.settings.UseAnonymParam);

    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [](QDialog& dialog) {
        QCOMPARE(commandBox(dialog)->text(), QStringLiteral("client %ax"));
        QVERIFY(anonymBox(dialog)->isChecked());
        clickButton(&dialog, "Button1");
    }));
    QCOMPARE(fixture.session.settings.ClientCommand, std::string("client %ax"));
    QVERIFY(fixture.session.settings.UseAnonymParam);
}

void ConfigDialogTest::browseAppendsTheChosenPath_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("folder"); // inside the temporary folder
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // of the chosen file
    QTest::addColumn<bool>("quoted");
    // clang-format off
    QTest::newRow("after the text, without a blank") << "client.exe" << "bin" << "ftp.exe" << "ftp.exe" << false;
    QTest::newRow("into an empty box") << "" << "bin" << "ftp.exe" << "ftp.exe" << false;
    QTest::newRow("named as the system's programs") << "" << "bin" << "ftp" << "ftp" + programEnding << false;
    // clang-format on
    // The launcher splits the command line at blanks outside quotes; quotes keep the path one program.
    // clang-format off
    QTest::newRow("folder with a blank") << "" << "my apps" << "ftp.exe" << "ftp.exe" << true;
    QTest::newRow("name with a blank") << "run " << "bin" << "ftp client.exe" << "ftp client.exe" << true;
    // clang-format on
}

// The path joins the command as the system names it.
void ConfigDialogTest::browseAppendsTheChosenPath() {
    QFETCH(QString, before);
    QFETCH(QString, folder);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(bool, quoted);
    MainWindowFixture fixture;
    fixture.start();
    QVERIFY(QDir(fixture.folder.path()).mkpath(folder));
    const QString chosen = pathToQString(fixture.path(folder + "/" + name)); // need not exist
    const QString expected = before + (quoted ? "\"" + chosen + "\"" : chosen);
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        commandBox(dialog)->setText(before);
        auto answered = browse(dialog, "footerSB", [&](QFileDialog& files) {
            typeFileName(&files, fixture.path(folder + "/" + typed));
        });
        QVERIFY(*answered);
        QCOMPARE(commandBox(dialog)->text(), expected);
        clickButton(&dialog, "Button1");
    }));
    QCOMPARE(pathToQString(fixture.session.settings.ClientCommand), expected);
}

void ConfigDialogTest::cancelledBrowseChangesNothingAndTheLastNameIsOffered() {
    MainWindowFixture fixture;
    fixture.start();
    const QString chosen = fixture.folder.filePath("ftp.exe");
    QStringList offered;
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        commandBox(dialog)->setText("client ");
        QVERIFY(*browse(dialog, "footerSB",
                        [&](QFileDialog& files) { typeFileName(&files, pathFromQString(chosen)); }));
        QVERIFY(*browse(dialog, "footerSB", [&](QFileDialog& files) {
            offered = files.selectedFiles();
            pressKey(&files, Qt::Key_Escape);
        }));
        QCOMPARE(commandBox(dialog)->text(), "client " + QDir::toNativeSeparators(chosen));
    }));
    QCOMPARE(offered, QStringList({chosen}));
}

// A client in a folder named in another script: the browsed path keeps its letters in the box, in the
// settings file and in the launch, where a site's Windows-1252 description joins it.
void ConfigDialogTest::aBrowsedClientKeepsItsLettersUpToTheLaunch() {
    MainWindowFixture first;
    first.start();
    const QString folder = first.folder.filePath(QString::fromUtf8("клиент"));
    QVERIFY(QDir().mkpath(folder));
    const QString client = QDir::toNativeSeparators(folder + "/ftp.exe");
    QVERIFY(QFile::copy(QStringLiteral(ARGUMENT_RECORDER), client));
    QVERIFY(inModalDialog(configureByMenu(first), "Button2", [&](QDialog& dialog) {
        QVERIFY(*browse(dialog, "footerSB",
                        [&](QFileDialog& files) { typeFileName(&files, pathFromQString(client)); }));
        QTest::keyClick(commandBox(dialog), Qt::Key_End);
        QTest::keyClicks(commandBox(dialog), " %d");
        QCOMPARE(commandBox(dialog)->text(), client + " %d");
        clickButton(&dialog, "Button1");
    }));
    const std::string command = pathFromQString(client) + " %d";
    QCOMPARE(first.session.settings.ClientCommand, command);
    QVERIFY(first.window->close()); // writes the settings file
    const std::string stored = settingsFilePath(first.places.folder);
    QCOMPARE(fileBytes(stored).substr(16, 1 + command.size()), static_cast<char>(command.size()) + command);

    // The next run reads it back, shows it, and starts the client for a site.
    MainWindowFixture second;
    QVERIFY(QFile::copy(pathToQString(stored), pathToQString(settingsFilePath(second.places.folder))));
    writeBook(second.path("book.ptn"), {{"B\xfc"
                                         "cher",
                                         "ftp.example.com", "21", "", "", "", "", false}});
    second.start(second.path("book.ptn"));
    QCOMPARE(nextShowing(second).command, client + " %d");
    QListWidget* list = second.siteBox();
    const QPoint at = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(second.launcher.commandLines.size(), std::size_t(1));
    QCOMPARE(argumentsOfLaunch(second.launcher.commandLines[0], second.folder),
             std::vector<std::string>{"B\xc3\xbc"
                                      "cher"});
}

void ConfigDialogTest::dialogIsPlacedBesideTheMainWindowOnEveryShowing() {
    MainWindowFixture fixture;
    fixture.start();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // Not off the left or top: the offscreen platform pushes such windows back onto the screen.
    const QPoint places[] = {{100, 80}, {300, 200}, {screen.width() - 100, 80}, {100, screen.height() - 60}};
    for (const QPoint mainAt : places) {
        fixture.window->move(mainAt);
        QTRY_COMPARE(fixture.window->frameGeometry().topLeft(), mainAt);
        QRect outer;
        QVERIFY(inModalDialog(configureByMenu(fixture), "Button2",
                              [&](QDialog& dialog) { outer = dialog.frameGeometry(); }));
        const QPoint expected(std::min(mainAt.x() + 20, screen.width() - outer.width()),
                              std::min(mainAt.y() + 22, screen.height() - outer.height()));
        QCOMPARE(outer.topLeft(), expected);
    }
}

// Built without the other windows: the dialog reads and sets the session's client settings and asks
// its placement where to stand at every showing.
void ConfigDialogTest::dialogNeedsOnlyTheSessionAndItsPlacement() {
    MainWindowFixture fixture;
    fixture.session.settings.ClientCommand = "ftp %a";
    int placements = 0;
    TconfigFRM dialog(nullptr, fixture.session, [&](QWidget& shown) {
        ++placements;
        shown.move(150, 120);
    });
    for (int showing = 1; showing <= 2; ++showing)
        QVERIFY(inModalDialog([&] { dialog.exec(); }, "Button2",
                              [&](QDialog& open) {
                                  QCOMPARE(placements, showing);
                                  QCOMPARE(open.pos(), QPoint(150, 120));
                                  if (showing == 2) {
                                      QTest::keyClick(commandBox(open),
                                                      Qt::Key_End); // the shown command is selected
                                      QTest::keyClicks(commandBox(open), " %p");
                                      clickButton(&open, "Button1");
                                  }
                              }));
    QCOMPARE(pathToQString(fixture.session.settings.ClientCommand), QStringLiteral("ftp %a %p"));
}

void ConfigDialogTest::enterEscapeAndCloseBoxDoNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key"); // 0: the close box
    // clang-format off
    QTest::newRow("Return in the command box") << "cmdBX" << int(Qt::Key_Return);
    QTest::newRow("Enter in the command box") << "cmdBX" << int(Qt::Key_Enter);
    QTest::newRow("Escape in the command box") << "cmdBX" << int(Qt::Key_Escape);
    QTest::newRow("Return on OK") << "Button1" << int(Qt::Key_Return);
    QTest::newRow("Escape on Cancel") << "Button2" << int(Qt::Key_Escape);
    QTest::newRow("close box") << "cmdBX" << 0;
    // clang-format on
}

void ConfigDialogTest::enterEscapeAndCloseBoxDoNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    MainWindowFixture fixture;
    fixture.start();
    bool stayedOpen = false;
    QVERIFY(inModalDialog(configureByMenu(fixture), "Button2", [&](QDialog& dialog) {
        QTest::keyClicks(commandBox(dialog), "  typed  ");
        dialog.findChild<QWidget*>(focus)->setFocus();
        if (key)
            pressKey(&dialog, key);
        else
            closeByCloseBox(&dialog);
        QTest::qWait(50);
        stayedOpen = dialog.isVisible();
        QCOMPARE(commandBox(dialog)->text(), QStringLiteral("  typed  "));
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(fixture.session.settings.ClientCommand, std::string());
}

QTEST_MAIN(ConfigDialogTest)
#include "ConfigDialogTest.moc"
