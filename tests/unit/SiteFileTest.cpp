#include "support/MemoryStream.h"
#include "support/RecordingMessages.h"
#include "support/SiteFileSamples.h"
#include "support/TempFolder.h"

#include "book/SiteFile.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portolan {
namespace {

using testing::bookOfSites;
using testing::exampleBook;
using testing::exampleFileBytes;
using testing::exampleSite;
using testing::MemoryStream;
using testing::randomBytes;
using testing::readBytes;
using testing::RecordingMessages;
using testing::tableBytes;
using testing::TempFolder;
using testing::writeBytes;
using Call = RecordingMessages::Call;

const std::string notFoundMessage = "File was not found.  Possibly incorrect file name or open file.";

std::string readErrorMessage(const std::string& path) {
    return "An error occured upon read of " + path +
           ".  Either file is corrupted or of another, incorrect type.";
}

// The descriptions of the active records of a site file's bytes, worked out from the layout alone.
std::vector<std::string> activeDescriptions(const std::string& file) {
    std::vector<std::string> descriptions;
    for (std::size_t record = 0; record < SlotCount; ++record) {
        const std::size_t base = record * SiteRecordSize;
        if (file[base] == 0)
            continue;
        const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(file[base + 1]), 128);
        descriptions.push_back(file.substr(base + 2, length));
    }
    return descriptions;
}

TEST(SiteFileFormat, TheFileIsTheTableRecordByRecordWithNothingAround) {
    EXPECT_EQ(SiteFileSize, 95676u);
    MemoryStream stream;
    ASSERT_TRUE(writeSiteRecords(exampleBook().SiteTable, stream));
    EXPECT_EQ(stream.bytes().size(), 95676u);
    EXPECT_EQ(stream.bytes(), exampleFileBytes());
}

TEST(SiteFileFormat, FreeSlotsAreWrittenWithTheirOldBytes) {
    SiteBook book = exampleBook();
    book.storeSite(1, exampleSite("Ex"), 35250); // "ample" stays behind the new length
    book.removeSite(1);
    std::string expected = exampleFileBytes();
    expected[476] = 0;
    expected[477] = 2;
    MemoryStream stream;
    ASSERT_TRUE(writeSiteRecords(book.SiteTable, stream));
    EXPECT_EQ(stream.bytes(), expected);
}

TEST(SiteFileStream, WritingMakesOneWritePerRecordThenCloses) {
    MemoryStream stream;
    EXPECT_TRUE(writeSiteRecords(bookOfSites(200).SiteTable, stream));
    EXPECT_EQ(stream.writes, 201);
    EXPECT_EQ(stream.requestSizes, std::vector<std::size_t>(201, 476));
    EXPECT_EQ(stream.closes, 1);
    EXPECT_EQ(stream.fetchError(), 0);
}

TEST(SiteFileStream, AWriteFailureIsReportedAfterAllWritesAndTheClose) {
    MemoryStream stream;
    stream.failAfter = 1000;
    EXPECT_FALSE(writeSiteRecords(bookOfSites(3).SiteTable, stream));
    EXPECT_EQ(stream.writes, 201);
    EXPECT_EQ(stream.closes, 1);
    EXPECT_EQ(stream.fetchError(), 0) << "the writer fetched the code";

    MemoryStream closing;
    closing.failClose = true;
    EXPECT_FALSE(writeSiteRecords(bookOfSites(3).SiteTable, closing));
}

TEST(SiteFileStream, ReadingMakesOneReadPerRecordStraightIntoTheSlots) {
    const std::string file = randomBytes(SiteFileSize + 476 * 3, 7);
    MemoryStream stream(file);
    SiteSlots slots{};
    EXPECT_TRUE(readSiteRecords(slots, stream));
    EXPECT_EQ(stream.reads, 201) << "the records after the 201st are never read";
    EXPECT_EQ(stream.requestSizes, std::vector<std::size_t>(201, 476));
    EXPECT_EQ(stream.closes, 1);
    EXPECT_EQ(tableBytes(slots), file.substr(0, SiteFileSize));
}

TEST(SiteFileStream, AFailedReadKeepsTheRestOfItsSlotAndTheReadingGoesOn) {
    const std::string file = randomBytes(SiteFileSize, 8);
    MemoryStream stream(file);
    stream.failAfter = 2 * 476 + 100; // slot 2 gets 100 bytes
    stream.failCode = ioCode::GeneralFailure;
    SiteSlots slots;
    std::memset(&slots, 'o', sizeof slots);
    EXPECT_FALSE(readSiteRecords(slots, stream));
    EXPECT_EQ(stream.reads, 201);
    EXPECT_EQ(stream.closes, 1);
    const std::string after = tableBytes(slots);
    EXPECT_EQ(after.substr(0, 1052), file.substr(0, 1052));
    EXPECT_EQ(after.substr(1052), std::string(SiteFileSize - 1052, 'o'));
}

