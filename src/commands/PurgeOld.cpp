#include "commands/PurgeOld.h"

#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/Cp1252.h"

namespace portolan {

void PurgeOldSites(Session& session, UserInterface& ui) {
    const std::string proposal = FormatDateText(Today(session.clock), session.dateSettings);
    const auto answer = ui.InputQuery("Purge Old", "Specify cut-off date:", utf8FromCp1252(proposal));
    if (!answer || answer->empty())
        return;
    // The year is the clock's when the answer is read: the prompt may have stood open over New Year.
    DayNumber cutOff;
    try {
        cutOff = ParseDateText(cp1252FromUtf8(*answer), session.dateSettings, session.clock.localDate().year);
    } catch (const EConvertError&) {
        throw invalidDate(*answer); // quoting the letters that Windows-1252 lacks as typed, too
    }

    SiteBook& book = session.book;
    for (SiteRecord& record : book.SiteTable)
        // Written as "not on or after" so that a Stamp that is not a number is purged too.
        if (!(record.stamp() >= cutOff))
            record.Active = 0;
    ui.clearSiteItems();
    for (const std::string& description : book.listActiveSites())
        ui.addSiteItem(description);
}

} // namespace portolan
