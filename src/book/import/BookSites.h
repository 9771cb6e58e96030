#pragma once

#include "book/SiteBook.h"
#include "book/import/ImportedSite.h"

namespace portolan {

// The active sites of another site book (every slot whose Active byte is not 0), in slot order, with
// their texts in UTF-8: a book's site is taken as it stands, with or without a host.
ImportReading sitesOfBook(const SiteSlots& slots);

} // namespace portolan
