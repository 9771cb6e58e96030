#pragma once

#include "book/SiteRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portolan {

inline constexpr int SlotCount = 201; // one more slot than sites, so a free slot exists below the limit
inline constexpr int MaxSites = 200;

using SiteSlots = std::array<SiteRecord, SlotCount>;

// The texts and the flag of a site as the add/edit dialog holds them, of any length.
struct SiteFields {
    std::string Description;
    std::string Address;
    std::string Port;
    std::string UserName;
    std::string Password;
    std::string LoginDirectory;
    std::string Script;
    bool Anonymous = false;
};

// The whole site book in memory: 201 slots, the count of active ones, and the copy of the site last
// selected in the site list. Every search scans the slots from 0 upward and compares texts exactly
// (same bytes, case-sensitive, no trimming). No operation shows a message or fails.
class SiteBook {
public:
    SiteSlots SiteTable{};      // all zero until written
    std::int32_t SiteCount = 0; // number of slots whose Active byte is not 0
    SiteRecord CurrentSite{};   // written only by copyToCurrent

    // The first slot whose Description equals description, active or not.
    std::optional<int> findSiteSlot(std::string_view description) const;

    // Whether an active slot (any non-zero Active byte) other than ignoredSlot has exactly this
    // Description.
    bool hasActiveDescription(std::string_view description, std::optional<int> ignoredSlot = {}) const;

    // The lowest free slot (Active byte 0). While SiteCount is below 200 there always is one.
    std::optional<int> findFreeSlot() const;

    // Fills a slot: Active 1, each text cut to its field's capacity (the bytes behind it stay as they
    // were), Anonymous 0 or 1, and the stamp. The caller counts the new site.
    void storeSite(int slot, const SiteFields& site, DayNumber stamp);

    // Frees a slot: only its Active byte changes; SiteCount drops by one if the slot was active.
    void removeSite(int slot);

    // Frees every slot (their other bytes stay) and sets SiteCount to 0.
    void clearSites();

    // Copies all 476 bytes of a slot into CurrentSite.
    void copyToCurrent(int slot);

    // Recounts SiteCount and returns the descriptions of the active slots in slot order.
    std::vector<std::string> listActiveSites();
};

} // namespace portolan
