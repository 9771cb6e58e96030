#include "commands/ImportPlan.h"

#include "runtime/Cp1252.h"
#include "runtime/TextRules.h"

#include <algorithm>
#include <set>

namespace portolan {

namespace {

// A text as a field keeps it: converted to Windows-1252 and cut to the field's capacity.
struct KeptText {
    std::string text;
    bool cut = false;
    bool converted = false;
};

KeptText keep(std::string_view unicode, std::size_t capacity) {
    KeptText kept;
    kept.text = cp1252FromUtf8(unicode);
    kept.converted = utf8FromCp1252(kept.text) != unicode;
    kept.cut = kept.text.size() > capacity;
    kept.text.resize(std::min(kept.text.size(), capacity));
    return kept;
}

void noteKept(PlannedSite& planned, const KeptText& kept, std::string_view field, std::size_t capacity) {
    if (kept.cut)
        planned.notes.push_back(std::string(field) + " cut to " + std::to_string(capacity) + " characters");
    if (kept.converted)
        planned.notes.push_back(std::string(field) + ": letters that Portolan cannot store became \"?\"");
    planned.cut = planned.cut || kept.cut;
    planned.converted = planned.converted || kept.converted;
}

struct OtherField {
    const char* name;
    std::string SiteFields::*text;
    std::size_t capacity;
};

template <typename Field>
constexpr std::size_t capacityOf = Field::capacity;

constexpr std::size_t DescriptionCapacity = capacityOf<decltype(SiteRecord::Description)>;

// The fields after the description, named as the add/edit dialog names them.
constexpr OtherField otherFields[] = {
    {"Address", &SiteFields::Address, capacityOf<decltype(SiteRecord::Address)>},
    {"Port", &SiteFields::Port, capacityOf<decltype(SiteRecord::Port)>},
    {"User Name", &SiteFields::UserName, capacityOf<decltype(SiteRecord::UserName)>},
    {"Password", &SiteFields::Password, capacityOf<decltype(SiteRecord::Password)>},
    {"Login Directory", &SiteFields::LoginDirectory, capacityOf<decltype(SiteRecord::LoginDirectory)>},
    {"Script", &SiteFields::Script, capacityOf<decltype(SiteRecord::Script)>},
};

// The descriptions taken so far: the book's active sites and the sites planned before.
class TakenDescriptions {
public:
    explicit TakenDescriptions(const SiteBook& book) {
        for (const SiteRecord& record : book.SiteTable)
            if (record.Active != 0)
                book_.emplace(record.Description.text());
    }
    bool byBook(const std::string& description) const { return book_.contains(description); }
    bool byFile(const std::string& description) const { return file_.contains(description); }
    bool any(const std::string& description) const { return byBook(description) || byFile(description); }
    void take(const std::string& description) { file_.insert(description); }

private:
    std::set<std::string> book_;
    std::set<std::string> file_;
};

// The description with the lowest number " (2)", " (3)", ... that is not taken, within the field.
std::string numbered(const std::string& description, const TakenDescriptions& taken) {
    for (int number = 2;; ++number) {
        const std::string suffix = " (" + std::to_string(number) + ")";
        const std::string candidate = description.substr(0, DescriptionCapacity - suffix.size()) + suffix;
        if (!taken.any(candidate))
            return candidate;
    }
}

std::string countOf(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string outcomeText(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::Added:
        return "added";
    case ImportOutcome::InBook:
        return "already in the book (Yes replaces the book's site, No keeps it)";
    case ImportOutcome::WithoutHost:
        return "left out: it has no host";
    case ImportOutcome::OverLimit:
        return "left out: a book holds at most 200 sites";
    }
    return {};
}

} // namespace

int ImportPlan::count(ImportOutcome outcome) const {
    return static_cast<int>(std::count_if(sites.begin(), sites.end(),
                                          [&](const PlannedSite& site) { return site.outcome == outcome; }));
}

int ImportPlan::countStored(bool PlannedSite::*property) const {
    return static_cast<int>(std::count_if(sites.begin(), sites.end(), [&](const PlannedSite& site) {
        return (site.outcome == ImportOutcome::Added || site.outcome == ImportOutcome::InBook) &&
               site.*property;
    }));
}

// The fields after the description as the book keeps them, and what they and the site lose.
void keepOtherFields(PlannedSite& planned, const ImportedSite& site) {
    for (const OtherField& field : otherFields) {
        const KeptText kept = keep(site.fields.*field.text, field.capacity);
        noteKept(planned, kept, field.name, field.capacity);
        planned.fields.*field.text = kept.text;
    }
    planned.fields.Anonymous = site.fields.Anonymous;
    planned.otherProtocol = !site.otherProtocol.empty();
    if (planned.otherProtocol)
        planned.notes.push_back("not an FTP site (" + site.otherProtocol + ")");
    planned.passwordUnreadable = site.passwordUnreadable;
    if (planned.passwordUnreadable)
        planned.notes.push_back("without its password, which could not be read");
}

ImportPlan planImport(const SiteBook& book, const ImportReading& reading) {
    ImportPlan plan;
    TakenDescriptions taken(book);
    int room = std::max(0, MaxSites - book.SiteCount);
    for (const ImportedSite& site : reading.sites) {
        PlannedSite& planned = plan.sites.emplace_back();
        const std::string& description =
            !hasNonBlank(site.fields.Description) ? site.fields.Address : site.fields.Description;
        planned.name = !hasNonBlank(description) ? "(no name)" : description;
        if (site.withoutHost) {
            planned.outcome = ImportOutcome::WithoutHost;
            continue;
        }

        const KeptText kept = keep(description, DescriptionCapacity);
        planned.fields.Description = kept.text;
        if (kept.cut || kept.converted ? taken.any(kept.text) : taken.byFile(kept.text)) {
            planned.fields.Description = numbered(cp1252FromUtf8(description), taken);
            planned.renamed = true;
        } else if (taken.byBook(kept.text)) {
            planned.outcome = ImportOutcome::InBook;
        }
        if (planned.outcome == ImportOutcome::Added) {
            if (room == 0) {
                planned.outcome = ImportOutcome::OverLimit;
                continue;
            }
            --room;
        }
        taken.take(planned.fields.Description);
        noteKept(planned, kept, "Description", DescriptionCapacity);
        if (planned.renamed)
            planned.notes.push_back("gets the description \"" + utf8FromCp1252(planned.fields.Description) +
                                    "\"");
        keepOtherFields(planned, site);
    }
    return plan;
}

ImportQuestion importQuestion(const ImportPlan& plan, std::string_view fileName) {
    ImportQuestion question;
    const int total = static_cast<int>(plan.sites.size());
    if (total == 0) {
        question.text = std::string(fileName) + " holds no sites.";
        question.kind = MessageKind::Information;
        question.buttons = button::OK;
        return question;
    }
    const int added = plan.count(ImportOutcome::Added);
    const int inBook = plan.count(ImportOutcome::InBook);
    std::vector<std::string> parts;
    if (added > 0 || plan.limitReached())
        parts.push_back(added > 0 ? std::to_string(added) + " will be added" : "none will be added");
    if (inBook > 0)
        parts.push_back(countOf(inBook, "has", "have") + " the description of a site already in the book");
    if (const int over = plan.count(ImportOutcome::OverLimit); over > 0)
        parts.push_back(countOf(over, "is", "are") + " left out because a book holds at most 200 sites");
    if (const int withoutHost = plan.count(ImportOutcome::WithoutHost); withoutHost > 0)
        parts.push_back(countOf(withoutHost, "has no host and is", "have no host and are") + " left out");
    if (const int renamed = plan.countStored(&PlannedSite::renamed); renamed > 0)
        parts.push_back(countOf(renamed, "gets a number after its", "get a number after their") +
                        " description");
    if (const int other = plan.countStored(&PlannedSite::otherProtocol); other > 0)
        parts.push_back(countOf(other, "is not an FTP site", "are not FTP sites"));
    if (const int unreadable = plan.countStored(&PlannedSite::passwordUnreadable); unreadable > 0)
        parts.push_back(countOf(unreadable, "has a password", "have passwords") + " that could not be read");
    if (const int cut = plan.countStored(&PlannedSite::cut); cut > 0)
        parts.push_back(countOf(cut, "has", "have") + " fields longer than Portolan keeps");
    if (const int converted = plan.countStored(&PlannedSite::converted); converted > 0)
        parts.push_back(countOf(converted, "has", "have") + " letters that Portolan stores as \"?\"");

    question.text = std::string(fileName) + " holds " + countOf(total, "site", "sites") + ": ";
    for (std::size_t i = 0; i < parts.size(); ++i)
        question.text += (i == 0 ? "" : ", ") + parts[i];
    question.text += ". ";
    if (inBook > 0) {
        question.text +=
            inBook == 1 ? "Replace the site that is already in the book?"
                        : "Replace the " + std::to_string(inBook) + " sites that are already in the book?";
        question.buttons = button::Yes | button::No | button::Cancel;
    } else if (added > 0) {
        question.text += added == 1 ? "Add it to the book?" : "Add them to the book?";
        question.buttons = button::Yes | button::Cancel;
    } else {
        question.text += "Nothing can be imported.";
        question.kind = MessageKind::Information;
        question.buttons = button::OK;
    }
    return question;
}

std::vector<std::string> importDetails(const ImportPlan& plan) {
    std::vector<std::string> lines;
    for (const PlannedSite& site : plan.sites) {
        std::string line = site.name + ": " + outcomeText(site.outcome);
        for (const std::string& note : site.notes)
            line += "; " + note;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace portolan
