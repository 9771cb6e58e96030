#include "support/FakeUserInterface.h"
#include "support/TempFolder.h"
#include "support/TestPlaces.h"

#include "commands/PurgeOld.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace portolan {
namespace {

DayNumber day(std::uint16_t year, std::uint16_t month, std::uint16_t dayOfMonth) {
    return *EncodeDayNumber(year, month, dayOfMonth);
}

// A session on 2026-12-07 with the default date settings.
class PurgeOldTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    testing::FixedClock clock{{2026, 12, 7}};
    testing::RecordingLauncher launcher;
    testing::TestPlaces places{folder.path()};
    Session session{clock, launcher, places};
    testing::FakeUserInterface ui;

    // Stores a site into the lowest free slot and lists it.
    int addSite(const std::string& description, DayNumber stamp) {
        SiteFields fields;
        fields.Description = description;
        fields.Address = "ftp." + description + ".example";
        const int slot = *session.book.findFreeSlot();
        session.book.storeSite(slot, fields, stamp);
        ++session.book.SiteCount;
        ui.addSiteItem(description);
        return slot;
    }

    std::vector<int> activeSlots() const {
        std::vector<int> slots;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (session.book.SiteTable[slot].Active != 0)
                slots.push_back(slot);
        return slots;
    }
};

TEST_F(PurgeOldTest, ProposesTodayAndPurgesWhatIsOlderThanTheConfirmedDay) {
    addSite("yesterday", day(2026, 12, 6));
    addSite("today", day(2026, 12, 7));
    addSite("tomorrow", day(2026, 12, 8));
    addSite("not a number", std::numeric_limits<double>::quiet_NaN());
    ui.promptAnswers.push_back("12/7/26"); // the proposal, confirmed with OK

    PurgeOldSites(session, ui);

    ASSERT_EQ(ui.log.size(), 1u);
    EXPECT_EQ(ui.log[0], "prompt Purge Old|Specify cut-off date:|12/7/26");
    EXPECT_EQ(activeSlots(), (std::vector<int>{1, 2}));
    EXPECT_EQ(ui.items, (std::vector<std::string>{"today", "tomorrow"}));
    EXPECT_EQ(session.book.SiteCount, 2);
}

TEST_F(PurgeOldTest, CancellingOrAnEmptyAnswerChangesNothing) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        session.book.clearSites();
        ui.clearSiteItems();
        addSite("old", day(1996, 7, 4));
        addSite("new", day(2026, 12, 7));
        ui.select("old");
        const SiteSlots before = session.book.SiteTable;
        ui.promptAnswers.push_back(answer);

        PurgeOldSites(session, ui);

        EXPECT_EQ(ui.log.back(), "prompt Purge Old|Specify cut-off date:|12/7/26");
        EXPECT_EQ(activeSlots(), (std::vector<int>{0, 1})) << (answer ? "empty answer" : "cancelled");
        EXPECT_EQ(std::memcmp(&before, &session.book.SiteTable, sizeof before), 0);
        EXPECT_EQ(ui.items, (std::vector<std::string>{"new", "old"}));
        EXPECT_EQ(ui.selected, 1) << "the list was not touched";
        EXPECT_EQ(session.book.SiteCount, 2);
    }
}

TEST_F(PurgeOldTest, CutOffsReadWithTheDefaultSettings) {
    struct Case {
        const char* answer;
        DayNumber cutOff;                        // the first day that stays
        CalendarDate clockAtAnswer{2026, 12, 7}; // the clock turns while the prompt is open
    };
    const Case cases[] = {
        {"12/31/96", day(2096, 12, 31)}, // a two-digit year takes the current century
        {"7/4", day(2026, 7, 4)},        // no year: the current one
        {"1/1/1900", day(1900, 1, 1)},
        {"12/31/9999", day(9999, 12, 31)},
        {" 3/15/2020 ", day(2020, 3, 15)},
        {"7/4", day(2027, 7, 4), {2027, 1, 1}},        // the year when the answer is read
        {"1/1/5", day(2105, 1, 1), {2100, 1, 1}},      // and its century
        {"12/7/2026", day(2026, 12, 7), {2027, 1, 1}}, // a whole year needs no clock
    };
    for (const Case& c : cases) {
        session.book.clearSites();
        ui.clearSiteItems();
        clock.date = {2026, 12, 7};
        ui.whilePrompting = [&] { clock.date = c.clockAtAnswer; };
        const std::vector<DayNumber> stamps{c.cutOff - 1,      c.cutOff,     c.cutOff + 1,
                                            day(1899, 12, 30), day(1, 1, 1), day(9999, 12, 31)};
        for (std::size_t i = 0; i < stamps.size(); ++i)
            addSite("site " + std::to_string(i), stamps[i]);
        ui.promptAnswers.push_back(c.answer);

        PurgeOldSites(session, ui);

        std::vector<int> kept;
        for (std::size_t i = 0; i < stamps.size(); ++i)
            if (stamps[i] >= c.cutOff)
                kept.push_back(static_cast<int>(i));
        EXPECT_EQ(activeSlots(), kept) << "answer " << c.answer;
        EXPECT_EQ(session.book.SiteCount, static_cast<int>(kept.size())) << "answer " << c.answer;
        EXPECT_EQ(ui.items.size(), kept.size()) << "answer " << c.answer;
    }
}

