#pragma once

#include "book/DateSettings.h"
#include "book/DayNumber.h"
#include "book/SettingsFile.h"
#include "book/SiteBook.h"
#include "commands/Launcher.h"
#include "runtime/ProgramPlaces.h"

#include <array>
#include <cstdint>
#include <string>

namespace portolan {

// The program-wide state that the windows share, and the outside services the commands use. One
// exists for the whole run; tests make their own with a fixed clock and a recording launcher.
struct Session {
    Session(const Clock& clock, Launcher& launcher, const ProgramPlaces& places)
        : clock(clock), launcher(launcher), places(places) {}

    SiteBook book;

    std::string SiteFileName; // empty while the book is untitled
    bool BookModified = false;

    bool EditMode = false;     // the add/edit dialog is editing slot EditSlot
    std::int32_t EditSlot = 0; // -1 once an edit has ended

    // The stored window bounds, ClientCommand and UseAnonymParam; the command is of any length here.
    Settings settings;
    bool settingsRead = false; // the bounds above came from the settings file

    // The column widths of the export; they only ever grow during a run.
    std::array<std::int32_t, 6> ExportColumnWidths{};

    DateSettings dateSettings;

    const Clock& clock;
    Launcher& launcher;
    const ProgramPlaces& places; // where prtln.cfg is read and written
};

} // namespace portolan
