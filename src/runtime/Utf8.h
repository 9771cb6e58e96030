#pragma once

#include <cstddef>
#include <string_view>

namespace portolan {

// UTF-8 as the standard defines it: no overlong forms, no surrogates, nothing above U+10FFFF.

// Decodes the character that text starts with into code and returns its length in bytes; returns 0,
// leaving code as it was, when text is empty or does not start with a well-formed character.
std::size_t decodeUtf8(std::string_view text, char32_t& code);

// True when text is well-formed UTF-8 from its first byte to its last.
bool isUtf8(std::string_view text);

// The length of the longest start of text that has at most limit bytes and does not end inside a
// character of well-formed UTF-8.
std::size_t utf8PrefixLength(std::string_view text, std::size_t limit);

} // namespace portolan
