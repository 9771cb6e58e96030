#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"

#include <optional>

namespace portolan {

// The slot of the site selected in the site list, found by the item's text; nothing when no item is
// selected or no slot has that description.
std::optional<int> selectedSiteSlot(const Session& session, const UserInterface& ui);

// Enables the controls that act on the selected site exactly while an item is selected.
void enableSiteControls(UserInterface& ui);

// A change of the selection by the user: updates the controls, shows the site's address, port and
// login directory in status panel 1 and copies the site into CurrentSite.
void SiteBoxClick(Session& session, UserInterface& ui);

// Writes SiteCount into status panel 0, as every timer tick does.
void Timer1Timer(const Session& session, UserInterface& ui);

} // namespace portolan
