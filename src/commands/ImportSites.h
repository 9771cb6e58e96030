#pragma once

#include "book/import/ImportedSite.h"
#include "commands/Session.h"
#include "commands/UserInterface.h"
#include "runtime/ProgramPlaces.h"

#include <optional>
#include <string>
#include <string_view>

namespace portolan {

// File > Import...: asks for a file in the import dialog, reads its sites by the kind its content shows
// (FileZilla's site manager, WinSCP's configuration, CSV, or another site book), and shows what will
// happen to each site before anything changes: a summary with a line per site, answered Yes (store them,
// replacing the book's sites of the same description), No (store them, keeping the book's) or Cancel
// (nothing). Each site is then stored as Insert stores one: into the lowest free slot, stamped today,
// listed; the book becomes changed and nothing is written to disk. A file that cannot be read or is of
// no known kind is reported and changes nothing.
void importSites(Session& session, UserInterface& ui);

// The sites of the file at path, or nothing after a message saying why there are none to show.
std::optional<ImportReading> readImportFile(const std::string& path, UserInterface& ui);

// The folder the import dialog starts in: FileZilla's settings folder when there is one — an absolute
// $XDG_CONFIG_HOME/filezilla, $HOME/.config/filezilla, $HOME/.filezilla and, on Windows, where APPDATA
// is set, $APPDATA/FileZilla, in that order — else the folder of the book's file, and for an untitled
// book nothing (the dialog's own choice).
std::string importStartFolder(const ProgramPlaces& places, std::string_view siteFileName);

} // namespace portolan
