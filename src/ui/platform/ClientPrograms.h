#pragma once

#include <QString>

namespace portolan {

// What the configuration dialog's browse button offers as FTP clients: the file dialog's filter and
// the ending added to a typed name that has none (empty for none). Clients on Windows are .exe files;
// elsewhere programs have no such ending, so every file is offered and a typed name is taken as it is.
QString clientProgramFilter();
QString clientProgramSuffix();

} // namespace portolan
