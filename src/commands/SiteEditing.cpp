#include "commands/SiteEditing.h"

#include "commands/SiteSelection.h"
#include "runtime/TextRules.h"

namespace portolan {

namespace {

SiteFields fieldsOf(const SiteRecord& site) {
    SiteFields fields;
    fields.Description = site.Description.text();
    fields.Address = site.Address.text();
    fields.Port = site.Port.text();
    fields.UserName = site.UserName.text();
    fields.Password = site.Password.text();
    fields.LoginDirectory = site.LoginDirectory.text();
    fields.Script = site.Script.text();
    fields.Anonymous = site.Anonymous != 0;
    return fields;
}

} // namespace

void addSite(Session& session, UserInterface& ui) {
    session.EditMode = false;
    ui.showSiteDialog();
    enableSiteControls(ui);
}

void editSBClick(Session& session, UserInterface& ui) {
    const auto slot = selectedSiteSlot(session, ui);
    if (!slot)
        return;
    session.EditMode = true;
    session.EditSlot = *slot;
    ui.showSiteDialog();
    session.EditMode = false;
    session.EditSlot = -1;
    enableSiteControls(ui);
}

void deleteSite(Session& session, UserInterface& ui) {
    const auto slot = selectedSiteSlot(session, ui);
    if (!slot)
        return;
    session.BookModified = true;
    session.book.removeSite(*slot);
    ui.deleteSiteItem(ui.selectedSiteIndex());
    enableSiteControls(ui);
}

SiteDialogContent siteDialogContent(const Session& session) {
    SiteDialogContent content;
    content.fields.Anonymous = true;
    if (session.EditMode) {
        content.caption = "Edit Site";
        content.fields = fieldsOf(session.book.SiteTable[session.EditSlot]);
    } else {
        content.caption = "Insert Site";
    }
    return content;
}

bool okBTNClick(Session& session, UserInterface& ui, const SiteFields& typed) {
    SiteBook& book = session.book;
    std::optional<int> edited;
    if (session.EditMode)
        edited = session.EditSlot;
    SiteFields site = typed;
    site.Description.resize(std::min<std::size_t>(site.Description.size(), DescriptionLimit));

    if (!hasNonBlank(site.Description)) {
        ui.MessageDialog("No description or valid characters specified in sitedescription.",
                         MessageKind::Warning, button::OK);
        return false;
    }
    if (book.hasActiveDescription(site.Description, edited)) {
        ui.MessageDialog("Two sites can not share the same description and one alreadyexists under the "
                         "currently entered description.",
                         MessageKind::Error, button::OK);
        return false;
    }
    const bool editedIsActive = edited && book.SiteTable[*edited].Active != 0;
    if (book.SiteCount - (editedIsActive ? 1 : 0) >= MaxSites) {
        ui.MessageDialog("A maximum number of sites have been used already.  No moremay be added",
                         MessageKind::Information, button::OK);
        return false;
    }

    const DayNumber today = Today(session.clock);
    if (edited) {
        book.removeSite(*edited);
        if (const int index = ui.selectedSiteIndex(); index >= 0)
            ui.deleteSiteItem(index); // the edited site's entry, selected while the dialog is open
        session.EditMode = false;
    }
    // SiteCount counts every non-zero Active byte, so below the limit a slot with Active 0 exists.
    const auto slot = book.findFreeSlot();
    book.storeSite(*slot, site, today);
    ui.addSiteItem(site.Description);
    ++book.SiteCount;
    session.BookModified = true;
    return true;
}

} // namespace portolan
