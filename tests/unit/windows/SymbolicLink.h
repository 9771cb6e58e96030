#pragma once

#include "OnLinux.h"
#include "WindowsSituations.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace portolan::testing {

// While it lives, a symbolic link at a test's absolute path points to target, a path relative to the
// link's folder, when made() says so; it is removed at the end, before its folder is, and while what it
// points to is still there (under Wine its removal is seen only then).
//
// Windows makes it where the user may make links (an administrator, or in developer mode). Wine 8
// answers that call with success and makes nothing, but takes the symbolic links of the Linux file
// system under its drives for the files and folders they point to (a link to a file shows no sign of
// being one). There Linux's own ln makes the link and rm removes it: Wine's own calls would hang in the
// C++ library's removal of a link to a file, and remove the folder that a link to a folder points to.
class SymbolicLink {
public:
    SymbolicLink(const std::string& link, const std::string& target, bool toFolder = false)
        : link_(link), toFolder_(toFolder) {
        const DWORD kind =
            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (toFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
        if (::CreateSymbolicLinkW(widePathOf(link_).c_str(), widePathOf(target).c_str(), kind) && exists()) {
            made_ = Maker::Windows;
            return;
        }
        std::string linuxTarget = target;
        std::replace(linuxTarget.begin(), linuxTarget.end(), '\\', '/');
        if (runOnLinux(L"/bin/ln", L"-s \"" + widePathOf(linuxTarget) + L"\"", link_,
                       [this] { return exists(); }))
            made_ = Maker::Linux;
    }
    ~SymbolicLink() {
        if (made_ == Maker::Windows)
            toFolder_ ? ::RemoveDirectoryW(widePathOf(link_).c_str())
                      : ::DeleteFileW(widePathOf(link_).c_str());
        else if (made_ == Maker::Linux)
            runOnLinux(L"/bin/rm", L"-f", link_, [this] { return !exists(); });
    }
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

    bool made() const { return made_ != Maker::None; }

private:
    enum class Maker { None, Windows, Linux };

    bool exists() const { return ::GetFileAttributesW(widePathOf(link_).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string link_;
    bool toFolder_;
    Maker made_ = Maker::None;
};

} // namespace portolan::testing
