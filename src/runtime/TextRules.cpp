#include "runtime/TextRules.h"

#include "runtime/Files.h"

namespace portolan {

namespace {
bool isControlOrBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

bool hasNonBlank(std::string_view text) {
    return text.find_first_not_of(' ') != std::string_view::npos;
}

std::string_view trimControls(std::string_view text) {
    while (!text.empty() && isControlOrBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isControlOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string upperCaseAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string_view fileNamePart(std::string_view path) {
    const auto separator = path.find_last_of(fileNameSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

} // namespace portolan
