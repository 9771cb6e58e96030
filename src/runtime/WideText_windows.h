#pragma once

// UTF-8, the program's own form of paths and of the system's texts, and UTF-16, the form the wide ("W")
// Win32 calls take and give (Windows builds only).

#include <string>
#include <string_view>

namespace portolan {

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

// A path as a wide Win32 call takes it: in UTF-16, and once the absolute path that the system makes of it
// (a relative one joined to the current folder) is too long for the system's classic limit (MAX_PATH,
// less the room that a folder's names need), as that whole absolute path in the "\\?\" form, with
// backslashes only and without "." and "..", which reaches 32,767 characters. A path already in the
// "\\?\" or "\\.\" form goes as it stands.
std::wstring systemPath(const std::string& path);

} // namespace portolan
