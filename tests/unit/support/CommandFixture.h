#pragma once

#include "FakeUserInterface.h"
#include "TempFolder.h"
#include "TestPlaces.h"

#include "commands/Session.h"

#include <string>

namespace portolan::testing {

// A session on a fixed day (2026-12-07) with a recording user interface and launcher, whose settings
// file lives in a fresh temporary folder.
struct CommandFixture {
    TempFolder folder;
    FixedClock clock{{2026, 12, 7}};
    RecordingLauncher launcher;
    TestPlaces places{folder.path()};
    Session session{clock, launcher, places};
    FakeUserInterface ui;

    // Stores a site into the lowest free slot and lists it, as the add/edit dialog does.
    int addSite(const std::string& description, DayNumber stamp = 35250) {
        SiteFields fields;
        fields.Description = description;
        fields.Address = "ftp." + description + ".example";
        fields.Port = "21";
        const int slot = *session.book.findFreeSlot();
        session.book.storeSite(slot, fields, stamp);
        ++session.book.SiteCount;
        ui.addSiteItem(description);
        return slot;
    }
};

} // namespace portolan::testing
