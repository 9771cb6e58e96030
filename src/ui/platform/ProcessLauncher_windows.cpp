#include "ui/platform/ProcessLauncher.h"

#include "runtime/WideText_windows.h"

#include <windows.h>

#include <vector>

namespace portolan {

namespace {

constexpr wchar_t blanks[] = L" \t";

// The file that the system starts for the line: the quoted first part, or else the first of the
// line's beginnings up to a blank that names a file, tried in turn as the system tries them, a name
// without an ending taken as a ".exe". Empty when none is found.
std::wstring programOf(const std::wstring& line) {
    std::vector<std::wstring> candidates;
    const std::size_t start = line.find_first_not_of(blanks);
    if (line[start] == L'"') {
        const std::size_t end = line.find(L'"', start + 1);
        candidates.push_back(line.substr(start + 1, end == std::wstring::npos ? end : end - start - 1));
    } else {
        for (std::size_t end = line.find_first_of(blanks, start);;
             end = line.find_first_of(blanks, end + 1)) {
            candidates.push_back(line.substr(start, end == std::wstring::npos ? end : end - start));
            if (end == std::wstring::npos)
                break;
        }
    }
    for (const std::wstring& candidate : candidates) {
        std::wstring found(MAX_PATH, L'\0');
        DWORD length = ::SearchPathW(nullptr, candidate.c_str(), L".exe", static_cast<DWORD>(found.size()),
                                     found.data(), nullptr);
        if (length > found.size()) {
            found.resize(length);
            length = ::SearchPathW(nullptr, candidate.c_str(), L".exe", length, found.data(), nullptr);
        }
        if (length != 0 && length < found.size()) {
            found.resize(length);
            return found;
        }
    }
    return {};
}

// The system hands a batch file to the command interpreter, which would act on &, |, <, >, ^ and
// %...% in the site's fields. The system ignores dots and blanks at the end of a file name.
bool isBatchFile(std::wstring path) {
    while (!path.empty() && (path.back() == L'.' || path.back() == L' '))
        path.pop_back();
    if (path.size() < 4)
        return false;
    const wchar_t* ending = path.c_str() + path.size() - 4;
    return ::CompareStringOrdinal(ending, 4, L".bat", 4, TRUE) == CSTR_EQUAL ||
           ::CompareStringOrdinal(ending, 4, L".cmd", 4, TRUE) == CSTR_EQUAL;
}

} // namespace

// The whole line goes to the system as the new program's command line: the system takes the program
// from its first word (or its quoted first part), and the program reads its arguments from the rest
// as Windows programs do. No command interpreter sees it: a line that names a batch file starts
// nothing.
void ProcessLauncher::WinExec(std::string_view commandLine) {
    std::wstring line = wideFromUtf8(commandLine);
    if (line.find_first_not_of(blanks) == std::wstring::npos || isBatchFile(programOf(line)))
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
