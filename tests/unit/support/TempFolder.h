#pragma once

#include "SystemFacts.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace portolan::testing {

// The program's paths are UTF-8 on every system. These hand them to the standard library and take them
// back, which would otherwise read a narrow path in the ANSI code page on Windows.
inline std::filesystem::path systemPathOf(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
inline std::string programPathOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A fresh folder, readable and writable by its owner alone, under the system's temporary folder;
// removed with everything in it at the end, also files made read-only.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        const std::filesystem::path temporary = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = temporary / ("portolan-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("cannot make a temporary folder");
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    }
    ~TempFolder() {
        std::error_code ignored;
        const std::filesystem::path tree = removablePathOf(path_);
        std::filesystem::permissions(tree, std::filesystem::perms::owner_all, ignored);
        for (std::filesystem::recursive_directory_iterator entry(tree, ignored), end; entry != end;
             entry.increment(ignored))
            if (!entry->is_symlink(ignored))
                std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_write,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(tree, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return programPathOf(path_); }
    std::string file(const std::string& name) const { return programPathOf(path_ / systemPathOf(name)); }

    // The names of the entries in the folder.
    std::size_t entryCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(systemPathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(systemPathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Makes a folder; false when it cannot be made or is there already.
inline bool makeFolder(const std::string& path) {
    std::error_code failure;
    return std::filesystem::create_directory(systemPathOf(path), failure);
}

} // namespace portolan::testing
