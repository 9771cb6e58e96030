#include "support/RecordedLaunch.h"

#include "ui/platform/ProcessLauncher.h"

#include <QFile>
#include <QTest>

namespace portolan::test {

std::vector<std::string> argumentsOfLaunch(const std::string& commandLine, const QTemporaryDir& folder) {
    const QString record = folder.filePath("arguments");
    qputenv("PORTOLAN_RECORD_ARGUMENTS", record.toLocal8Bit());
    ProcessLauncher().WinExec(commandLine);
    if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 5000))
        return {"<not started>"};
    QFile file(record);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(record);
    std::vector<std::string> arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments.emplace_back(argument.constData(), argument.size());
    arguments.pop_back(); // after the last NUL
    return arguments;
}

} // namespace portolan::test
