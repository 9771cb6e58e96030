#include "book/SettingsLocation.h"

#include "runtime/Files.h"

namespace portolan {

namespace {

// A copy run from an installed tree, whose data folder lies beside its bin folder.
bool isInstalledCopy(const ProgramPlaces& places, const std::string& programFolder) {
    return places.isFolder(programFolder + pathSeparator + PORTOLAN_DATA_FROM_BIN);
}

} // namespace

SettingsFolder settingsFolder(const ProgramPlaces& places) {
    std::string programFolder = places.programFolder();
    // An installed copy never makes a file beside itself, even where its user (root) may write there:
    // no package would own that file, and it would outlive the program's removal.
    if (places.userMayWrite(settingsFilePath(programFolder)) ||
        (places.userMayWrite(programFolder) && !isInstalledCopy(places, programFolder)))
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
