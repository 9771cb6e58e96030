#include "commands/ClientConfiguration.h"

#include "runtime/TextRules.h"
#include "runtime/Utf8.h"

namespace portolan {

namespace {

// The characters at which the launcher splits a command line into words: Unicode's white space, that is
// blank, tab and the line breaks, the no-break space, and the spaces of other widths.
bool isWhiteSpace(char32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool containsWhiteSpace(std::string_view text) {
    while (!text.empty()) {
        char32_t code = 0;
        const std::size_t length = decodeUtf8(text, code);
        if (length > 0 && isWhiteSpace(code))
            return true;
        text.remove_prefix(length > 0 ? length : 1);
    }
    return false;
}

} // namespace

std::string confirmClientSettings(Settings& settings, std::string_view commandText, bool useAnonymParam) {
    settings.ClientCommand = std::string(trimControls(commandText));
    settings.UseAnonymParam = useAnonymParam;
    return settings.ClientCommand;
}

std::string appendClientPath(std::string_view commandText, std::string_view chosenName) {
    std::string text(commandText);
    if (containsWhiteSpace(chosenName))
        text.append("\"").append(chosenName).append("\"");
    else
        text.append(chosenName);
    return text;
}

} // namespace portolan
