#include "ui/platform/ClientPrograms.h"

namespace portolan {

QString clientProgramFilter() {
    return QStringLiteral("FTP Clients (*.exe)");
}

QString clientProgramSuffix() {
    return QStringLiteral("exe");
}

} // namespace portolan
