#include "commands/SiteSelection.h"

#include "runtime/Cp1252.h"

namespace portolan {

std::optional<int> selectedSiteSlot(const Session& session, const UserInterface& ui) {
    const int index = ui.selectedSiteIndex();
    if (index < 0)
        return std::nullopt;
    return session.book.findSiteSlot(ui.siteItemText(index));
}

void enableSiteControls(UserInterface& ui) {
    const bool selected = ui.selectedSiteIndex() >= 0;
    for (SiteControl control : {SiteControl::DeletePD, SiteControl::DeleteSB, SiteControl::editSB,
                                SiteControl::getInfoPD, SiteControl::getInfoSB})
        ui.setControlEnabled(control, selected);
}

void SiteBoxClick(Session& session, UserInterface& ui) {
    enableSiteControls(ui);
    const auto slot = selectedSiteSlot(session, ui);
    if (!slot)
        return;
    const SiteRecord& site = session.book.SiteTable[*slot];
    std::string where(site.Address.text());
    where.append(" ").append(site.Port.text()).append(" ").append(site.LoginDirectory.text());
    ui.setStatusText(1, utf8FromCp1252(where));
    session.book.copyToCurrent(*slot);
}

void Timer1Timer(const Session& session, UserInterface& ui) {
    ui.setStatusText(0, std::to_string(session.book.SiteCount));
}

} // namespace portolan
