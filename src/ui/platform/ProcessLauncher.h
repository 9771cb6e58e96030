#pragma once

#include "commands/Launcher.h"

namespace portolan {

// Starts the FTP client without waiting for it, never through a shell or command interpreter, so no
// character of a site's fields is interpreted. On Linux the command line is split into a program and
// its arguments (double quotes group words); on Windows the line is the new program's command line as
// it stands, and a line that names a batch file, which only the command interpreter runs, starts
// nothing. An empty line starts nothing; every failure is ignored.
class ProcessLauncher final : public Launcher {
public:
    void WinExec(std::string_view commandLine) override;
};

} // namespace portolan
