#pragma once

#include <string>

namespace portolan {

// What finding the program's own files asks of the system: the program's folder, the user's
// environment, and who may write where. Paths are the system's own bytes.
class ProgramPlaces {
public:
    virtual ~ProgramPlaces() = default;

    // The folder that holds the running program's executable, as executableFolder() names it.
    virtual std::string programFolder() const = 0;

    // The value of the environment variable name; empty when it is unset.
    virtual std::string environmentValue(const char* name) const = 0;

    // True when the user may write the file or folder at path; false when there is none.
    virtual bool userMayWrite(const std::string& path) const = 0;

    // True when path names a folder, or a link to one.
    virtual bool isFolder(const std::string& path) const = 0;

    // The folder for the settings of a copy that does not keep them beside itself: the user's own
    // configuration folder for the program, or empty when the system names none. On Linux "portolan" in
    // xdgConfigHome(); on Windows "Portolan" in the user's roaming application data folder.
    virtual std::string userSettingsFolder() const = 0;

    // The user's configuration folder by the XDG base directory rules: $XDG_CONFIG_HOME where it is an
    // absolute path (a relative one is ignored), else defaultConfigHome(); the variables as
    // environmentValue gives them, on every system.
    std::string xdgConfigHome() const;

    // $HOME/.config, the user's configuration folder where XDG_CONFIG_HOME names none; empty when HOME is
    // unset or empty.
    std::string defaultConfigHome() const;

    // Makes the folder at path and every missing folder above it, each readable, writable and
    // searchable by the user alone; folders that exist are left as they are. True when path is a
    // folder afterwards.
    virtual bool makePrivateFolder(const std::string& path) const = 0;
};

// The answers of the running program: executableFolder(), the process's environment, the system's own
// permission checks for the real user, and its per-user folders.
class SystemPlaces : public ProgramPlaces {
public:
    std::string programFolder() const override;
    std::string environmentValue(const char* name) const override;
    bool userMayWrite(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;
    std::string userSettingsFolder() const override;
    bool makePrivateFolder(const std::string& path) const override;
};

} // namespace portolan
