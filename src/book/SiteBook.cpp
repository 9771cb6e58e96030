#include "book/SiteBook.h"

namespace portolan {

std::optional<int> SiteBook::findSiteSlot(std::string_view description) const {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (SiteTable[slot].Description.text() == description)
            return slot;
    return std::nullopt;
}

bool SiteBook::hasActiveDescription(std::string_view description, std::optional<int> ignoredSlot) const {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (slot != ignoredSlot && SiteTable[slot].Active != 0 &&
            SiteTable[slot].Description.text() == description)
            return true;
    return false;
}

std::optional<int> SiteBook::findFreeSlot() const {
    // A slot with an odd Active byte (a file written elsewhere) is listed as a site, so it is not free:
    // storing into it would overwrite a site the user can see.
    for (int slot = 0; slot < SlotCount; ++slot)
        if (SiteTable[slot].Active == 0)
            return slot;
    return std::nullopt;
}

void SiteBook::storeSite(int slot, const SiteFields& site, DayNumber stamp) {
    SiteRecord& record = SiteTable[slot];
    record.Active = 1;
    record.Description.assign(site.Description);
    record.Address.assign(site.Address);
    record.Port.assign(site.Port);
    record.UserName.assign(site.UserName);
    record.Password.assign(site.Password);
    record.LoginDirectory.assign(site.LoginDirectory);
    record.Script.assign(site.Script);
    record.Anonymous = site.Anonymous ? 1 : 0;
    record.setStamp(stamp);
}

void SiteBook::removeSite(int slot) {
    if (SiteTable[slot].Active != 0)
        --SiteCount;
    SiteTable[slot].Active = 0;
}

void SiteBook::clearSites() {
    for (SiteRecord& record : SiteTable)
        record.Active = 0;
    SiteCount = 0;
}

void SiteBook::copyToCurrent(int slot) {
    CurrentSite = SiteTable[slot];
}

std::vector<std::string> SiteBook::listActiveSites() {
    std::vector<std::string> descriptions;
    SiteCount = 0;
    for (const SiteRecord& record : SiteTable) {
        if (record.Active != 0) {
            descriptions.emplace_back(record.Description.text());
            ++SiteCount;
        }
    }
    return descriptions;
}

} // namespace portolan
