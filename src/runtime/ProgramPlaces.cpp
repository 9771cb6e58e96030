// The rules of ProgramPlaces that are the same on every system.
#include "runtime/ProgramPlaces.h"

namespace portolan {

std::string ProgramPlaces::xdgConfigHome() const {
    // A relative XDG_CONFIG_HOME is ignored, as the XDG base directory rules ask.
    const std::string configHome = environmentValue("XDG_CONFIG_HOME");
    return configHome.starts_with('/') ? configHome : defaultConfigHome();
}

std::string ProgramPlaces::defaultConfigHome() const {
    const std::string home = environmentValue("HOME");
    return home.empty() ? std::string() : home + "/.config";
}

} // namespace portolan
