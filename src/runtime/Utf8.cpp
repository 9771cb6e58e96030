#include "runtime/Utf8.h"

#include <algorithm>

namespace portolan {

namespace {

bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::size_t decodeUtf8(std::string_view text, char32_t& code) {
    if (text.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    // The lead byte gives the length and the top bits; each length has a least code, below which the
    // form would be overlong.
    std::size_t length = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(text[k]))
            return 0;
        value = (value << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    code = value;
    return length;
}

bool isUtf8(std::string_view text) {
    char32_t code = 0;
    while (!text.empty()) {
        const std::size_t length = decodeUtf8(text, code);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t limit) {
    std::size_t length = std::min(limit, text.size());
    // A character has at most three bytes after its first.
    for (int back = 0; back < 3 && length > 0 && length < text.size() && isContinuation(text[length]); ++back)
        --length;
    return length;
}

} // namespace portolan
