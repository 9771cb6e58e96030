#include "support/CommandFixture.h"

#include "commands/SiteInformation.h"

#include <gtest/gtest.h>

#include <cstring>

namespace portolan {
namespace {

using testing::CommandFixture;

const DayNumber independenceDay = *EncodeDayNumber(1996, 7, 4);

class SiteInformation : public ::testing::Test, public CommandFixture {
protected:
    // Makes slot an active, listed site and selects it in the list.
    void storeSelected(int slot, const SiteFields& fields, DayNumber stamp = independenceDay) {
        session.book.storeSite(slot, fields, stamp);
        ++session.book.SiteCount;
        ui.addSiteItem(fields.Description);
        ui.select(fields.Description);
    }

    static SiteFields described(const std::string& description) {
        SiteFields fields;
        fields.Description = description;
        return fields;
    }

    // The one text shown, which must be an information message with the OK button alone.
    std::string shownText() {
        ShowSiteInformation(session, ui);
        if (ui.messages.size() != 1)
            return "<" + std::to_string(ui.messages.size()) + " messages>";
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Information);
        EXPECT_EQ(ui.messages[0].buttons, button::OK);
        return ui.messages[0].text;
    }
};

TEST_F(SiteInformation, ASiteWithEmptyFieldsShowsNineLabelledLines) {
    storeSelected(4, described("Mirror"));
    EXPECT_EQ(shownText(), "Description: Mirror\r\n"
                           "Address: \r\n"
                           "Port: \r\n"
                           "Anonymous Login: No\r\n"
                           "User: \r\n"
                           "Password: \r\n"
                           "Login Dir: \r\n"
                           "Script: \r\n"
                           "Date: 7/4/96");
}

TEST_F(SiteInformation, EveryFieldIsShownWholeAndThePasswordInPlainText) {
    SiteFields fields;
    fields.Description = std::string(128, 'D');
    fields.Address = std::string(30, 'a');
    fields.Port = "65535";
    fields.UserName = std::string(20, 'u');
    fields.Password = std::string(20, 'p');
    fields.LoginDirectory = std::string(128, 'l');
    fields.Script = std::string(128, 's');
    fields.Anonymous = true;
    storeSelected(0, fields);
    EXPECT_EQ(shownText(), "Description: " + std::string(128, 'D') + "\r\nAddress: " + std::string(30, 'a') +
                               "\r\nPort: 65535\r\nAnonymous Login: Yes\r\nUser: " + std::string(20, 'u') +
                               "\r\nPassword: " + std::string(20, 'p') +
                               "\r\nLogin Dir: " + std::string(128, 'l') +
                               "\r\nScript: " + std::string(128, 's') + "\r\nDate: 7/4/96");
}

// The lines are Windows-1252 like the fields; the message shows them in Unicode.
TEST_F(SiteInformation, TheMessageShowsTheFieldsAndDateInUnicode) {
    SiteFields fields = described("Caf\xE9");
    fields.Script = "\x80";
    session.dateSettings.ShortDatePattern = "d mmm yy";
    session.dateSettings.ShortMonthNames[6] = "Juil\xE9";
    storeSelected(0, fields);
    EXPECT_EQ(SiteInformationText(session.book.SiteTable[0], session.dateSettings).substr(0, 17),
              "Description: Caf\xE9");
    EXPECT_EQ(shownText(), "Description: Caf\xC3\xA9\r\n"
                           "Address: \r\n"
                           "Port: \r\n"
                           "Anonymous Login: No\r\n"
                           "User: \r\n"
                           "Password: \r\n"
                           "Login Dir: \r\n"
                           "Script: \xE2\x82\xAC\r\n"
                           "Date: 4 Juil\xC3\xA9 96");
}

TEST_F(SiteInformation, AnyNonZeroAnonymousByteShowsYes) {
    SiteFields fields = described("Mirror");
    fields.UserName = "guest";
    fields.Password = "secret";
    storeSelected(0, fields);
    const std::pair<std::uint8_t, const char*> cases[] = {{0, "No"}, {1, "Yes"}, {7, "Yes"}, {255, "Yes"}};
    for (const auto& [flag, shown] : cases) {
        session.book.SiteTable[0].Anonymous = flag;
        EXPECT_EQ(SiteInformationText(session.book.SiteTable[0], session.dateSettings),
                  std::string("Description: Mirror\r\nAddress: \r\nPort: \r\nAnonymous Login: ") + shown +
                      "\r\nUser: guest\r\nPassword: secret\r\nLogin Dir: \r\nScript: \r\nDate: 7/4/96")
            << int(flag);
    }
}

TEST_F(SiteInformation, TheDateFollowsTheShortDatePattern) {
    storeSelected(0, described("Mirror"));
    const std::pair<DayNumber, const char*> cases[] = {
        {independenceDay, "Date: 04.07.1996"},
        {*EncodeDayNumber(2026, 12, 7), "Date: 07.12.2026"},
    };
    session.dateSettings.ShortDatePattern = "dd.MM.yyyy";
    session.dateSettings.DateDelimiter = '.';
    for (const auto& [stamp, line] : cases) {
        session.book.SiteTable[0].setStamp(stamp);
        const std::string text = SiteInformationText(session.book.SiteTable[0], session.dateSettings);
        EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), line);
    }
}

TEST_F(SiteInformation, AStampBeforeTheCalendarShowsZeroes) {
    storeSelected(0, described("Mirror"), firstValidDay - 1);
    const std::string text = shownText();
    EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), "Date: 0/0/00");
}

TEST_F(SiteInformation, NothingIsShownWithoutASelectedSite) {
    storeSelected(0, described("Mirror"));
    ui.selected = -1; // as after a purge, with the controls still enabled
    ShowSiteInformation(session, ui);
    EXPECT_TRUE(ui.messages.empty());

    ui.addSiteItem("Ghost"); // listed, but no slot holds it
    ui.select("Ghost");
    ShowSiteInformation(session, ui);
    EXPECT_TRUE(ui.messages.empty());

    ui.addSiteItem("mirror"); // descriptions are compared case by case
    ui.select("mirror");
    ShowSiteInformation(session, ui);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(SiteInformation, ShowingChangesNothing) {
    storeSelected(0, described("Mirror"));
    storeSelected(1, described("Archive"));
    ui.select("Mirror");
    session.BookModified = false;
    ui.status[1] = "before";
    const SiteBook before = session.book;
    EXPECT_EQ(shownText().substr(0, 21), "Description: Mirror\r\n");
    EXPECT_EQ(std::memcmp(&before, &session.book, sizeof before), 0) << "table, count and CurrentSite";
    EXPECT_FALSE(session.BookModified);
    EXPECT_EQ(ui.status[1], "before");
    EXPECT_EQ(ui.siteItemText(ui.selected), "Mirror");
    EXPECT_TRUE(ui.enabled.empty());
}

} // namespace
} // namespace portolan