TEST_F(PurgeOldTest, AFarFutureCutOffEmptiesTheList) {
    addSite("a", day(2026, 12, 7));
    addSite("b", day(2100, 1, 1));
    ui.promptAnswers.push_back("1/1/9999");

    PurgeOldSites(session, ui);

    EXPECT_TRUE(activeSlots().empty());
    EXPECT_TRUE(ui.items.empty());
    EXPECT_EQ(session.book.SiteCount, 0);
}

TEST_F(PurgeOldTest, AnEmptyTableStaysEmpty) {
    ui.promptAnswers.push_back("12/7/26");
    PurgeOldSites(session, ui);
    EXPECT_TRUE(activeSlots().empty());
    EXPECT_TRUE(ui.items.empty());
    EXPECT_EQ(session.book.SiteCount, 0);
}

TEST_F(PurgeOldTest, AnInvalidDateThrowsAndChangesNothing) {
    struct Case {
        const char* answer;
        const char* message;
    };
    const Case cases[] = {
        {"7/4/", "'7/4/' is not a valid date"},
        {"   ", "'   ' is not a valid date"}, // blanks only are not empty
        {"2/30/2026", "'2/30/2026' is not a valid date"},
        {"7/4\xC3\xA9", "'7/4\xC3\xA9' is not a valid date"}, // quoted as typed
        {"7/4\xD0\xB3", "'7/4\xD0\xB3' is not a valid date"}, // also a letter that Windows-1252 lacks
    };
    for (const Case& c : cases) {
        session.book.clearSites();
        ui.clearSiteItems();
        addSite("old", day(1996, 7, 4));
        addSite("new", day(2026, 12, 7));
        ui.select("new");
        const SiteSlots before = session.book.SiteTable;
        ui.promptAnswers.push_back(c.answer);
        try {
            PurgeOldSites(session, ui);
            ADD_FAILURE() << c.answer << " was accepted";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(std::memcmp(&before, &session.book.SiteTable, sizeof before), 0) << c.answer;
        EXPECT_EQ(ui.items, (std::vector<std::string>{"new", "old"})) << c.answer;
        EXPECT_EQ(ui.selected, 0) << c.answer;
        EXPECT_EQ(session.book.SiteCount, 2) << c.answer;
    }
}

TEST_F(PurgeOldTest, TouchesOnlyActiveBytesAndTheList) {
    const int old = addSite("old", day(1996, 7, 4));
    addSite("new", day(2026, 12, 7));
    session.book.SiteTable[2].Active = 7;                // a slot marked by another writer, stamped day 0
    session.book.SiteTable[3].setStamp(day(2030, 1, 1)); // a free slot with a newer stamp stays free
    session.book.copyToCurrent(old);
    session.BookModified = false;
    ui.select("old");
    ui.enabled[SiteControl::DeleteSB] = true;
    SiteSlots expected = session.book.SiteTable;
    expected[old].Active = 0;
    expected[2].Active = 0;
    ui.promptAnswers.push_back("1/1/2000");

    PurgeOldSites(session, ui);

    EXPECT_EQ(std::memcmp(&expected, &session.book.SiteTable, sizeof expected), 0);
    EXPECT_EQ(session.book.CurrentSite.Description.text(), "old");
    EXPECT_FALSE(session.BookModified);
    EXPECT_EQ(ui.selected, -1) << "the list was refilled with no selection";
    EXPECT_EQ(ui.enabled.size(), 1u);
    EXPECT_TRUE(ui.enabled[SiteControl::DeleteSB]);
    EXPECT_EQ(ui.items, (std::vector<std::string>{"new"}));
    EXPECT_EQ(session.book.SiteCount, 1);
}

TEST_F(PurgeOldTest, ABookAlreadyModifiedStaysModified) {
    addSite("old", day(1996, 7, 4));
    session.BookModified = true;
    ui.promptAnswers.push_back("12/7/26");
    PurgeOldSites(session, ui);
    EXPECT_TRUE(session.BookModified);
    EXPECT_EQ(session.book.SiteCount, 0);
}

// The prompt shows Unicode: month names of the locale, kept in Windows-1252, are converted for it.
TEST_F(PurgeOldTest, TheProposalIsShownInUnicode) {
    session.dateSettings.ShortDatePattern = "d/mmm/yyyy";
    session.dateSettings.ShortMonthNames[11] = "D\xE9z";
    ui.promptAnswers.push_back(std::nullopt);
    PurgeOldSites(session, ui);
    EXPECT_EQ(ui.log.at(0), "prompt Purge Old|Specify cut-off date:|7/D\xC3\xA9z/2026");
}

TEST_F(PurgeOldTest, TheProposalFollowsTheShortDatePattern) {
    session.dateSettings.ShortDatePattern = "dd/mm/yyyy";
    session.dateSettings.DateDelimiter = '.';
    addSite("before", day(2026, 12, 6));
    addSite("on the day", day(2026, 12, 7));
    ui.promptAnswers.push_back("07.12.2026");

    PurgeOldSites(session, ui);

    EXPECT_EQ(ui.log.at(0), "prompt Purge Old|Specify cut-off date:|07.12.2026");
    EXPECT_EQ(ui.items, (std::vector<std::string>{"on the day"}));
}

} // namespace
} // namespace portolan
