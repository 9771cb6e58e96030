#include "support/RecordedLaunch.h"

#include "book/SiteBook.h"
#include "commands/ClientLaunch.h"
#include "ui/platform/ProcessLauncher.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using namespace portolan;
using portolan::test::argumentsOfLaunch;

namespace {

const std::string recorder = ARGUMENT_RECORDER;

using Arguments = std::vector<std::string>;

} // namespace

Q_DECLARE_METATYPE(Arguments)

class ProcessLauncherTest : public QObject {
    Q_OBJECT
private slots:
    void startsTheProgramWithTheWordsAsArguments_data();
    void startsTheProgramWithTheWordsAsArguments();
    void siteFieldsReachTheClientUninterpreted();
    void nothingStartsForAnEmptyLineOrAMissingProgram();
};

void ProcessLauncherTest::startsTheProgramWithTheWordsAsArguments_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Arguments>("expected");
    // clang-format off
    QTest::newRow("none") << "" << Arguments{};
    QTest::newRow("words split at blanks") << "ftp.example.com  21 /pub" << Arguments{"ftp.example.com", "21", "/pub"};
    QTest::newRow("quotes group words") << "\"My Site\" x" << Arguments{"My Site", "x"};
    QTest::newRow("letters of any script") << QString::fromUtf8("клиент «x»") << Arguments{"клиент", "«x»"};
    QTest::newRow("shell characters stay literal")
        << "a;b | c && d $(touch gone) `id` *.ptn ~ $HOME"
        << Arguments{"a;b", "|", "c", "&&", "d", "$(touch", "gone)", "`id`", "*.ptn", "~", "$HOME"};
    // clang-format on
}

void ProcessLauncherTest::startsTheProgramWithTheWordsAsArguments() {
    QFETCH(QString, arguments);
    QFETCH(Arguments, expected);
    QTemporaryDir folder;
    std::string line = recorder;
    if (!arguments.isEmpty())
        line.append(" ").append(arguments.toStdString());
    QCOMPARE(argumentsOfLaunch(line, folder), expected);
}

// The whole launch path: a template expanded with fields that a shell would act on.
void ProcessLauncherTest::siteFieldsReachTheClientUninterpreted() {
    QTemporaryDir folder;
    SiteBook book;
    SiteFields fields;
    fields.Description = "Mirror";
    fields.Address = "ftp.example.com;touch";
    fields.Port = "21";
    fields.UserName = "$(id)";
    fields.Password = "it's";
    fields.LoginDirectory = "\"/my dir\"";
    fields.Anonymous = true;
    book.storeSite(0, fields, 0);
    const std::string line =
        expandClientCommand(std::string(recorder).append(" %a %p %u %s %i"), book.SiteTable[0], true);
    QCOMPARE(argumentsOfLaunch(line, folder),
             (Arguments{"Anonym", "ftp.example.com;touch", "21", "$(id)", "it's", "/my dir"}));
}

void ProcessLauncherTest::nothingStartsForAnEmptyLineOrAMissingProgram() {
    QTemporaryDir folder;
    qputenv("PORTOLAN_RECORD_ARGUMENTS", folder.filePath("arguments").toLocal8Bit());
    ProcessLauncher().WinExec("");
    ProcessLauncher().WinExec("   ");
    ProcessLauncher().WinExec(folder.filePath("no-such-client x").toStdString());
    QTest::qWait(200);
    QVERIFY(!QFile::exists(folder.filePath("arguments")));
}

QTEST_GUILESS_MAIN(ProcessLauncherTest)
#include "ProcessLauncherTest.moc"
