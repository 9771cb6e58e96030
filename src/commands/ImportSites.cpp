#include "commands/ImportSites.h"

#include "book/SiteFile.h"
#include "book/import/BookSites.h"
#include "book/import/CsvSites.h"
#include "book/import/FileZillaSites.h"
#include "book/import/ImportKind.h"
#include "book/import/WinScpSites.h"
#include "commands/ImportPlan.h"
#include "commands/SiteSelection.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextRules.h"

#include <memory>
#include <vector>

namespace portolan {

namespace {

// No list of sites comes near this; a larger file is refused rather than read into memory.
constexpr std::size_t largestImport = 16 * 1024 * 1024;

// The whole file, or the code of the failure to read it; a file larger than largestImport is cut there.
struct FileBytes {
    std::string bytes;
    int failure = 0;
};

FileBytes readWholeFile(const std::string& path) {
    FileBytes result;
    PlainFile file;
    file.openForReading(path);
    if ((result.failure = file.fetchError()) != 0)
        return result;
    std::vector<char> buffer(64 * 1024);
    std::size_t got = 0;
    do {
        got = file.read(buffer.data(), buffer.size());
        result.bytes.append(buffer.data(), got);
    } while (got == buffer.size() && result.bytes.size() <= largestImport);
    // The last read meets the end of the file, which it records; any other code is a failure.
    if (const int code = file.fetchError(); code != ioCode::ReadBeyondEnd)
        result.failure = code;
    file.close();
    if (const int code = file.fetchError(); code != 0)
        result.failure = code;
    return result;
}

// Takes every active site of this description out of the book (a book written elsewhere may have
// more than one).
void removeActiveSites(SiteBook& book, std::string_view description) {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (book.SiteTable[slot].Active != 0 && book.SiteTable[slot].Description.text() == description)
            book.removeSite(slot);
}

// Stores the planned sites as Insert stores a site; replace takes the book's sites of the same
// description out first. Lists the book anew when anything was stored.
void storeImport(Session& session, UserInterface& ui, const ImportPlan& plan, bool replace) {
    SiteBook& book = session.book;
    const DayNumber today = Today(session.clock);
    for (const PlannedSite& site : plan.sites)
        if (replace && site.outcome == ImportOutcome::InBook)
            removeActiveSites(book, site.fields.Description);
    bool stored = false;
    for (const PlannedSite& site : plan.sites) {
        if (site.outcome != ImportOutcome::Added && !(replace && site.outcome == ImportOutcome::InBook))
            continue;
        const auto slot = book.findFreeSlot();
        if (!slot)
            break;
        book.storeSite(*slot, site.fields, today);
        ++book.SiteCount;
        stored = true;
    }
    if (!stored)
        return;
    ui.clearSiteItems();
    for (const std::string& description : book.listActiveSites())
        ui.addSiteItem(description);
    session.BookModified = true;
    enableSiteControls(ui);
}

} // namespace

std::optional<ImportReading> readImportFile(const std::string& path, UserInterface& ui) {
    const FileBytes file = readWholeFile(path);
    if (file.failure != 0) {
        ui.MessageDialog("Could not read " + path + ": " + ioErrorText(file.failure) + ".",
                         MessageKind::Error, button::OK);
        return std::nullopt;
    }
    ImportReading reading;
    if (file.bytes.size() > largestImport) {
        reading.refusal = "it is larger than any list of sites";
    } else {
        switch (recogniseImportKind(file.bytes)) {
        case ImportKind::SiteBook: {
            // Read as Open reads a book, with the same messages when it cannot be.
            const auto other = std::make_unique<SiteBook>();
            if (!readSiteFile(*other, path, ui))
                return std::nullopt;
            reading = sitesOfBook(other->SiteTable);
            break;
        }
        case ImportKind::FileZilla:
            reading = readFileZillaSites(file.bytes);
            break;
        case ImportKind::WinScp:
            reading = readWinScpSites(file.bytes);
            break;
        case ImportKind::Csv:
            reading = readCsvSites(file.bytes);
            break;
        }
    }
    if (!reading.refusal.empty()) {
        ui.MessageDialog(std::string(fileNamePart(path)) + " cannot be imported: " + reading.refusal + ".",
                         MessageKind::Error, button::OK);
        return std::nullopt;
    }
    return reading;
}

void importSites(Session& session, UserInterface& ui) {
    const auto path = ui.runFileDialog(FileDialog::Import);
    if (!path)
        return;
    const auto reading = readImportFile(*path, ui);
    if (!reading)
        return;
    const ImportPlan plan = planImport(session.book, *reading);
    const ImportQuestion question = importQuestion(plan, fileNamePart(*path));
    const int answer =
        ui.MessageDialogWithDetails(question.text, question.kind, question.buttons, importDetails(plan));
    if (answer == AnswerYes && (question.buttons & button::Yes))
        storeImport(session, ui, plan, true);
    else if (answer == AnswerNo && (question.buttons & button::No))
        storeImport(session, ui, plan, false);
}

std::string importStartFolder(const ProgramPlaces& places, std::string_view siteFileName) {
    std::vector<std::string> candidates;
    const std::string configHome = places.xdgConfigHome();
    if (!configHome.empty())
        candidates.push_back(configHome + "/filezilla");
    // A FileZilla started without this XDG_CONFIG_HOME keeps its settings in the default folder, an old one
    // in ~/.filezilla.
    if (const std::string defaultHome = places.defaultConfigHome();
        !defaultHome.empty() && defaultHome != configHome)
        candidates.push_back(defaultHome + "/filezilla");
    if (const std::string home = places.environmentValue("HOME"); !home.empty())
        candidates.push_back(home + "/.filezilla");
    if (const std::string appData = places.environmentValue("APPDATA"); !appData.empty())
        candidates.push_back(appData + "/FileZilla");
    for (const std::string& folder : candidates)
        if (places.isFolder(folder))
            return folder;
    std::string_view folder = siteFileName.substr(0, siteFileName.size() - fileNamePart(siteFileName).size());
    if (folder.size() > 1 && folder.ends_with('/'))
        folder.remove_suffix(1);
    return std::string(folder);
}

} // namespace portolan
