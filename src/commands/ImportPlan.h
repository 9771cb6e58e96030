#pragma once

#include "book/Messages.h"
#include "book/SiteBook.h"
#include "book/import/ImportedSite.h"

#include <string>
#include <string_view>
#include <vector>

namespace portolan {

// What an import will do to one site of the file.
enum class ImportOutcome {
    Added,       // stored as a new site
    InBook,      // an active site of the book has its description: replaced, or kept, as the user says
    WithoutHost, // left out: another program's site without a host
    OverLimit,   // left out: the book would pass 200 sites
};

// One site of the file as the book would keep it.
struct PlannedSite {
    std::string name; // UTF-8: the site's name in the file (its description, else its host)
    ImportOutcome outcome = ImportOutcome::Added;
    SiteFields fields;              // Windows-1252, each text cut to its field's capacity
    std::vector<std::string> notes; // UTF-8: each way in which the stored site differs from the file's
    bool renamed = false;           // the description got a number so as not to take a taken one
    bool cut = false;               // a field is longer than Portolan keeps
    bool converted = false;         // a field holds letters that Windows-1252 lacks, stored as "?"
    bool otherProtocol = false;
    bool passwordUnreadable = false;
};

// The whole import, worked out before anything changes.
struct ImportPlan {
    std::vector<PlannedSite> sites; // in the file's order

    int count(ImportOutcome outcome) const;
    // Sites to be stored (added, or in the book) that have the property.
    int countStored(bool PlannedSite::*property) const;
    bool limitReached() const { return count(ImportOutcome::OverLimit) > 0; }
};

// Works out what importing the sites does to the book:
// - a site without a host is left out;
// - a site whose description is blank takes its host as its description;
// - each text is converted to Windows-1252 ("?" for a letter it lacks) and cut to its field's capacity,
//   and every cut or converted field is noted;
// - a description that an active site of the book has, unchanged, is in the book;
// - a description that the file has twice, or that cutting or converting turns into a taken one (of
//   the book or of a site before it in the file), gets " (2)", " (3)", ... within 128 characters;
// - new sites are taken in the file's order while the book has room for them (200 sites at most);
//   the others are left out.
ImportPlan planImport(const SiteBook& book, const ImportReading& reading);

// The question that shows the plan: its text (UTF-8, beginning with fileName), kind and buttons.
// With sites in the book: a confirmation with Yes (replace them), No (keep the book's) and Cancel;
// otherwise with Yes and Cancel; an information with OK when nothing can be imported.
struct ImportQuestion {
    std::string text;
    MessageKind kind = MessageKind::Confirmation;
    MessageButtons buttons = 0;
};
ImportQuestion importQuestion(const ImportPlan& plan, std::string_view fileName);

// One line per site, in the file's order: its name, what happens to it, and its notes (UTF-8).
std::vector<std::string> importDetails(const ImportPlan& plan);

} // namespace portolan
