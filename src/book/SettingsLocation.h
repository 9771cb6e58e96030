#pragma once

#include "book/SettingsFile.h"
#include "runtime/ProgramPlaces.h"

#include <string>

namespace portolan {

// Where the settings file "prtln.cfg" lies, worked out afresh for every read and write.
struct SettingsFolder {
    std::string path;
    bool perUser = false; // the user's own configuration folder rather than the program's
};

// The program's folder when the settings are usable there: a prtln.cfg there that the user may
// write, or a folder the user may write (a copy run from its build folder or a stick). A copy run
// from an installed tree (its data folder share/portolan beside its bin folder) takes only a
// prtln.cfg that is already there, whoever runs it. Otherwise, as for a program installed in a
// system folder, the user's own folder (userSettingsFolder: $XDG_CONFIG_HOME/portolan or
// $HOME/.config/portolan, on Windows %APPDATA%\Portolan). Where the system names no such folder, the
// program's folder all the same.
SettingsFolder settingsFolder(const ProgramPlaces& places);

// readSettingsFile in the folder that settingsFolder names.
bool readSettings(const ProgramPlaces& places, Settings& values);

// writeSettingsFile in the folder that settingsFolder names; the user's own folder is made first,
// private to the user, when it is missing. Like every failure of the write, a folder that cannot be
// made is not reported.
void writeSettings(const ProgramPlaces& places, const Settings& values);

} // namespace portolan
