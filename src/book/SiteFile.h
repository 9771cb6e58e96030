#pragma once

#include "book/Messages.h"
#include "book/SiteBook.h"
#include "runtime/ByteStream.h"

#include <optional>
#include <string>
#include <vector>

namespace portolan {

// A site file is the site table written out: 201 records of 476 bytes in slot order, free slots and
// the bytes behind each text included, and nothing else (95,676 bytes). The records are not checked in
// any way: whatever bytes a file holds are taken as they stand.
inline constexpr std::size_t SiteFileSize = SlotCount * SiteRecordSize;

// Reads the site file at path into the book, one read per record straight into its slot, and returns
// the descriptions of the active slots in slot order (SiteCount counts them). A file that cannot be
// opened gives "File was not found.  Possibly incorrect file name or open file." and changes nothing.
// One that is short or fails to read gives "An error occured upon read of " + path + ".  Either file
// is corrupted or of another, incorrect type.", and the table and SiteCount are put back as they were
// before the read, so a later Save never writes a mixture of two books. Both messages are errors with
// the single button OK. On failure the result is nothing and the message has been shown. Bytes after
// the 201st record are never read.
std::optional<std::vector<std::string>> readSiteFile(SiteBook& book, const std::string& path,
                                                     MessageSink& messages);

// The reading itself on an opened stream: 201 reads of one record each straight into the slots, going
// on after a failed one, then the close; returns whether every read and the close succeeded. The slots
// are left as the reads made them; SiteCount is not touched.
bool readSiteRecords(SiteSlots& slots, ByteStream& stream);

// Writes all 201 slots to path so that an earlier file is replaced only by a complete new one, and
// returns whether it did. On failure it beeps and shows "Could not write to file  " + the upper-cased
// file name part of path (an information with the single button OK), and an earlier file stays as it
// was. The caller clears BookModified only after a success: a book whose write failed still holds
// changes that exist nowhere else.
bool writeSiteFile(const SiteBook& book, const std::string& path, MessageSink& messages);

// The writing itself: 201 writes of one record each, then the close; returns whether all succeeded.
bool writeSiteRecords(const SiteSlots& slots, ByteStream& stream);

} // namespace portolan
