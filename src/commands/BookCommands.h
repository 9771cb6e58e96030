#pragma once

#include "commands/Session.h"
#include "commands/UserInterface.h"

#include <string>

namespace portolan {

// The commands on the book as a whole. Each keeps SiteFileName, BookModified and the title in step.

// Starts an untitled, empty book, after asking when there are unsaved changes.
void newBook(Session& session, UserInterface& ui);

// Opens a site file chosen in the open dialog, after asking when there are unsaved changes. When the
// file cannot be read the previous book stays and the list shows it again.
void openSiteFile(Session& session, UserInterface& ui);

// Reads the site file named on the command line when the main window is first shown.
void openStartupFile(Session& session, UserInterface& ui, const std::string& path);

// Writes the book to its file; an untitled book asks for a name first, and for leave to overwrite an
// existing file. A successful write leaves the book unchanged; after a failed one it stays changed.
void saveSiteFile(Session& session, UserInterface& ui);

// Asks for a new name and writes the book there, without an overwrite question; cancelled, it writes
// nothing, whether the book has a file or not.
void saveasSiteFile(Session& session, UserInterface& ui);

// The main window is asked to close: asks about unsaved changes, writes the settings file whatever
// the answer, and returns whether the window may close. Only Yes lets a changed book close; No and a
// question closed without an answer keep the window open.
bool FormCloseQuery(Session& session, UserInterface& ui);

// Reads the settings file into the session (the main window's creation); a failing close of the file
// throws InOutError after the values have been taken.
void loadSettings(Session& session);

} // namespace portolan
