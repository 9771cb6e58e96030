#pragma once

#include "WindowsSituations.h"

#include <windows.h>

#include <cwchar>
#include <functional>
#include <string>

namespace portolan::testing {

// Under Wine, runs a Linux program (an absolute Linux path) with the given arguments and then the Linux
// path of a test's file, and waits until done() holds, at most 20 seconds: Wine reports the end of a
// Linux program before the program has ended. True when done() holds; false on Windows itself. This is
// how a test does what Wine's own calls do not do, such as making a symbolic link or giving a file to
// another user.
inline bool runOnLinux(const wchar_t* program, const std::wstring& arguments, const std::string& path,
                       const std::function<bool()>& done) {
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    using DosFileName = WCHAR*(CDECL*)(LPCSTR);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")));
    const auto dosFileName = reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_dos_file_name")));
    if (!unixFileName || !dosFileName)
        return false;
    char* linuxPath = unixFileName(widePathOf(path).c_str());
    WCHAR* windowsProgram = dosFileName(std::string(program, program + std::wcslen(program)).c_str());
    std::wstring command;
    if (linuxPath && windowsProgram)
        command = L"\"" + std::wstring(windowsProgram) + L"\" " + arguments + L" \"" + widePathOf(linuxPath) +
                  L"\"";
    ::HeapFree(::GetProcessHeap(), 0, linuxPath);
    ::HeapFree(::GetProcessHeap(), 0, windowsProgram);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (command.empty() || !::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                             nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    for (int wait = 0; wait < 2000 && !done(); ++wait)
        ::Sleep(10);
    return done();
}

} // namespace portolan::testing
