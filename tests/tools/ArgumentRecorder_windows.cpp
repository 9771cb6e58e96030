// A stand-in FTP client for the launch tests: writes each argument it was started with, in UTF-8 and
// followed by a NUL byte, to the file named by PORTOLAN_RECORD_ARGUMENTS, so a test can compare them
// exactly. The arguments and the file's name are read in UTF-16, as the system passes them.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0'); // with the terminating NUL
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

int main() {
    wchar_t target[32768];
    if (::GetEnvironmentVariableW(L"PORTOLAN_RECORD_ARGUMENTS", target, 32768) == 0)
        return 2;
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string record;
    for (int i = 1; i < count; ++i)
        record += utf8(arguments[i]);
    // Written under another name and renamed into place only when complete, so a reader never sees half
    // a record.
    const std::wstring part = std::wstring(target) + L".part";
    const HANDLE file = ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size();
    ::CloseHandle(file);
    return whole && ::MoveFileExW(part.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
