#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace portolan {

// Texts meet widgets only through these, one pair for each kind of text the program keeps.

// The texts of site files, of the settings record and of the date settings: Windows-1252 bytes on every
// system. Every byte value survives the round trip; a character Windows-1252 lacks comes back as "?".
QString toQString(std::string_view bytes);
std::string fromQString(const QString& text);

// Texts shown to the user, such as a message joining the program's words with a path: UTF-8.
QString unicodeToQString(std::string_view text);
std::string unicodeFromQString(const QString& text);

// Paths, and the client's command line, which names a program by its path: UTF-8, the program's own
// form of them on every system (the system's own bytes on Linux, turned into UTF-16 at each Windows
// call), never Windows-1252 and never refused.
QString pathToQString(std::string_view path);
std::string pathFromQString(const QString& path);

} // namespace portolan
