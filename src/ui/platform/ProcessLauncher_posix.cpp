#include "ui/platform/ProcessLauncher.h"

#include "ui/widgets/QtText.h"

#include <QProcess>

namespace portolan {

void ProcessLauncher::WinExec(std::string_view commandLine) {
    QStringList words = QProcess::splitCommand(pathToQString(commandLine));
    if (words.isEmpty())
        return;
    const QString program = words.takeFirst();
    QProcess::startDetached(program, words);
}

} // namespace portolan
