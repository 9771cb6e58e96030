#include "support/CommandFixture.h"

#include "commands/SiteSelection.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portolan {
namespace {

using testing::CommandFixture;

class SiteSelection : public ::testing::Test, public CommandFixture {};

TEST_F(SiteSelection, AClickShowsWhereTheSiteIsAndCopiesIt) {
    SiteFields fields;
    fields.Description = "Mirror";
    fields.Address = "example-host";
    session.book.storeSite(0, fields, 1);
    ui.addSiteItem("Mirror");
    ui.select("Mirror");
    SiteBoxClick(session, ui);
    EXPECT_EQ(ui.status[1], "example-host  ") << "empty port and directory leave two blanks";
    EXPECT_EQ(std::memcmp(&session.book.CurrentSite, &session.book.SiteTable[0], sizeof(SiteRecord)), 0);
    for (const auto& [control, state] : ui.enabled)
        EXPECT_TRUE(state);
    EXPECT_EQ(ui.enabled.size(), 5u);
}

TEST_F(SiteSelection, TheStatusShowsWholeFields) {
    SiteFields fields;
    fields.Description = "Long";
    fields.Address = std::string(30, 'a');
    fields.Port = "65535";
    fields.LoginDirectory = std::string(128, 'd');
    session.book.storeSite(0, fields, 1);
    ui.addSiteItem("Long");
    ui.select("Long");
    SiteBoxClick(session, ui);
    EXPECT_EQ(ui.status[1], std::string(30, 'a') + " 65535 " + std::string(128, 'd'));
    EXPECT_EQ(ui.status[1].size(), 165u);
}

// The fields are Windows-1252; the status panel is a shown text and gets them as Unicode.
TEST_F(SiteSelection, TheStatusShowsTheFieldsInUnicode) {
    SiteFields fields;
    fields.Description = "B\xFCro";
    fields.Address = "ftp.b\xFCro.example";
    fields.Port = "21";
    fields.LoginDirectory = "/\x80/\x9D";
    session.book.storeSite(0, fields, 1);
    ui.addSiteItem("B\xFCro");
    ui.select("B\xFCro");
    SiteBoxClick(session, ui);
    EXPECT_EQ(ui.status[1], "ftp.b\xC3\xBCro.example 21 /\xE2\x82\xAC/\xC2\x9D");
}

TEST_F(SiteSelection, CaseMattersWhenFindingTheSlot) {
    addSite("mirror");
    addSite("Mirror");
    ui.select("Mirror");
    SiteBoxClick(session, ui);
    EXPECT_EQ(session.book.CurrentSite.Description.text(), "Mirror");
    ui.select("mirror");
    SiteBoxClick(session, ui);
    EXPECT_EQ(session.book.CurrentSite.Description.text(), "mirror");
}

TEST_F(SiteSelection, AnEntryWithoutASlotChangesOnlyTheControls) {
    addSite("Mirror");
    ui.addSiteItem("Ghost");
    ui.status[1] = "before";
    ui.select("Ghost");
    SiteBoxClick(session, ui);
    EXPECT_EQ(ui.status[1], "before");
    EXPECT_EQ(session.book.CurrentSite.Active, 0);
    EXPECT_TRUE(ui.enabled[SiteControl::getInfoSB]);
}

TEST_F(SiteSelection, NoSelectionDisablesTheSiteControls) {
    ui.selected = -1;
    SiteBoxClick(session, ui);
    EXPECT_EQ(ui.enabled.size(), 5u);
    for (const auto& [control, state] : ui.enabled)
        EXPECT_FALSE(state);
}

TEST_F(SiteSelection, TheTimerShowsTheSiteCount) {
    Timer1Timer(session, ui);
    EXPECT_EQ(ui.status[0], "0");
    addSite("a");
    addSite("b");
    Timer1Timer(session, ui);
    EXPECT_EQ(ui.status[0], "2");
}

} // namespace
} // namespace portolan