TEST(SiteFileStream, AFailingCloseFailsTheRead) {
    MemoryStream stream(std::string(SiteFileSize, '\0'));
    stream.failClose = true;
    SiteSlots slots{};
    EXPECT_FALSE(readSiteRecords(slots, stream));
}

TEST(SiteFile, AWrittenFileHoldsExactlyTheTable) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    RecordingMessages messages;
    EXPECT_TRUE(writeSiteFile(exampleBook(), path, messages));
    EXPECT_TRUE(messages.log.empty());
    EXPECT_EQ(readBytes(path), exampleFileBytes());
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";
}

TEST(SiteFile, ReadingListsTheActiveSitesInSlotOrder) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    SiteBook written = bookOfSites(5);
    written.removeSite(1);
    written.storeSite(1, exampleSite("Zulu"), 35250);
    written.removeSite(3);
    RecordingMessages messages;
    writeSiteFile(written, path, messages);

    SiteBook book;
    book.SiteCount = 17;
    const auto descriptions = readSiteFile(book, path, messages);
    ASSERT_TRUE(descriptions);
    EXPECT_EQ(*descriptions, (std::vector<std::string>{"Site 0", "Zulu", "Site 2", "Site 4"}));
    EXPECT_EQ(book.SiteCount, 4);
    EXPECT_EQ(tableBytes(book.SiteTable), tableBytes(written.SiteTable));
    EXPECT_TRUE(messages.log.empty());
}

struct AnyFileCase {
    const char* name;
    std::string bytes;
};

std::vector<AnyFileCase> anyFileCases() {
    std::string oddActive = randomBytes(SiteFileSize, 3);
    std::string longTexts(SiteFileSize, '\0');
    for (int record = 0; record < SlotCount; ++record) {
        oddActive[record * SiteRecordSize] = 7;
        for (std::size_t offset : {0, 1, 130, 161, 168, 189, 210, 339})
            longTexts[record * SiteRecordSize + offset] = '\xff'; // Active 255, every length byte 255
    }
    return {
        {"random bytes", randomBytes(SiteFileSize, 1)},
        {"other random bytes", randomBytes(SiteFileSize, 2)},
        {"every Active byte 7", oddActive},
        {"length bytes of 255", longTexts},
        {"all bytes 255", std::string(SiteFileSize, '\xff')},
        {"all bytes 0", std::string(SiteFileSize, '\0')},
    };
}

TEST(SiteFile, AnyFileOfTheRightSizeReadsAndWritesBackByteForByte) {
    for (const auto& [name, bytes] : anyFileCases()) {
        SCOPED_TRACE(name);
        TempFolder folder;
        writeBytes(folder.file("in.ptn"), bytes);
        SiteBook book;
        RecordingMessages messages;
        const auto descriptions = readSiteFile(book, folder.file("in.ptn"), messages);
        ASSERT_TRUE(descriptions);
        EXPECT_EQ(*descriptions, activeDescriptions(bytes));
        EXPECT_EQ(book.SiteCount, static_cast<std::int32_t>(activeDescriptions(bytes).size()));
        writeSiteFile(book, folder.file("out.ptn"), messages);
        EXPECT_EQ(readBytes(folder.file("out.ptn")), bytes);
        EXPECT_TRUE(messages.log.empty());
    }
}

TEST(SiteFile, AnActiveByteOf7IsListedAndCountedLikeOne) {
    std::string file = exampleFileBytes();
    file[476] = 7;
    file[3 * 476] = 1;
    TempFolder folder;
    writeBytes(folder.file("odd.ptn"), file);
    SiteBook book;
    RecordingMessages messages;
    const auto descriptions = readSiteFile(book, folder.file("odd.ptn"), messages);
    ASSERT_TRUE(descriptions);
    EXPECT_EQ(*descriptions, (std::vector<std::string>{"Example", ""}));
    EXPECT_EQ(book.SiteCount, 2);
    EXPECT_EQ(book.SiteTable[1].Active, 7) << "the byte is kept as it was read";
}

