#pragma once

#include "TempFolder.h"

#include <filesystem>
#include <string>

namespace portolan::testing {

// While it lives, the process's current folder is the given one; the earlier one is current again
// afterwards, so that no other test resolves its relative paths against a folder that is gone.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& path) : earlier_(std::filesystem::current_path()) {
        std::filesystem::current_path(systemPathOf(path));
    }
    ~CurrentFolder() {
        std::error_code ignored;
        std::filesystem::current_path(earlier_, ignored);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path earlier_;
};

} // namespace portolan::testing
