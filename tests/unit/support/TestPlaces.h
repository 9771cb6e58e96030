#pragma once

#include "runtime/ProgramPlaces.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace portolan::testing {

// The places of a copy of the program in a test's own folder: the program's folder and the
// environment are the test's, a path in readOnly is one the user may not write whoever runs the test
// (root may write anything), a path in folders is a folder, the user's settings folder is the test's
// where it names one, and every other question goes to the system.
struct TestPlaces final : SystemPlaces {
    explicit TestPlaces(std::string folder) : folder(std::move(folder)) {}

    std::string programFolder() const override { return folder; }
    std::string environmentValue(const char* name) const override {
        const auto value = environment.find(name);
        return value == environment.end() ? std::string() : value->second;
    }
    bool userMayWrite(const std::string& path) const override {
        return !readOnly.contains(path) && SystemPlaces::userMayWrite(path);
    }
    bool isFolder(const std::string& path) const override {
        return folders.contains(path) || SystemPlaces::isFolder(path);
    }
    std::string userSettingsFolder() const override {
        return userFolder ? *userFolder : SystemPlaces::userSettingsFolder();
    }

    std::string folder;
    std::map<std::string, std::string> environment;
    std::set<std::string> readOnly;
    std::set<std::string> folders;
    std::optional<std::string> userFolder;
};

} // namespace portolan::testing
