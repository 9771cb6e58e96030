// The Win32 calls behind ProgramPlaces.
#include "runtime/ProgramPlaces.h"

#include "runtime/Files.h"
#include "runtime/SystemFile.h"
#include "runtime/WideText_windows.h"

#include <windows.h>

#include <shlobj.h>

namespace portolan {

namespace {

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(systemPath(path).c_str());
}

} // namespace

std::string SystemPlaces::programFolder() const {
    return executableFolder();
}

std::string SystemPlaces::environmentValue(const char* name) const {
    const std::wstring wideName = wideFromUtf8(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length =
            ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length); // 0 when unset
            return utf8FromWide(value);
        }
        value.resize(length); // the room the value needs, its terminating zero included
    }
}

bool SystemPlaces::userMayWrite(const std::string& path) const {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    int code = 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // Whether a folder takes a new file is known for sure only by making one, which goes again at once.
        std::string probe;
        const FileHandle file = systemFile::createTemporary(path + pathSeparator + "prtln.cfg", probe, code);
        if (file == noFileHandle)
            return false;
        systemFile::close(file);
        systemFile::remove(probe);
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return false;
    const FileHandle file = systemFile::openForUpdate(path, code);
    if (file == noFileHandle)
        return false;
    systemFile::close(file);
    return true;
}

bool SystemPlaces::isFolder(const std::string& path) const {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemPlaces::userSettingsFolder() const {
    PWSTR roaming = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &roaming)))
        folder = utf8FromWide(roaming) + pathSeparator + "Portolan";
    ::CoTaskMemFree(roaming);
    return folder;
}

// The folders take the security of the user's own folder above them, which keeps others out.
bool SystemPlaces::makePrivateFolder(const std::string& path) const {
    if (path.empty())
        return false;
    // Each folder on the way, from the top down. A drive, a share and the folders that exist already
    // refuse to be made again, which is no failure: what counts is a folder at path in the end.
    for (auto separator = path.find_first_of("\\/", 1); separator != std::string::npos;
         separator = path.find_first_of("\\/", separator + 1))
        ::CreateDirectoryW(systemPath(path.substr(0, separator)).c_str(), nullptr);
    ::CreateDirectoryW(systemPath(path).c_str(), nullptr);
    return isFolder(path);
}

} // namespace portolan
