#pragma once

#include <string>
#include <string_view>

namespace portolan {

// The text with every leading and trailing character of code 32 or less removed.
std::string_view trimControls(std::string_view text);

// True when the text holds a character other than the blank (code 32): what makes a description one
// that a site can be stored and found under. A tab counts as such a character.
bool hasNonBlank(std::string_view text);

// The text with the letters a to z changed to A to Z; every other byte stays as it is.
std::string upperCaseAscii(std::string_view text);

// The file name part of a path: the text after its last folder separator (fileNameSeparators: "/", on
// Windows also "\" and ":"). A path without a separator is its own name part.
std::string_view fileNamePart(std::string_view path);

} // namespace portolan
