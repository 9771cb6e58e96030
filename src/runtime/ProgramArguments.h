#pragma once

#include <optional>
#include <string>

namespace portolan {

// The first argument of the program's command line, exactly as the system passed it, in the program's
// own form of paths; none when there is no argument. argc and argv are main's. On Windows the argument
// is read from the UTF-16 command line: argv holds it in the ANSI code page, which loses every letter
// outside that page.
std::optional<std::string> firstProgramArgument(int argc, char* argv[]);

} // namespace portolan
