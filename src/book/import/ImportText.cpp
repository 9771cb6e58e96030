#include "book/import/ImportText.h"

#include "runtime/Cp1252.h"

namespace portolan {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view withoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(byteOrderMark))
        bytes.remove_prefix(byteOrderMark.size());
    return bytes;
}

std::string unicodeFromFileText(std::string_view bytes) {
    return utf8FromUtf8OrCp1252(withoutByteOrderMark(bytes));
}

std::optional<std::size_t> utf8PrefixSize(std::string_view text, std::size_t count) {
    std::size_t size = 0;
    for (; count > 0; --count) {
        if (size == text.size())
            return std::nullopt;
        ++size;
        while (size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            ++size; // the continuation bytes of the same character
    }
    return size;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::string percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (high >= 0 && low >= 0) {
            decoded.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

bool isAnonymousUserName(std::string_view userName) {
    const std::string_view name = trimBlanks(userName);
    return name.empty() || equalsIgnoringCase(name, "anonymous");
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace portolan
