#pragma once

#include <string_view>

namespace portolan {

// The kinds of file that sites are imported from.
enum class ImportKind { SiteBook, FileZilla, WinScp, Csv };

// Tells the kind of a file by its content, whatever its name:
// - UTF-16 text is FileZilla's XML: no other kind is written in it;
// - a zero byte within the first record's length is a site book, which is binary (text has none);
// - XML (after a UTF-8 byte order mark and white space, a "<") is FileZilla's;
// - a text that starts with an INI section ("[...") is WinSCP's configuration;
// - any other text is CSV.
ImportKind recogniseImportKind(std::string_view bytes);

} // namespace portolan
