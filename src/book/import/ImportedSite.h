#pragma once

#include "book/SiteBook.h"

#include <string>
#include <vector>

namespace portolan {

// A site as another program's file holds it, before Portolan keeps it. Its texts are Unicode, in
// UTF-8, of any length: the import decides how each fits into a site record and reports what does not.
struct ImportedSite {
    SiteFields fields;               // the Description is blank where the file names the site not
    bool withoutHost = false;        // another program's site without a host, which is no site to keep
    std::string otherProtocol;       // the protocol's name when it is neither plain FTP nor FTPS
    bool passwordUnreadable = false; // the file keeps the password locked by a master password
};

// What a reader made of a file: its sites in the file's order or, when the file is not of the reader's
// kind, why not: a clause in UTF-8 that follows "<file name> cannot be imported: ".
struct ImportReading {
    std::vector<ImportedSite> sites;
    std::string refusal;
};

} // namespace portolan
