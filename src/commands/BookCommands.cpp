#include "commands/BookCommands.h"

#include "book/SettingsLocation.h"
#include "book/SiteFile.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextRules.h"

namespace portolan {

namespace {

constexpr std::string_view untitledTitle = "Portolan - untitled";

void resetStatusPanels(UserInterface& ui) {
    ui.setStatusText(0, "0");
    ui.setStatusText(1, "");
}

// New and Open ask the same question; Cancel keeps the book, and so does closing the question without an
// answer, which answers Cancel.
bool mayDiscardChanges(const Session& session, UserInterface& ui) {
    return !session.BookModified ||
           ui.MessageDialog("Are you sure you want to open a site file and loose any unsaved work?",
                            MessageKind::Confirmation, button::OK | button::Cancel) != AnswerCancel;
}

void disableInformationAndDelete(UserInterface& ui) {
    ui.setControlEnabled(SiteControl::getInfoPD, false);
    ui.setControlEnabled(SiteControl::getInfoSB, false);
    ui.setControlEnabled(SiteControl::DeletePD, false);
}

void nameBook(Session& session, UserInterface& ui, const std::string& path) {
    session.SiteFileName = path;
    ui.setTitle("Portolan - " + std::string(fileNamePart(path)));
}

void listSites(const std::vector<std::string>& descriptions, UserInterface& ui) {
    for (const std::string& description : descriptions)
        ui.addSiteItem(description);
}

// Reads a site file into the book. On success the book is titled after the file and unchanged; on
// failure the reader has kept the previous book and the list shows it again, so that what the user
// sees is what a later Save writes.
void loadBook(Session& session, UserInterface& ui, const std::string& path) {
    const auto descriptions = readSiteFile(session.book, path, ui);
    if (!descriptions) {
        listSites(session.book.listActiveSites(), ui);
        return;
    }
    listSites(*descriptions, ui);
    nameBook(session, ui, path);
    session.BookModified = false;
    disableInformationAndDelete(ui);
}

// A failed write leaves the book changed: its changes are still only in memory, so closing must ask.
void writeBook(Session& session, UserInterface& ui) {
    if (writeSiteFile(session.book, session.SiteFileName, ui))
        session.BookModified = false;
}

} // namespace

void newBook(Session& session, UserInterface& ui) {
    resetStatusPanels(ui);
    if (!mayDiscardChanges(session, ui))
        return;
    ui.clearSiteItems();
    session.SiteFileName.clear();
    session.BookModified = false;
    disableInformationAndDelete(ui);
    session.book.clearSites();
    ui.setTitle(untitledTitle);
}

void openSiteFile(Session& session, UserInterface& ui) {
    resetStatusPanels(ui);
    if (!mayDiscardChanges(session, ui))
        return;
    const auto path = ui.runFileDialog(FileDialog::OpenSite);
    if (!path)
        return;
    ui.clearSiteItems();
    loadBook(session, ui, *path);
}

void openStartupFile(Session& session, UserInterface& ui, const std::string& path) {
    loadBook(session, ui, path);
}

void saveSiteFile(Session& session, UserInterface& ui) {
    ui.clearFileDialogName(FileDialog::SaveSite);
    if (session.SiteFileName.empty()) {
        const auto path = ui.runFileDialog(FileDialog::SaveSite);
        if (!path)
            return;
        nameBook(session, ui, *path);
        if (canOpenForReading(session.SiteFileName)) {
            ui.beep();
            // No blank between "to" and "overwrite": the question has always read so. Cancel, also the
            // answer of the question closed without an answer, writes nothing.
            if (ui.MessageDialog(session.SiteFileName + " already exists.  Are you sure you want to" +
                                     "overwrite the file?",
                                 MessageKind::Confirmation, button::OK | button::Cancel) == AnswerCancel)
                return;
        }
    }
    writeBook(session, ui);
}

void saveasSiteFile(Session& session, UserInterface& ui) {
    // A user who cancels may have opened the dialog to keep the current file as it is: write nothing.
    const auto path = ui.runFileDialog(FileDialog::SaveSite);
    if (!path)
        return;
    nameBook(session, ui, *path);
    writeBook(session, ui);
}

bool FormCloseQuery(Session& session, UserInterface& ui) {
    bool mayClose = true;
    // Only Yes gives the changes up. No keeps the program running, and so does a question closed without
    // an answer (its close box or the window manager answer Cancel): a dismissal must not lose work.
    if (session.BookModified)
        mayClose = ui.MessageDialog(std::string(fileNamePart(session.SiteFileName)) +
                                        " has been changed since the last time it was saved.  " +
                                        "Are you sure you want to exit and loose all changes?",
                                    MessageKind::Confirmation, button::Yes | button::No) == AnswerYes;
    Settings values = session.settings;
    const WindowBounds bounds = ui.windowBounds();
    values.Left = bounds.Left;
    values.Top = bounds.Top;
    values.Width = bounds.Width;
    values.Height = bounds.Height;
    writeSettings(session.places, values);
    return mayClose;
}

void loadSettings(Session& session) {
    try {
        session.settingsRead = readSettings(session.places, session.settings);
    } catch (const InOutError&) {
        session.settingsRead = true; // the values were taken before the close failed
        throw;
    }
}

} // namespace portolan
