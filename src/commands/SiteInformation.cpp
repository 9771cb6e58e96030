#include "commands/SiteInformation.h"

#include "book/DatePattern.h"
#include "commands/SiteSelection.h"
#include "runtime/Cp1252.h"

namespace portolan {

std::string SiteInformationText(const SiteRecord& site, const DateSettings& dateSettings) {
    std::string text;
    text.append("Description: ").append(site.Description.text());
    text.append("\r\nAddress: ").append(site.Address.text());
    text.append("\r\nPort: ").append(site.Port.text());
    text.append("\r\nAnonymous Login: ").append(site.Anonymous != 0 ? "Yes" : "No");
    text.append("\r\nUser: ").append(site.UserName.text());
    text.append("\r\nPassword: ").append(site.Password.text());
    text.append("\r\nLogin Dir: ").append(site.LoginDirectory.text());
    text.append("\r\nScript: ").append(site.Script.text());
    text.append("\r\nDate: ").append(FormatDateText(site.stamp(), dateSettings));
    return text;
}

void ShowSiteInformation(const Session& session, UserInterface& ui) {
    const auto slot = selectedSiteSlot(session, ui);
    if (!slot)
        return;
    ui.MessageDialog(utf8FromCp1252(SiteInformationText(session.book.SiteTable[*slot], session.dateSettings)),
                     MessageKind::Information, button::OK);
}

} // namespace portolan
