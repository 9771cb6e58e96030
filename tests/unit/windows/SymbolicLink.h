#pragma once

#include "WindowsSituations.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

namespace portolan::testing {

// While it lives, a symbolic link at a test's absolute path points to target, a path relative to the
// link's folder, when made() says so; it is removed at the end, before its folder is.
//
// Windows makes it where the user may make links (an administrator, or in developer mode). Wine 8
// answers that call with success and makes nothing, but takes the symbolic links of the Linux file
// system under its drives for the files and folders they point to (a link to a file shows no sign of
// being one). There Linux's own ln makes the link and rm removes it: Wine's own calls would hang in the
// C++ library's removal of a link to a file, and remove the folder that a link to a folder points to.
class SymbolicLink {
public:
    SymbolicLink(const std::string& link, const std::string& target, bool toFolder = false)
        : link_(widePathOf(link)), toFolder_(toFolder) {
        const DWORD kind =
            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (toFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
        if (::CreateSymbolicLinkW(link_.c_str(), widePathOf(target).c_str(), kind) && exists()) {
            made_ = Maker::Windows;
            return;
        }
        std::string linuxTarget = target;
        std::replace(linuxTarget.begin(), linuxTarget.end(), '\\', '/');
        if (runOnLinux(L"/bin/ln", L"-s \"" + widePathOf(linuxTarget) + L"\"", [this] { return exists(); }))
            made_ = Maker::Linux;
    }
    ~SymbolicLink() {
        if (made_ == Maker::Windows)
            toFolder_ ? ::RemoveDirectoryW(link_.c_str()) : ::DeleteFileW(link_.c_str());
        else if (made_ == Maker::Linux)
            runOnLinux(L"/bin/rm", L"-f", [this] { return !exists(); });
    }
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

    bool made() const { return made_ != Maker::None; }

private:
    enum class Maker { None, Windows, Linux };

    bool exists() const { return ::GetFileAttributesW(link_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Runs a Linux program with the given arguments and the link's Linux path last, and waits until done()
    // holds: Wine reports the end of a Linux program before the program has ended. False outside Wine,
    // or when done() does not come to hold within 20 seconds.
    bool runOnLinux(const wchar_t* program, const std::wstring& arguments,
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
        char* linuxLink = unixFileName(link_.c_str());
        WCHAR* windowsProgram = dosFileName(std::string(program, program + std::wcslen(program)).c_str());
        std::wstring command;
        if (linuxLink && windowsProgram)
            command = L"\"" + std::wstring(windowsProgram) + L"\" " + arguments + L" \"" +
                      widePathOf(linuxLink) + L"\"";
        ::HeapFree(::GetProcessHeap(), 0, linuxLink);
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

    std::wstring link_;
    bool toFolder_;
    Maker made_ = Maker::None;
};

} // namespace portolan::testing
