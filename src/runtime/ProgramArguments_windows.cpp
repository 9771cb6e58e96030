#include "runtime/ProgramArguments.h"

#include "runtime/WideText_windows.h"

#include <windows.h>

#include <shellapi.h>

namespace portolan {

std::optional<std::string> firstProgramArgument(int, char*[]) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments)
        return std::nullopt;
    std::optional<std::string> first;
    if (count > 1)
        first = utf8FromWide(arguments[1]);
    ::LocalFree(arguments);
    return first;
}

} // namespace portolan
