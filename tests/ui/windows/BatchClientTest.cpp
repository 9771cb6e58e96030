#include "ui/platform/ProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace portolan;

// A client that is a batch file would be run by the command interpreter, which acts on &, |, <, >, ^
// and %...% in the site's fields: the launcher starts none. The batch file writes the file that its
// argument names; run through the command interpreter on purpose, it shows that it would have run.
class BatchClientTest : public QObject {
    Q_OBJECT
private slots:
    void batchFilesAreNotStarted();
};

void BatchClientTest::batchFilesAreNotStarted() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("FTP Tools"));
    const QString native = QDir::toNativeSeparators(folder.path());
    for (const QString name : {"client.cmd", "FTP Tools\\client.bat"}) {
        QFile batch(folder.filePath(name));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.write("@echo ran> %1\r\n");
    }
    const auto marker = [&](const QString& name) { return native + "\\" + name; };
    const QStringList refused{
        QString("\"%1\\client.cmd\" %2 & echo ran> %3").arg(native, marker("quoted"), marker("injected")),
        QString("%1\\FTP Tools\\client.bat %2").arg(native, marker("unquoted-with-blank")),
        QString("\"%1\\CLIENT.CMD.\" %2").arg(native, marker("capitals-and-dot")),
    };
    for (const QString& line : refused)
        ProcessLauncher().WinExec(line.toStdString());
    ProcessLauncher().WinExec(
        QString("cmd.exe /c call \"%1\\client.cmd\" %2").arg(native, marker("control")).toStdString());
    QVERIFY2(QTest::qWaitFor([&] { return QFile::exists(marker("control")); }, 20000),
             "the command interpreter did not run the batch file");
    QTest::qWait(1000);
    for (const QString name : {"quoted", "injected", "unquoted-with-blank", "capitals-and-dot"})
        QVERIFY2(!QFile::exists(marker(name)), qPrintable(name));
}

QTEST_GUILESS_MAIN(BatchClientTest)
#include "BatchClientTest.moc"
