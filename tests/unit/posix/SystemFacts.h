#pragma once

#include "runtime/Errors.h"

#include <filesystem>
#include <string>
#include <vector>

// What a POSIX system answers where a rule is the same on every system but the system's answer is not.
namespace portolan::testing {

// The code that a file in a folder that does not exist records (ENOENT).
inline constexpr int missingFolderCode = ioCode::FileNotFound;

// The file of the unit test program.
inline constexpr const char* testProgramFile = "portolan_unit_tests";

// Folder names that only this system has: bytes that are no UTF-8, as an older file system may hold
// them.
inline const std::vector<std::string> systemOnlyFolderNames = {"\xDC"
                                                               "bersicht"};

// The path under which a whole tree can be removed: the path itself.
inline std::filesystem::path removablePathOf(const std::filesystem::path& path) {
    return path;
}

} // namespace portolan::testing
