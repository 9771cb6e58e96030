#pragma once

#include "book/SiteRecord.h"
#include "commands/Session.h"

#include <string>
#include <string_view>

namespace portolan {

// Replaces the first occurrence of placeholder in text by value; text stays as it is when there is
// none. An empty value simply removes the placeholder.
void replaceFirst(std::string& text, std::string_view placeholder, std::string_view value);

// The command line for a site: the template with "Anonym " inserted directly after its first space (in
// front of everything when it has none) when useAnonymParam is on and the site is anonymous, then the
// first "%d", "%a", "%p", "%u", "%s", "%c" and "%i" replaced, in that order, by Description, Address,
// Port, UserName, Password, Script and LoginDirectory exactly as stored. Each step searches the text as
// the step before left it, so a placeholder inside an inserted value can be the one replaced later.
// Placeholders are case-sensitive; later occurrences stay literal. Changes nothing.
// The template and the result are the system's own text (UTF-8); the site's fields, Windows-1252 texts
// of the site file, are converted to it as they are inserted, so each keeps its characters.
std::string expandClientCommand(std::string_view clientCommand, const SiteRecord& site, bool useAnonymParam);

// A double-click in the site list: hands the command line for CurrentSite, built from the settings in
// force, to the launcher. Whatever the launcher does is ignored; nothing is shown or changed.
void SiteBoxDblClick(Session& session);

} // namespace portolan
