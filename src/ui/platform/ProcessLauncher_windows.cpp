#include "ui/platform/ProcessLauncher.h"

#include "runtime/WideText_windows.h"

#include <windows.h>

namespace portolan {

// The whole line goes to the system as the new program's command line: the system takes the program
// from its first word (or its quoted first part), and the program reads its arguments from the rest
// as Windows programs do. No command interpreter sees it.
void ProcessLauncher::WinExec(std::string_view commandLine) {
    std::wstring line = wideFromUtf8(commandLine);
    if (line.find_first_not_of(L" \t") == std::wstring::npos)
        return;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

} // namespace portolan
