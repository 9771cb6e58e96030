#pragma once

// What every import must hold whatever a file holds: one planned site per site read, no more new sites
// than the book has room for, no two stored sites with one description, no stored description that the
// book has unless it is the book's own site, and every text within its field. Aborts when it does not.
#include "book/SiteBook.h"
#include "commands/ImportPlan.h"

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

namespace portolan::fuzzing {

inline void checkPlan(const SiteBook& book, const ImportReading& reading) {
    const ImportPlan plan = planImport(book, reading);
    if (plan.sites.size() != reading.sites.size())
        std::abort();
    if (plan.count(ImportOutcome::Added) > MaxSites - book.SiteCount)
        std::abort();
    std::set<std::string> stored;
    for (const PlannedSite& site : plan.sites) {
        if (site.outcome != ImportOutcome::Added && site.outcome != ImportOutcome::InBook)
            continue;
        const SiteFields& fields = site.fields;
        if (!stored.insert(fields.Description).second ||
            book.hasActiveDescription(fields.Description) != (site.outcome == ImportOutcome::InBook))
            std::abort();
        if (fields.Description.size() > 128 || fields.Address.size() > 30 || fields.Port.size() > 5 ||
            fields.UserName.size() > 20 || fields.Password.size() > 20 ||
            fields.LoginDirectory.size() > 128 || fields.Script.size() > 128)
            std::abort();
    }
    if (importQuestion(plan, "file").text.empty() || importDetails(plan).size() != plan.sites.size())
        std::abort();
}

// Plans the reading against an empty book and against one with room for a single site.
inline void checkReading(const ImportReading& reading) {
    if (!reading.refusal.empty())
        return;
    const auto book = std::make_unique<SiteBook>();
    checkPlan(*book, reading);
    for (int slot = 0; slot < MaxSites - 1; ++slot) {
        SiteFields site;
        site.Description = "Site " + std::to_string(slot);
        book->storeSite(slot, site, 0);
    }
    book->SiteCount = MaxSites - 1;
    checkPlan(*book, reading);
}

} // namespace portolan::fuzzing
