#pragma once

#include "book/import/ImportedSite.h"

#include <string>
#include <string_view>
#include <vector>

namespace portolan {

// The column names that a CSV file's header row may hold, in any order and any letter case.
inline constexpr std::string_view csvColumnNames[] = {
    "Description", "Address", "Port", "User Name", "Password", "Login Directory", "Anonymous", "Script"};

// Reads sites from a CSV file (RFC 4180: quoted fields, doubled quotes, line ends inside quotes, CR LF or
// LF) whose first row names its columns with csvColumnNames; other columns are not read. The separator
// is a comma or a semicolon, whichever makes more of the header's cells column names. The file is
// UTF-8, with or without a byte order mark (text that is not UTF-8 is taken as Windows-1252). Each
// further row is a site, and rows without any text are skipped. "Anonymous" is yes for 1, yes, y, true
// and x in any case; without that column, a site without a user name or with the user name
// "anonymous" logs in anonymously. A file without such a header row is refused.
ImportReading readCsvSites(std::string_view bytes);

// The rows of a CSV text, each a list of cells, split at separator.
std::vector<std::vector<std::string>> csvRows(std::string_view text, char separator);

} // namespace portolan
