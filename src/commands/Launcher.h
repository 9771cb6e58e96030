#pragma once

#include <string_view>

namespace portolan {

// Starts a program from a command line, the system's own text (UTF-8), and returns at once; whatever
// happens is ignored.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void WinExec(std::string_view commandLine) = 0;
};

} // namespace portolan
