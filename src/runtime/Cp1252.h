#pragma once

#include <string>
#include <string_view>

namespace portolan {

// Texts are Windows-1252 bytes everywhere but at a widget. These two convert at that boundary.
// Every byte value survives the round trip: the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, as Windows does.

std::u16string utf16FromCp1252(std::string_view bytes);

// A character that Windows-1252 lacks becomes "?" (a surrogate pair counts as one character).
std::string cp1252FromUtf16(std::u16string_view text);

// File names are texts too; the system's file functions take them as UTF-8. A name that holds a
// character Windows-1252 lacks cannot be named, as with any program that works in one code page.
std::string utf8FromCp1252(std::string_view bytes);
std::string cp1252FromUtf8(std::string_view text); // invalid UTF-8 bytes become "?"

} // namespace portolan