TEST(SiteFile, AFileOfFreeSlotsReadsAsAnEmptyBook) {
    std::string file = randomBytes(SiteFileSize, 4);
    for (int record = 0; record < SlotCount; ++record)
        file[record * SiteRecordSize] = 0;
    TempFolder folder;
    writeBytes(folder.file("free.ptn"), file);
    SiteBook book = bookOfSites(3);
    RecordingMessages messages;
    const auto descriptions = readSiteFile(book, folder.file("free.ptn"), messages);
    ASSERT_TRUE(descriptions);
    EXPECT_TRUE(descriptions->empty());
    EXPECT_EQ(book.SiteCount, 0);
    EXPECT_EQ(tableBytes(book.SiteTable), file);
    EXPECT_TRUE(messages.log.empty());
}

TEST(SiteFile, BytesAfterThe201stRecordAreIgnored) {
    const std::string file = exampleFileBytes() + randomBytes(5000, 5);
    TempFolder folder;
    writeBytes(folder.file("long.ptn"), file);
    SiteBook book;
    RecordingMessages messages;
    const auto descriptions = readSiteFile(book, folder.file("long.ptn"), messages);
    ASSERT_TRUE(descriptions);
    EXPECT_EQ(*descriptions, std::vector<std::string>{"Example"});
    EXPECT_EQ(tableBytes(book.SiteTable), exampleFileBytes());
    EXPECT_TRUE(messages.log.empty());
}

TEST(SiteFile, AShortFileGivesTheReadErrorAndLeavesTheBookAsItWas) {
    const std::size_t sizes[] = {0, 1, 476, 95000, 95675};
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        TempFolder folder;
        // The path is quoted exactly as the caller passed it, doubled separator included.
        const std::string path = folder.path() + "//short.ptn";
        writeBytes(path, randomBytes(size, 6));
        SiteBook book = bookOfSites(4);
        book.removeSite(2);
        const std::string before = tableBytes(book.SiteTable);
        RecordingMessages messages;
        EXPECT_FALSE(readSiteFile(book, path, messages));
        EXPECT_EQ(messages.log,
                  std::vector<Call>{Call::message(readErrorMessage(path), MessageKind::Error, button::OK)});
        EXPECT_EQ(tableBytes(book.SiteTable), before);
        EXPECT_EQ(book.SiteCount, 3);
    }
}

TEST(SiteFile, AMissingFileGivesTheNotFoundMessageAndNothingElse) {
    TempFolder folder;
    SiteBook book = bookOfSites(2);
    const std::string before = tableBytes(book.SiteTable);
    RecordingMessages messages;
    EXPECT_FALSE(readSiteFile(book, folder.file("absent.ptn"), messages));
    EXPECT_EQ(messages.log,
              std::vector<Call>{Call::message(notFoundMessage, MessageKind::Error, button::OK)});
    EXPECT_EQ(tableBytes(book.SiteTable), before);
    EXPECT_EQ(book.SiteCount, 2);
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(SiteFile, WritingIntoAMissingFolderBeepsThenNamesTheFileInCapitals) {
    // Only a to z change case; the letters of the path's other scripts stay as they are.
    const std::pair<const char*, const char*> cases[] = {
        {"Mein B\xC3\xBCro 2.ptn", "MEIN B\xC3\xBCRO 2.PTN"},
        {"\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn", "\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.PTN"},
    };
    for (const auto& [name, upperName] : cases) {
        TempFolder folder;
        RecordingMessages messages;
        EXPECT_FALSE(
            writeSiteFile(exampleBook(), folder.file(std::string("no-such-folder/") + name), messages));
        EXPECT_EQ(messages.log,
                  (std::vector<Call>{Call::sound(),
                                     Call::message(std::string("Could not write to file  ") + upperName,
                                                   MessageKind::Information, button::OK)}));
        EXPECT_EQ(folder.entryCount(), 0u);
    }
}

TEST(SiteFile, AFileReadAndWrittenUnderAnotherNameIsAnIdenticalCopy) {
    TempFolder folder;
    SiteBook original = bookOfSites(200);
    for (int slot : {0, 57, 199})
        original.removeSite(slot);
    RecordingMessages messages;
    writeSiteFile(original, folder.file("a.ptn"), messages);
    SiteBook book;
    ASSERT_TRUE(readSiteFile(book, folder.file("a.ptn"), messages));
    EXPECT_EQ(book.SiteCount, 197);
    writeSiteFile(book, folder.file("b.ptn"), messages);
    EXPECT_EQ(readBytes(folder.file("b.ptn")), readBytes(folder.file("a.ptn")));
    EXPECT_EQ(readBytes(folder.file("b.ptn")).size(), 95676u);
    EXPECT_TRUE(messages.log.empty());
}

} // namespace
} // namespace portolan
