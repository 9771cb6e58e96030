#include "ui/platform/ClientPrograms.h"

namespace portolan {

QString clientProgramFilter() {
    return QStringLiteral("FTP Clients (*.exe);;All files (*)");
}

QString clientProgramSuffix() {
    return {};
}

} // namespace portolan
