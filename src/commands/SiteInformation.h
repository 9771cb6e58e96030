#pragma once

#include "book/DateSettings.h"
#include "book/SiteRecord.h"
#include "commands/Session.h"
#include "commands/UserInterface.h"

#include <string>

namespace portolan {

// The nine labelled lines of a site, joined by CR LF with none after the last: "Description: ",
// "Address: ", "Port: ", "Anonymous Login: " Yes or No, "User: ", "Password: ", "Login Dir: ",
// "Script: ", each followed by its field whole as stored, and "Date: " with the stamp's short date text.
// Windows-1252, as the fields and the date text are.
std::string SiteInformationText(const SiteRecord& site, const DateSettings& dateSettings);

// Get Information: shows the selected site's lines, in Unicode, in an information message with an OK
// button. With no selected item, or no slot whose Description is the item's text, nothing happens.
// Reads only.
void ShowSiteInformation(const Session& session, UserInterface& ui);

} // namespace portolan
