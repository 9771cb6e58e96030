#include "support/CommandFixture.h"

#include "commands/SiteEditing.h"
#include "commands/SiteSelection.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portolan {
namespace {

using testing::CommandFixture;

const char* const noDescription = "No description or valid characters specified in sitedescription.";
const char* const duplicate = "Two sites can not share the same description and one alreadyexists under the "
                              "currently entered description.";
const char* const tooMany = "A maximum number of sites have been used already.  No moremay be added";
constexpr DayNumber today = 46363; // 2026-12-07, the fixture's clock

class SiteEditing : public ::testing::Test, public CommandFixture {
protected:
    static SiteFields typed(const std::string& description) {
        SiteFields fields;
        fields.Description = description;
        fields.Address = "files.example.net";
        fields.Port = "2121";
        fields.UserName = "guest";
        fields.Password = "secret";
        fields.LoginDirectory = "/pub";
        fields.Script = "login.scr";
        fields.Anonymous = false;
        return fields;
    }

    // The boxes the edit dialog shows for the site with this description.
    SiteFields shownFor(const std::string& description) {
        session.EditMode = true;
        session.EditSlot = *session.book.findSiteSlot(description);
        SiteFields shown = siteDialogContent(session).fields;
        session.EditMode = false;
        return shown;
    }

    // Opens the edit dialog on the site with this description and presses OK with fields.
    bool edit(const std::string& description, const SiteFields& fields) {
        ui.select(description);
        bool closed = false;
        ui.siteDialog = [&] { closed = okBTNClick(session, ui, fields); };
        editSBClick(session, ui);
        return closed;
    }
};

TEST_F(SiteEditing, InsertStoresTheSiteInTheLowestFreeSlotWithTodaysDate) {
    for (const char* name : {"a", "b", "c", "d", "e"})
        addSite(name);
    session.book.removeSite(3);
    ui.deleteSiteItem(3);
    bool closed = false;
    ui.siteDialog = [&] {
        EXPECT_FALSE(session.EditMode);
        closed = okBTNClick(session, ui, typed(" x "));
    };
    portolan::addSite(session, ui);
    EXPECT_TRUE(closed);
    const SiteRecord& site = session.book.SiteTable[3];
    EXPECT_EQ(site.Active, 1);
    EXPECT_EQ(site.Description.text(), " x ");
    EXPECT_EQ(site.Port.text(), "2121");
    EXPECT_EQ(site.Password.text(), "secret");
    EXPECT_EQ(site.Anonymous, 0);
    EXPECT_EQ(site.stamp(), today);
    EXPECT_EQ(session.book.SiteCount, 5);
    EXPECT_TRUE(session.BookModified);
    EXPECT_EQ(ui.items.front(), " x ") << "listed with its blanks";
    EXPECT_EQ(session.book.findSiteSlot(" x "), 3);
}

TEST_F(SiteEditing, TheThreeTestsRunInOrderAndOnlyTheFirstFailureIsShown) {
    struct Case {
        const char* description;
        int sites;
        const char* message;
        MessageKind kind;
    };
    const Case cases[] = {
        {"", 0, noDescription, MessageKind::Warning},
        {"   ", 200, noDescription, MessageKind::Warning},
        {"site 7", 200, duplicate, MessageKind::Error},
        {"site 7", 8, duplicate, MessageKind::Error},
        {"new one", 200, tooMany, MessageKind::Information},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        for (int i = 0; i < c.sites; ++i)
            f.addSite("site " + std::to_string(i));
        const SiteBook before = f.session.book;
        EXPECT_FALSE(okBTNClick(f.session, f.ui, typed(c.description))) << c.description;
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].text, c.message);
        EXPECT_EQ(f.ui.messages[0].kind, c.kind);
        EXPECT_EQ(f.ui.messages[0].buttons, button::OK);
        EXPECT_EQ(f.session.book.SiteCount, before.SiteCount);
        EXPECT_EQ(std::memcmp(&f.session.book.SiteTable, &before.SiteTable, sizeof before.SiteTable), 0);
        EXPECT_FALSE(f.session.BookModified);
    }
}

TEST_F(SiteEditing, ATabIsAValidCharacterAndTheTextIsNotTrimmed) {
    EXPECT_TRUE(okBTNClick(session, ui, typed("\t")));
    EXPECT_EQ(session.book.SiteTable[0].Description.text(), "\t");
}

TEST_F(SiteEditing, TheDescriptionOfAFreedSlotMayBeUsedAgain) {
    addSite("Mirror");
    session.book.removeSite(0);
    ui.clearSiteItems();
    EXPECT_TRUE(okBTNClick(session, ui, typed("Mirror")));
    EXPECT_EQ(session.book.SiteCount, 1);
}

TEST_F(SiteEditing, ADescriptionIsCutToItsFieldSoListAndTableAgree) {
    const std::string typedText = std::string(128, 'd') + "XYZ";
    EXPECT_TRUE(okBTNClick(session, ui, typed(typedText)));
    EXPECT_EQ(ui.items.front(), std::string(128, 'd'));
    EXPECT_EQ(session.book.findSiteSlot(ui.items.front()), 0);
    EXPECT_FALSE(okBTNClick(session, ui, typed(std::string(128, 'd') + "other")))
        << "the cut text is a duplicate";
}

