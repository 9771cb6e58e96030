#include "commands/ClientLaunch.h"

#include "runtime/Cp1252.h"

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
    const std::array<std::pair<std::string_view, std::string>, 7> placeholders{{
        {"%d", utf8FromCp1252(site.Description.text())},
        {"%a", utf8FromCp1252(site.Address.text())},
        {"%p", utf8FromCp1252(site.Port.text())},
        {"%u", utf8FromCp1252(site.UserName.text())},
        {"%s", utf8FromCp1252(site.Password.text())},
        {"%c", utf8FromCp1252(site.Script.text())},
        {"%i", utf8FromCp1252(site.LoginDirectory.text())},
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
