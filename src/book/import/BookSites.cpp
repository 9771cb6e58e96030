#include "book/import/BookSites.h"

#include "runtime/Cp1252.h"

namespace portolan {

ImportReading sitesOfBook(const SiteSlots& slots) {
    ImportReading reading;
    for (const SiteRecord& record : slots) {
        if (record.Active == 0)
            continue;
        ImportedSite site;
        site.Description = utf8FromCp1252(record.Description.text());
        site.Address = utf8FromCp1252(record.Address.text());
        site.Port = utf8FromCp1252(record.Port.text());
        site.UserName = utf8FromCp1252(record.UserName.text());
        site.Password = utf8FromCp1252(record.Password.text());
        site.LoginDirectory = utf8FromCp1252(record.LoginDirectory.text());
        site.Script = utf8FromCp1252(record.Script.text());
        site.Anonymous = record.Anonymous != 0;
        reading.sites.push_back(std::move(site));
    }
    return reading;
}

} // namespace portolan
