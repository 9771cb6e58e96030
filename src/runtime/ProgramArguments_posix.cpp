#include "runtime/ProgramArguments.h"

namespace portolan {

std::optional<std::string> firstProgramArgument(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt;
    return std::string(argv[1]);
}

} // namespace portolan
