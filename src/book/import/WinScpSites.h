#pragma once

#include "book/import/ImportedSite.h"

#include <optional>
#include <string>
#include <string_view>

namespace portolan {

// Reads the stored sessions of WinSCP's configuration file, WinSCP.ini: each [Sessions\<name>] section
// but WinSCP's template "Default Settings" is a site, in the file's order. Names and values are
// %-escaped in the file; the name, folders included ("Work/Server"), is the description. HostName,
// PortNumber (by default the port of the session's protocol), UserName, RemoteDirectory, and the
// Password in WinSCP's obfuscated form are carried over; with a master password set
// (UseMasterPassword=1 under [Configuration\Security]) the passwords cannot be read. A session without
// a user name or with the user name "anonymous" logs in anonymously. Protocols other than FTP (SFTP,
// SCP, WebDAV, S3) are named. The file is UTF-8, or the Windows code page of older versions.
ImportReading readWinScpSites(std::string_view bytes);

// A password as WinSCP keeps it without a master password: hexadecimal digits, two for each byte of a
// block that holds the password behind the session's user name and host name. Nothing when the text is
// not such a block.
std::optional<std::string> revealWinScpPassword(std::string_view stored, std::string_view userName,
                                                std::string_view hostName);

} // namespace portolan
