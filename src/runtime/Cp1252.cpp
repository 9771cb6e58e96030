#include "runtime/Cp1252.h"

#include "runtime/Utf8.h"

#include <array>

namespace portolan {

namespace {

// The characters of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> upperControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t characterOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? upperControls[byte - 0x80] : char16_t{byte};
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

char byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < upperControls.size(); ++i)
        if (upperControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::u16string utf16FromCp1252(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.push_back(characterOf(static_cast<unsigned char>(byte)));
    return text;
}

std::string cp1252FromUtf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
        bytes.push_back(byteOf(text[i]));
    }
    return bytes;
}

std::string utf8FromCp1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char16_t c : utf16FromCp1252(bytes)) {
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xE0 | (c >> 12)));
            text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return text;
}

std::string cp1252FromUtf8(std::string_view text) {
    std::u16string characters;
    while (!text.empty()) {
        char32_t code = 0;
        const std::size_t length = decodeUtf8(text, code);
        // A byte that starts no character becomes a placeholder, and so does a character beyond the
        // basic plane, which cannot be in Windows-1252.
        characters.push_back(length > 0 && code < 0x10000 ? static_cast<char16_t>(code) : u'\uFFFD');
        text.remove_prefix(length > 0 ? length : 1);
    }
    return cp1252FromUtf16(characters);
}

std::string utf8FromUtf8OrCp1252(std::string_view bytes) {
    return isUtf8(bytes) ? std::string(bytes) : utf8FromCp1252(bytes);
}

} // namespace portolan
