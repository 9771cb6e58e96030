#include "book/SiteFile.h"

#include "runtime/Files.h"
#include "runtime/TextRules.h"

#include <memory>

namespace portolan {

bool readSiteRecords(SiteSlots& slots, ByteStream& stream) {
    // A failed read records its code and the loop goes on; the one test comes after the close.
    for (SiteRecord& slot : slots)
        stream.read(&slot, SiteRecordSize);
    stream.close();
    return stream.fetchError() == 0;
}

bool writeSiteRecords(const SiteSlots& slots, ByteStream& stream) {
    for (const SiteRecord& slot : slots)
        stream.write(&slot, SiteRecordSize);
    stream.close();
    return stream.fetchError() == 0;
}

std::optional<std::vector<std::string>> readSiteFile(SiteBook& book, const std::string& path,
                                                     MessageSink& messages) {
    PlainFile file;
    file.openForReading(path);
    if (file.fetchError() != 0) {
        messages.MessageDialog("File was not found.  Possibly incorrect file name or open file.",
                               MessageKind::Error, button::OK);
        return std::nullopt;
    }
    // The reads go straight into the table; this copy puts the previous book back if they fail.
    const auto previousSlots = std::make_unique<SiteSlots>(book.SiteTable);
    const std::int32_t previousCount = book.SiteCount;
    if (!readSiteRecords(book.SiteTable, file)) {
        book.SiteTable = *previousSlots;
        book.SiteCount = previousCount;
        messages.MessageDialog("An error occured upon read of " + path + ".  " +
                                   "Either file is corrupted or of another, incorrect type.",
                               MessageKind::Error, button::OK);
        return std::nullopt;
    }
    return book.listActiveSites();
}

bool writeSiteFile(const SiteBook& book, const std::string& path, MessageSink& messages) {
    ReplacingFile file(path);
    if (writeSiteRecords(book.SiteTable, file))
        return true;
    messages.beep();
    messages.MessageDialog("Could not write to file  " + upperCaseAscii(fileNamePart(path)),
                           MessageKind::Information, button::OK);
    return false;
}

} // namespace portolan
