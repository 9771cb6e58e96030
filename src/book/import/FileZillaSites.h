#pragma once

#include "book/import/ImportedSite.h"

#include <optional>
#include <string>
#include <string_view>

namespace portolan {

// Reads the sites of FileZilla's site manager: sitemanager.xml, or a file exported from FileZilla's
// site manager. Every <Server> under <FileZilla3><Servers> is a site, also inside nested <Folder>s,
// in the file's order. Its description is its <Name> (in old files the <Server>'s own text); where sites
// in different folders share a name, each of them gets its folder path in front ("Work/Web/Name").
// Logontype 0 is anonymous login. A <Pass> is plain text or, with encoding="base64", base64 of UTF-8;
// one encrypted with a master password (encoding="crypt") cannot be read. A site without a <Host> is
// marked so, and one whose <Protocol> is neither FTP nor FTPS is named by its protocol.
ImportReading readFileZillaSites(std::string_view bytes);

// A remote directory in FileZilla's own form "type prefix-length [prefix] (length segment)...", such as
// "1 0 4 home 6 debian" for /home/debian, as the path that the server's kind of system writes;
// nothing when the text is not of that form. Lengths count characters, so segments may hold blanks.
std::optional<std::string> pathFromFileZillaDirectory(std::string_view safePath);

} // namespace portolan
