#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace portolan {

// Small text rules that the readers of other programs' files share.

// The text without a UTF-8 byte order mark in front.
std::string_view withoutByteOrderMark(std::string_view bytes);

// The text of a file written as UTF-8, with or without a byte order mark, or by older programs in the
// Windows code page: UTF-8 that is well formed is taken as it is, anything else as Windows-1252.
std::string unicodeFromFileText(std::string_view bytes);

// The number of bytes that the first count characters of a UTF-8 text take; nothing when it has fewer.
std::optional<std::size_t> utf8PrefixSize(std::string_view text, std::size_t count);

// Letters a to z and A to Z compared without regard to case; every other byte exactly.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The text with every "%" followed by two hexadecimal digits replaced by the byte they name.
std::string percentDecoded(std::string_view text);

// Whether a site with this user name logs in anonymously where the file says nothing else: without a
// user name, or with the user name "anonymous" in any case.
bool isAnonymousUserName(std::string_view userName);

// The text without blanks and tabs at either end.
std::string_view trimBlanks(std::string_view text);

} // namespace portolan
