// The system calls behind ProgramPlaces.
#include "runtime/ProgramPlaces.h"

#include "runtime/Files.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace portolan {

std::string SystemPlaces::programFolder() const {
    return executableFolder();
}

std::string SystemPlaces::environmentValue(const char* name) const {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool SystemPlaces::userMayWrite(const std::string& path) const {
    // access() asks for the real user, who started the program, and also says no on a read-only
    // file system.
    return !path.empty() && ::access(path.c_str(), W_OK) == 0;
}

bool SystemPlaces::isFolder(const std::string& path) const {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string SystemPlaces::userSettingsFolder() const {
    const std::string configHome = xdgConfigHome();
    return configHome.empty() ? std::string() : configHome + "/portolan";
}

bool SystemPlaces::makePrivateFolder(const std::string& path) const {
    if (path.empty())
        return false;
    // Each folder on the way, from the top down; one that exists already is left alone.
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    return isFolder(path);
}

} // namespace portolan
