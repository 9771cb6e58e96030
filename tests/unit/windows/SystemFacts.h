#pragma once

#include "runtime/Errors.h"

#include <filesystem>
#include <string>
#include <vector>

// What Windows answers where a rule is the same on every system but the system's answer is not.
namespace portolan::testing {

// The code that a file in a folder that does not exist records (ERROR_PATH_NOT_FOUND, whose message is
// "Invalid filename").
inline constexpr int missingFolderCode = ioCode::InvalidFilename;

// The file of the unit test program.
inline constexpr const char* testProgramFile = "portolan_unit_tests.exe";

// Folder names that only this system has: none, as Windows names are UTF-16 text.
inline const std::vector<std::string> systemOnlyFolderNames = {};

// The path under which a whole tree can be removed, also where it is deeper than MAX_PATH: the whole
// path in the "\\?\" form.
inline std::filesystem::path removablePathOf(const std::filesystem::path& path) {
    return L"\\\\?\\" + std::filesystem::absolute(path).wstring();
}

} // namespace portolan::testing
