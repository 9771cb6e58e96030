#include "commands/ClientLaunch.h"

#include <array>
#include <utility>

namespace portolan {

void replaceFirst(std::string& text, std::string_view placeholder, std::string_view value) {
    const auto position = text.find(placeholder);
    if (position != std::string::npos)
        text.replace(position, placeholder.size(), value);
}

std::string expandClientCommand(std::string_view clientCommand, const SiteRecord& site, bool useAnonymParam) {
    std::string line(clientCommand);
    if (useAnonymParam && site.Anonymous != 0) {
        const auto space = line.find(' ');
        line.insert(space == std::string::npos ? 0 : space + 1, "Anonym ");
    }
    const std::array<std::pair<std::string_view, std::string_view>, 7> placeholders{{
        {"%d", site.Description.text()},
        {"%a", site.Address.text()},
        {"%p", site.Port.text()},
        {"%u", site.UserName.text()},
        {"%s", site.Password.text()},
        {"%c", site.Script.text()},
        {"%i", site.LoginDirectory.text()},
    }};
    for (const auto& [placeholder, value] : placeholders)
        replaceFirst(line, placeholder, value);
    return line;
}

void SiteBoxDblClick(Session& session) {
    session.launcher.WinExec(expandClientCommand(session.settings.ClientCommand, session.book.CurrentSite,
                                                 session.settings.UseAnonymParam));
}

} // namespace portolan
