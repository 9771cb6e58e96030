#pragma once

#include <string>
#include <string_view>

namespace portolan {

// The texts of site files, of the settings record and of the date settings are Windows-1252 bytes
// everywhere but at a widget or in a text shown to the user. These convert at those boundaries.
// Every byte value survives the round trip: the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, as Windows does.

std::u16string utf16FromCp1252(std::string_view bytes);

// A character that Windows-1252 lacks becomes "?" (a surrogate pair counts as one character).
std::string cp1252FromUtf16(std::u16string_view text);

// The same conversions to and from UTF-8, the form of the texts shown to the user and of the system's
// locale texts. Paths are never converted: they are the system's own bytes.
std::string utf8FromCp1252(std::string_view bytes);
std::string cp1252FromUtf8(std::string_view text); // invalid UTF-8 bytes become "?"

// A text that newer writers store as UTF-8 and older ones as Windows-1252, as UTF-8: well-formed UTF-8
// is taken as it stands, anything else is read as Windows-1252.
std::string utf8FromUtf8OrCp1252(std::string_view bytes);

} // namespace portolan
