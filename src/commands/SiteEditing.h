#pragma once

#include "book/SiteBook.h"
#include "commands/Session.h"
#include "commands/UserInterface.h"

#include <string>

namespace portolan {

// Insert: shows the add/edit dialog for a new site, then updates the selection-dependent controls.
void addSite(Session& session, UserInterface& ui);

// Edit: shows the add/edit dialog for the selected site; does nothing without one.
void editSBClick(Session& session, UserInterface& ui);

// Delete: frees the selected site's slot and removes its entry, without asking.
void deleteSite(Session& session, UserInterface& ui);

// What the add/edit dialog shows when it opens: its caption and its boxes (empty, anonymous checked,
// for an insert; the edited site's fields for an edit).
struct SiteDialogContent {
    std::string caption;
    SiteFields fields;
};
SiteDialogContent siteDialogContent(const Session& session);

// The longest description the dialog takes: the description field's capacity, so that the list entry,
// the duplicate test and the stored text are always the same.
inline constexpr int DescriptionLimit = 128;

// OK in the add/edit dialog: runs the description, duplicate and limit tests in that order, reporting
// the first that fails, and otherwise stores the site in the lowest free slot with today's date, lists
// it and marks the book changed. An edited site is taken out only once the tests have passed (they
// judge the input as if it were gone). Returns whether the dialog closes.
bool okBTNClick(Session& session, UserInterface& ui, const SiteFields& typed);

} // namespace portolan
