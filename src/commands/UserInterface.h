#pragma once

#include "book/Messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portolan {

// The controls whose enabled state follows the selection of the site list.
enum class SiteControl { DeletePD, DeleteSB, editSB, getInfoPD, getInfoSB };

// The file dialogs that commands run.
enum class FileDialog { OpenSite, SaveSite, ExportTarget, Import };

// The main window's outer frame in screen pixels.
struct WindowBounds {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// What the commands need of the windows: questions, file names, the site list, the status panels, the
// title, enabled states, the main window's bounds and the add/edit dialog. The main window implements
// it; tests use a recording fake. Three kinds of text cross it, each in one form:
// - Shown texts (messages, the title, the status panels, the prompt's caption, prompt, proposal and
//   answer) are Unicode, in UTF-8. A path joins them as it stands, its bytes being UTF-8 on Linux; the
//   Windows-1252 texts of site files and date settings are converted (utf8FromCp1252) where they enter.
// - Entries of the site list are descriptions, Windows-1252 bytes exactly as the site file holds them:
//   each of the 256 byte values comes back from the list unchanged.
// - File names from the file dialogs are paths, the system's own bytes, never converted.
class UserInterface : public MessageSink {
public:
    // The one-line input dialog, showing proposed: the text the user confirmed with OK, exactly as typed,
    // or nothing when the user cancelled it in any way (Cancel, Escape, the close box), so that a command
    // can tell a cancel from a confirmed proposal.
    virtual std::optional<std::string> InputQuery(std::string_view caption, std::string_view prompt,
                                                  std::string_view proposed) = 0;

    // A message dialog as MessageDialog shows it, with a list of lines under its text (UTF-8): the import's
    // summary, with what happens to each site. No other message has such a list.
    virtual int MessageDialogWithDetails(std::string_view text, MessageKind kind, MessageButtons buttons,
                                         const std::vector<std::string>& details) = 0;

    // Runs a file dialog; the chosen name, or nothing when the user cancels.
    virtual std::optional<std::string> runFileDialog(FileDialog dialog) = 0;
    // Empties the file name that a dialog offers next time.
    virtual void clearFileDialogName(FileDialog dialog) = 0;

    // The sorted site list (SiteBox). Indexes are positions in its sorted order.
    virtual void addSiteItem(std::string_view description) = 0;
    virtual void deleteSiteItem(int index) = 0;
    virtual void clearSiteItems() = 0;
    virtual int selectedSiteIndex() const = 0; // -1 when nothing is selected
    virtual std::string siteItemText(int index) const = 0;

    virtual void setStatusText(int panel, std::string_view text) = 0;
    virtual void setTitle(std::string_view title) = 0;
    virtual void setControlEnabled(SiteControl control, bool enabled) = 0;
    virtual WindowBounds windowBounds() const = 0;

    // Shows the add/edit dialog modally and returns when it has closed.
    virtual void showSiteDialog() = 0;
};

} // namespace portolan