TEST_F(SiteEditing, EditingWithoutChangesMovesTheSiteToTheLowestFreeSlot) {
    addSite("a");
    addSite("b");
    addSite("c");
    session.book.removeSite(0);
    ui.deleteSiteItem(0);
    const SiteFields same = shownFor("c");
    EXPECT_TRUE(edit("c", same));
    EXPECT_EQ(session.book.findSiteSlot("c"), 0);
    EXPECT_EQ(session.book.SiteTable[2].Active, 0);
    EXPECT_EQ(session.book.SiteTable[0].stamp(), today);
    EXPECT_EQ(session.book.SiteCount, 2);
    EXPECT_TRUE(session.BookModified);
    EXPECT_FALSE(session.EditMode);
    EXPECT_EQ(session.EditSlot, -1);
    EXPECT_EQ(ui.items, (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(ui.selected, -1);
    EXPECT_FALSE(ui.enabled[SiteControl::editSB]);
    EXPECT_FALSE(ui.enabled[SiteControl::DeleteSB]);
    EXPECT_FALSE(ui.enabled[SiteControl::getInfoPD]);
}

TEST_F(SiteEditing, AFailedEditLeavesTheSiteWhereItWasAndTheDialogEditing) {
    addSite("Mirror");
    addSite("Archive");
    ui.select("Mirror");
    std::vector<bool> results;
    ui.siteDialog = [&] {
        results.push_back(okBTNClick(session, ui, typed("Archive")));
        EXPECT_TRUE(session.EditMode) << "still editing after a refused OK";
        results.push_back(okBTNClick(session, ui, typed("   ")));
        // then Cancel
    };
    editSBClick(session, ui);
    EXPECT_EQ(results, (std::vector<bool>{false, false}));
    EXPECT_EQ(session.book.findSiteSlot("Mirror"), 0);
    EXPECT_EQ(session.book.SiteTable[0].Active, 1);
    EXPECT_EQ(session.book.SiteCount, 2);
    EXPECT_EQ(ui.items, (std::vector<std::string>{"Archive", "Mirror"}));
    EXPECT_FALSE(session.BookModified);
    EXPECT_EQ(ui.messages[0].text, duplicate);
}

TEST_F(SiteEditing, AnEditWorksWithTwoHundredSites) {
    for (int i = 0; i < MaxSites; ++i)
        addSite("site " + std::to_string(i));
    SiteFields changed = shownFor("site 150");
    changed.Description = "renamed";
    EXPECT_TRUE(edit("site 150", changed));
    EXPECT_EQ(session.book.SiteCount, 200);
    EXPECT_EQ(session.book.findSiteSlot("renamed"), 150);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SiteEditing, TheDialogShowsTheEditedSiteOrEmptyBoxes) {
    SiteFields stored = typed("Mirror");
    stored.Anonymous = true;
    session.book.storeSite(4, stored, 1);
    session.EditMode = true;
    session.EditSlot = 4;
    const SiteDialogContent editing = siteDialogContent(session);
    EXPECT_EQ(editing.caption, "Edit Site");
    EXPECT_EQ(editing.fields.Description, "Mirror");
    EXPECT_EQ(editing.fields.UserName, "guest") << "filled even for an anonymous site";
    EXPECT_EQ(editing.fields.Password, "secret");
    EXPECT_TRUE(editing.fields.Anonymous);

    session.EditMode = false;
    const SiteDialogContent inserting = siteDialogContent(session);
    EXPECT_EQ(inserting.caption, "Insert Site");
    EXPECT_EQ(inserting.fields.Description, "");
    EXPECT_EQ(inserting.fields.UserName, "");
    EXPECT_TRUE(inserting.fields.Anonymous);
}

TEST_F(SiteEditing, CancelledEditLeavesEverything) {
    addSite("Mirror");
    ui.select("Mirror");
    editSBClick(session, ui); // the dialog is cancelled at once
    EXPECT_EQ(session.book.SiteCount, 1);
    EXPECT_EQ(ui.items.size(), 1u);
    EXPECT_FALSE(session.BookModified);
}

TEST_F(SiteEditing, EditAndDeleteWithoutASelectionDoNothing) {
    addSite("Mirror");
    editSBClick(session, ui);
    deleteSite(session, ui);
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(session.book.SiteCount, 1);
    EXPECT_FALSE(session.BookModified);
}

TEST_F(SiteEditing, DeleteFreesTheSlotWithoutAsking) {
    addSite("Mirror");
    addSite("Archive");
    ui.select("Mirror");
    SiteBoxClick(session, ui);
    deleteSite(session, ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(session.book.SiteTable[0].Active, 0);
    EXPECT_EQ(session.book.SiteTable[0].Description.text(), "Mirror");
    EXPECT_EQ(session.book.SiteCount, 1);
    EXPECT_EQ(ui.items, std::vector<std::string>{"Archive"});
    EXPECT_TRUE(session.BookModified);
    EXPECT_FALSE(ui.enabled[SiteControl::DeleteSB]);
    EXPECT_EQ(session.book.CurrentSite.Description.text(), "Mirror") << "the last clicked copy stays";
}

} // namespace
} // namespace portolan
