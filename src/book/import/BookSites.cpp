#include "book/import/BookSites.h"

#include "runtime/Cp1252.h"

namespace portolan {

ImportReading sitesOfBook(const SiteSlots& slots) {
    ImportReading reading;
    for (const SiteRecord& record : slots) {
        if (record.Active == 0)
            continue;
        ImportedSite site;
        site.fields.Description = utf8FromCp1252(record.Description.text());
        site.fields.Address = utf8FromCp1252(record.Address.text());
        site.fields.Port = utf8FromCp1252(record.Port.text());
        site.fields.UserName = utf8FromCp1252(record.UserName.text());
        site.fields.Password = utf8FromCp1252(record.Password.text());
        site.fields.LoginDirectory = utf8FromCp1252(record.LoginDirectory.text());
        site.fields.Script = utf8FromCp1252(record.Script.text());
        site.fields.Anonymous = record.Anonymous != 0;
        reading.sites.push_back(std::move(site));
    }
    return reading;
}

} // namespace portolan
