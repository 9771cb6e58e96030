#include "book/SettingsLocation.h"

namespace portolan {

SettingsFolder settingsFolder(const ProgramPlaces& places) {
    std::string programFolder = places.programFolder();
    if (places.userMayWrite(settingsFilePath(programFolder)) || places.userMayWrite(programFolder))
        return {std::move(programFolder), false};
    std::string userFolder = places.userSettingsFolder();
    if (!userFolder.empty())
        return {std::move(userFolder), true};
    return {std::move(programFolder), false};
}

bool readSettings(const ProgramPlaces& places, Settings& values) {
    return readSettingsFile(settingsFolder(places).path, values);
}

void writeSettings(const ProgramPlaces& places, const Settings& values) {
    const SettingsFolder folder = settingsFolder(places);
    if (folder.perUser)
        places.makePrivateFolder(folder.path); // a failure shows as the failing write below
    writeSettingsFile(folder.path, values);
}

} // namespace portolan
