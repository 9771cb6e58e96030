#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"

namespace portolan {

// Purge Old: asks for a cut-off date, proposing today's date text, and deactivates every slot whose
// Stamp is not on or after the cut-off (a Stamp that is not a number counts as older than any cut-off);
// then empties the site list and lists the active sites again, recounting SiteCount. No other field of
// any slot changes, and BookModified, CurrentSite and the enabled states stay as they were.
// Cancelling the prompt, or confirming an empty answer, changes nothing. The answer is read as a
// Windows-1252 text; one that is not a valid date throws EConvertError "'<answer>' is not a valid date",
// quoting the answer exactly as typed, before anything has changed. A two-digit or missing year is read
// against the clock's year at the moment the answer is read, not when the prompt opened.
void PurgeOldSites(Session& session, UserInterface& ui);

} // namespace portolan
