#include "commands/ClientConfiguration.h"

#include "runtime/TextRules.h"

#include <algorithm>

namespace portolan {

namespace {

// The characters at which the launcher splits a command line into words: blank, tab, the line breaks,
// and the no-break space (0xA0 in Windows-1252), which the launcher's word splitting counts as white
// space too.
bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\xA0';
}

} // namespace

std::string confirmClientSettings(Settings& settings, std::string_view commandText, bool useAnonymParam) {
    settings.ClientCommand = std::string(trimControls(commandText));
    settings.UseAnonymParam = useAnonymParam;
    return settings.ClientCommand;
}

std::string appendClientPath(std::string_view commandText, std::string_view chosenName) {
    std::string text(commandText);
    if (std::any_of(chosenName.begin(), chosenName.end(), isWhiteSpace))
        text.append("\"").append(chosenName).append("\"");
    else
        text.append(chosenName);
    return text;
}

} // namespace portolan
