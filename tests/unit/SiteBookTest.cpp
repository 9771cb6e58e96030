#include "book/SiteBook.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portolan {
namespace {

SiteFields site(std::string description) {
    SiteFields fields;
    fields.Description = std::move(description);
    fields.Address = "ftp.example.org";
    fields.Port = "21";
    return fields;
}

// A book with the given descriptions stored in slots 0, 1, ...
SiteBook bookWith(std::initializer_list<const char*> descriptions) {
    SiteBook book;
    int slot = 0;
    for (const char* description : descriptions) {
        book.storeSite(slot++, site(description), 35250);
        ++book.SiteCount;
    }
    return book;
}

TEST(SiteRecord, StampIsALittleEndianDoubleAtOffset468) {
    SiteRecord record{};
    record.setStamp(35250);
    const unsigned char expected[8] = {0, 0, 0, 0, 0x40, 0x36, 0xE1, 0x40}; // 35250.0
    EXPECT_EQ(std::memcmp(reinterpret_cast<const unsigned char*>(&record) + 468, expected, 8), 0);
    EXPECT_EQ(record.stamp(), 35250);
}

TEST(SiteBook, StoreCutsEachFieldToItsCapacity) {
    SiteBook book;
    SiteFields fields;
    fields.Description = std::string(130, 'd');
    fields.Address = std::string(31, 'a');
    fields.Port = "123456";
    fields.UserName = std::string(25, 'u');
    fields.Password = std::string(21, 'p');
    fields.LoginDirectory = std::string(128, 'l');
    fields.Script = std::string(200, 's');
    fields.Anonymous = true;
    book.storeSite(4, fields, 71955);
    const SiteRecord& record = book.SiteTable[4];
    EXPECT_EQ(record.Active, 1);
    EXPECT_EQ(record.Description.text(), std::string(128, 'd'));
    EXPECT_EQ(record.Address.text(), std::string(30, 'a'));
    EXPECT_EQ(record.Port.text(), "12345");
    EXPECT_EQ(record.UserName.text(), std::string(20, 'u'));
    EXPECT_EQ(record.Password.text(), std::string(20, 'p'));
    EXPECT_EQ(record.LoginDirectory.text(), std::string(128, 'l'));
    EXPECT_EQ(record.Script.text(), std::string(128, 's'));
    EXPECT_EQ(record.Anonymous, 1);
    EXPECT_EQ(record.stamp(), 71955);
    EXPECT_EQ(book.SiteCount, 0) << "the caller counts the stored site";
}

TEST(SiteBook, AShorterTextLeavesTheOldCharactersBehindIt) {
    SiteBook book = bookWith({"Mirror"});
    book.removeSite(0);
    book.storeSite(0, site("Arc"), 35250);
    EXPECT_EQ(book.SiteTable[0].Description.length, 3);
    EXPECT_EQ(std::string_view(book.SiteTable[0].Description.chars, 6), "Arcror");
}

TEST(SiteBook, LookupIsExactAndIgnoresTheActiveByte) {
    SiteBook book = bookWith({"Mirror", "mirror", " Archive ", std::string(128, 'x').c_str()});
    book.removeSite(1);
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"Mirror", 0},
        {"mirror", 1},
        {" Archive ", 2},
        {"Archive", std::nullopt},
        {std::string(128, 'x'), 3},
        {"MIRROR", std::nullopt},
    };
    for (const auto& [text, slot] : cases)
        EXPECT_EQ(book.findSiteSlot(text), slot) << text;
}

TEST(SiteBook, EmptyDescriptionOfAnUntouchedSlotIsFound) {
    // Untouched slots hold empty descriptions, so an empty text finds the first of them.
    SiteBook book = bookWith({"Mirror"});
    EXPECT_EQ(book.findSiteSlot(""), 1);
}

TEST(SiteBook, DuplicateTestCountsAnyNonZeroActiveByte) {
    SiteBook book = bookWith({"Mirror", "Archive", "Odd"});
    book.removeSite(1);
    book.SiteTable[2].Active = 7;
    EXPECT_TRUE(book.hasActiveDescription("Mirror"));
    EXPECT_FALSE(book.hasActiveDescription("Archive"));
    EXPECT_TRUE(book.hasActiveDescription("Odd"));
    EXPECT_FALSE(book.hasActiveDescription("mirror"));
}

TEST(SiteBook, FreeSlotIsTheLowestWithActiveZero) {
    SiteBook book = bookWith({"a", "b", "c", "d", "e"});
    EXPECT_EQ(book.findFreeSlot(), 5);
    book.removeSite(3);
    EXPECT_EQ(book.findFreeSlot(), 3);
    book.SiteTable[1].Active = 7; // listed as a site, so never overwritten
    book.removeSite(3);
    EXPECT_EQ(book.findFreeSlot(), 3);
    for (SiteRecord& record : book.SiteTable)
        record.Active = 2;
    EXPECT_EQ(book.findFreeSlot(), std::nullopt);
}

TEST(SiteBook, RemoveChangesOnlyTheActiveByteAndCountsOnce) {
    SiteBook book = bookWith({"Mirror", "Archive"});
    const SiteRecord before = book.SiteTable[0];
    book.removeSite(0);
    EXPECT_EQ(book.SiteCount, 1);
    book.removeSite(0);
    EXPECT_EQ(book.SiteCount, 1) << "a free slot is not counted down again";
    SiteRecord expected = before;
    expected.Active = 0;
    EXPECT_EQ(std::memcmp(&book.SiteTable[0], &expected, sizeof expected), 0);
}

TEST(SiteBook, ClearFreesEverySlotAndKeepsTheirBytes) {
    SiteBook book = bookWith({"Mirror", "Archive"});
    book.clearSites();
    EXPECT_EQ(book.SiteCount, 0);
    for (const SiteRecord& record : book.SiteTable)
        EXPECT_EQ(record.Active, 0);
    EXPECT_EQ(book.SiteTable[1].Description.text(), "Archive");
    book.storeSite(*book.findFreeSlot(), site("Archive"), 35250);
    EXPECT_EQ(book.findSiteSlot("Archive"), 0) << "stored into the lowest free slot and found there";
}

TEST(SiteBook, CopyToCurrentCopiesTheWholeSlotAndKeepsIt) {
    SiteBook book = bookWith({"Mirror"});
    book.copyToCurrent(0);
    book.removeSite(0);
    book.storeSite(0, site("Other"), 1);
    EXPECT_EQ(book.CurrentSite.Description.text(), "Mirror");
    EXPECT_EQ(book.CurrentSite.Active, 1);
    EXPECT_EQ(book.CurrentSite.stamp(), 35250);
}

TEST(SiteBook, ListingVisitsSlotsInOrderAndRecounts) {
    SiteBook book = bookWith({"b", "a", "c", "d"});
    book.removeSite(2);
    book.SiteTable[3].Active = 7;
    book.SiteCount = 99;
    EXPECT_EQ(book.listActiveSites(), (std::vector<std::string>{"b", "a", "d"}));
    EXPECT_EQ(book.SiteCount, 3);
}

TEST(SiteBook, TwoHundredSitesLeaveSlot200Free) {
    SiteBook book;
    for (int slot = 0; slot < MaxSites; ++slot) {
        book.storeSite(*book.findFreeSlot(), site("site " + std::to_string(slot)), 35250);
        ++book.SiteCount;
    }
    EXPECT_EQ(book.SiteCount, 200);
    EXPECT_EQ(book.findFreeSlot(), 200);
    EXPECT_EQ(book.listActiveSites().size(), 200u);
}

} // namespace
} // namespace portolan
