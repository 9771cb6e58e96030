#pragma once

#include "commands/Launcher.h"

namespace portolan {

// Starts the FTP client: the command line is split into a program and its arguments (double quotes
// group words) and the program is started detached, never through a shell, so no character of a
// site's fields is interpreted. An empty line starts nothing; every failure is ignored.
class ProcessLauncher final : public Launcher {
public:
    void WinExec(std::string_view commandLine) override;
};

} // namespace portolan
