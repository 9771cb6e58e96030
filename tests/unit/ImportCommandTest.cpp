#include "support/CommandFixture.h"

#include "book/SiteFile.h"
#include "commands/ImportSites.h"
#include "runtime/Cp1252.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

using namespace portolan;
using namespace portolan::testing;

namespace {

constexpr int yesNoCancel = button::Yes | button::No | button::Cancel;

// A book holding "Mirror" in slot 0 and "Archive" in slot 2, slot 1 free, and a FileZilla file with a
// site of each kind the summary counts.
struct ImportFixture : CommandFixture {
    ImportFixture() {
        addSite("Mirror");
        addSite("Gone");
        addSite("Archive");
        session.book.removeSite(1);
        ui.items = {"Archive", "Mirror"};
        writeBytes(folder.file("sites.xml"), R"(<?xml version="1.0" encoding="UTF-8"?>
<FileZilla3><Servers>
  <Server><Host>new.example.com</Host><Port>21</Port><Logontype>0</Logontype><Name>Mirror</Name></Server>
  <Server><Host>one.example.com</Host><Port>21</Port><Logontype>1</Logontype><User>me</User><Pass>pw</Pass><Name>One</Name></Server>
  <Server><Host></Host><Name>Nowhere</Name></Server>
  <Server><Host>shell.example.com</Host><Port>22</Port><Protocol>1</Protocol><Logontype>1</Logontype><Name>Shell</Name></Server>
  <Server><Host>locked.example.com</Host><Port>21</Port><Logontype>1</Logontype><Pass encoding="crypt">x</Pass><Name>Locked</Name></Server>
  <Server><Host>a-host-name-of-31-characters.ex</Host><Port>21</Port><Logontype>0</Logontype><Name>Long</Name></Server>
</Servers></FileZilla3>
)");
    }

    // Runs File > Import on a file of the folder, answering the summary with answer.
    void import(const std::string& name, int answer = AnswerYes) {
        ui.fileNames[FileDialog::Import].push_back(folder.file(name));
        ui.answers.push_back(answer);
        importSites(session, ui);
    }

    std::string description(int slot) const {
        return std::string(session.book.SiteTable[slot].Description.text());
    }
    std::string address(int slot) const { return std::string(session.book.SiteTable[slot].Address.text()); }
};

const char* const summaryOfSites =
    "sites.xml holds 6 sites: 4 will be added, 1 has the description of a site already in the book, 1 has no "
    "host and is left out, 1 is not an FTP site, 1 has a password that could not be read, 1 has fields "
    "longer "
    "than Portolan keeps. Replace the site that is already in the book?";

std::string csvOf(const std::vector<std::string>& rows) {
    std::string text = "Description,Address,Port,User Name,Password,Login Directory,Anonymous,Script\r\n";
    for (const std::string& row : rows)
        text += row + "\r\n";
    return text;
}

} // namespace

TEST(ImportSites, TheSummaryCountsWhatHappensAndTheDetailsNameEachSite) {
    ImportFixture fixture;
    fixture.import("sites.xml", AnswerCancel);
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    const auto& summary = fixture.ui.messages[0];
    EXPECT_EQ(summary.text, summaryOfSites);
    EXPECT_EQ(summary.kind, MessageKind::Confirmation);
    EXPECT_EQ(summary.buttons, yesNoCancel);
    const std::vector<std::string> details = {
        "Mirror: already in the book (Yes replaces the book's site, No keeps it)",
        "One: added",
        "Nowhere: left out: it has no host",
        "Shell: added; not an FTP site (SFTP)",
        "Locked: added; without its password, which could not be read",
        "Long: added; Address cut to 30 characters",
    };
    EXPECT_EQ(summary.details, details);
    EXPECT_EQ(fixture.ui.log.front(), "file dialog 3") << "the import dialog";
}

TEST(ImportSites, YesReplacesNoKeepsAndCancelOrClosingChangesNothing) {
    struct Case {
        const char* name;
        int answer;
        std::vector<std::string> slots; // descriptions of the active slots 0, 1, ... afterwards
        std::string mirrorHost;
        bool changed;
    };
    const Case cases[] = {
        {"Yes", AnswerYes, {"Mirror", "One", "Archive", "Shell", "Locked", "Long"}, "new.example.com", true},
        {"No", AnswerNo, {"Mirror", "One", "Archive", "Shell", "Locked", "Long"}, "ftp.Mirror.example", true},
        {"Cancel", AnswerCancel, {"Mirror", "", "Archive"}, "ftp.Mirror.example", false},
        {"close box", closedDialogAnswer, {"Mirror", "", "Archive"}, "ftp.Mirror.example", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportFixture fixture;
        const auto before = std::make_unique<SiteSlots>(fixture.session.book.SiteTable);
        const std::size_t filesBefore = fixture.folder.entryCount();
        fixture.import("sites.xml", c.answer);
        std::vector<std::string> slots;
        for (int slot = 0; slot < static_cast<int>(c.slots.size()); ++slot)
            slots.push_back(fixture.session.book.SiteTable[slot].Active ? fixture.description(slot) : "");
        EXPECT_EQ(slots, c.slots);
        const auto mirror = fixture.session.book.findSiteSlot("Mirror");
        ASSERT_TRUE(mirror);
        EXPECT_EQ(fixture.address(*mirror), c.mirrorHost);
        EXPECT_EQ(fixture.session.BookModified, c.changed);
        EXPECT_EQ(fixture.session.book.SiteCount, static_cast<int>(c.slots.size()) - (c.changed ? 0 : 1));
        std::vector<std::string> listed(c.slots.begin(), c.slots.end());
        listed.erase(std::remove(listed.begin(), listed.end(), ""), listed.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(fixture.ui.items, listed);
        if (!c.changed) {
            EXPECT_EQ(std::memcmp(before.get(), &fixture.session.book.SiteTable, sizeof(SiteSlots)), 0)
                << "not a byte of the table changes";
        }
        EXPECT_EQ(fixture.folder.entryCount(), filesBefore) << "nothing is written to disk";
    }
}

TEST(ImportSites, StoresLikeInsertInTheLowestFreeSlotStampedToday) {
    ImportFixture fixture;
    fixture.session.book.SiteTable[1].Description.assign("Freed slot's old text");
    fixture.ui.selected = 1;
    fixture.import("sites.xml", AnswerNo);
    const SiteRecord& one = fixture.session.book.SiteTable[1];
    EXPECT_EQ(one.Active, 1);
    EXPECT_EQ(one.Description.text(), "One");
    EXPECT_EQ(std::string(one.Description.chars, 21), std::string("One") + "ed slot's old text")
        << "the bytes behind the new text stay";
    EXPECT_EQ(one.UserName.text(), "me");
    EXPECT_EQ(one.Password.text(), "pw");
    EXPECT_EQ(one.Anonymous, 0);
    EXPECT_EQ(one.stamp(), *EncodeDayNumber(2026, 12, 7));
    EXPECT_EQ(fixture.session.book.SiteTable[0].stamp(), 35250) << "the kept site keeps its stamp";
    EXPECT_EQ(fixture.ui.selected, -1);
    EXPECT_FALSE(fixture.ui.enabled[SiteControl::DeletePD]);
}

TEST(ImportSites, The200SiteLimitTakesTheFirstSitesOfTheFileAndLeavesTheRestOut) {
    CommandFixture fixture;
    for (int n = 0; n < 198; ++n)
        fixture.addSite("Site " + std::to_string(n));
    writeBytes(fixture.folder.file("five.csv"),
               csvOf({"A,a.example.com,,,,,,", "B,b.example.com,,,,,,", "Site 7,x.example.com,,,,,,",
                      "C,c.example.com,,,,,,", "D,d.example.com,,,,,,"}));
    fixture.ui.fileNames[FileDialog::Import].push_back(fixture.folder.file("five.csv"));
    fixture.ui.answers.push_back(AnswerYes);
    importSites(fixture.session, fixture.ui);
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(
        fixture.ui.messages[0].text,
        "five.csv holds 5 sites: 2 will be added, 1 has the description of a site already in the book, 2 "
        "are left out because a book holds at most 200 sites. Replace the site that is already in the "
        "book?");
    const std::vector<std::string> details = {
        "A: added",
        "B: added",
        "Site 7: already in the book (Yes replaces the book's site, No keeps it)",
        "C: left out: a book holds at most 200 sites",
        "D: left out: a book holds at most 200 sites",
    };
    EXPECT_EQ(fixture.ui.messages[0].details, details);
    EXPECT_EQ(fixture.session.book.SiteCount, 200);
    EXPECT_FALSE(fixture.session.book.hasActiveDescription("C"));
    EXPECT_EQ(
        fixture.session.book.SiteTable[fixture.session.book.findSiteSlot("Site 7").value()].Address.text(),
        "x.example.com");

    // A full book takes nothing: the summary only tells.
    fixture.ui.messages.clear();
    fixture.ui.fileNames[FileDialog::Import].push_back(fixture.folder.file("five.csv"));
    fixture.session.BookModified = false;
    importSites(fixture.session, fixture.ui);
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(
        fixture.ui.messages[0].text,
        "five.csv holds 5 sites: none will be added, 3 have the description of a site already in the book, "
        "2 are left out because a book holds at most 200 sites. Replace the 3 sites that are already in "
        "the book?");
}

TEST(ImportSites, CutAndConvertedFieldsAreStoredCutAndNamedInTheDetails) {
    CommandFixture fixture;
    const std::string longName(130, 'n');
    writeBytes(
        fixture.folder.file("long.csv"),
        csvOf({longName + ",a-host-name-of-31-characters.ex,123456,\xCE\xA9mega,twenty-one-characters,/d,0,s",
               "Caf\xC3\xA9 \xE2\x82\xAC,ftp.example.com,21,,,,1,"}));
    fixture.ui.fileNames[FileDialog::Import].push_back(fixture.folder.file("long.csv"));
    fixture.ui.answers.push_back(AnswerYes);
    importSites(fixture.session, fixture.ui);
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(fixture.ui.messages[0].text,
              "long.csv holds 2 sites: 2 will be added, 1 has fields longer than "
              "Portolan keeps, 1 has letters that Portolan stores as \"?\". Add them "
              "to the book?");
    EXPECT_EQ(fixture.ui.messages[0].buttons, button::Yes | button::Cancel);
    const std::vector<std::string> details = {
        longName +
            ": added; Description cut to 128 characters; Address cut to 30 characters; Port cut to 5 "
            "characters; User Name: letters that Portolan cannot store became \"?\"; Password cut to 20 "
            "characters",
        "Caf\xC3\xA9 \xE2\x82\xAC: added",
    };
    EXPECT_EQ(fixture.ui.messages[0].details, details);
    const SiteRecord& first = fixture.session.book.SiteTable[0];
    EXPECT_EQ(first.Description.text(), std::string(128, 'n'));
    EXPECT_EQ(first.Address.text(), "a-host-name-of-31-characters.e");
    EXPECT_EQ(first.Port.text(), "12345");
    EXPECT_EQ(first.UserName.text(), "?mega");
    EXPECT_EQ(first.Password.text(), "twenty-one-character");
    EXPECT_EQ(fixture.session.book.SiteTable[1].Description.text(), "Caf\xE9 \x80")
        << "Windows-1252 has both";
    EXPECT_EQ(fixture.ui.items.front(), "Caf\xE9 \x80");
}

TEST(ImportSites, ADescriptionThatWouldTakeATakenOneGetsANumberWithin128Characters) {
    CommandFixture fixture;
    const std::string stem(128, 'd');
    fixture.addSite(stem);
    fixture.addSite("?mega");
    writeBytes(fixture.folder.file("clash.csv"),
               csvOf({
                   stem + "e,a.example.com,,,,,,",     // cut into the book's
                   "\xCE\xA9mega,b.example.com,,,,,,", // converted into the book's
                   "Twin,c.example.com,,,,,,",
                   "Twin,d.example.com,,,,,,", // the file's own twin
                   "Twin,e.example.com,,,,,,",
                   "Twin (2),f.example.com,,,,,,",
               }));
    fixture.ui.fileNames[FileDialog::Import].push_back(fixture.folder.file("clash.csv"));
    fixture.ui.answers.push_back(AnswerYes);
    importSites(fixture.session, fixture.ui);
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_EQ(
        fixture.ui.messages[0].text,
        "clash.csv holds 6 sites: 6 will be added, 5 get a number after their description, 1 has fields "
        "longer than Portolan keeps, 1 has letters that Portolan stores as \"?\". Add them to the book?");
    const std::vector<std::string> descriptions = {
        stem.substr(0, 124) + " (2)", "?mega (2)", "Twin", "Twin (2)", "Twin (3)", "Twin (2) (2)"};
    for (std::size_t n = 0; n < descriptions.size(); ++n)
        EXPECT_EQ(fixture.session.book.SiteTable[2 + n].Description.text(), descriptions[n]) << n;
    EXPECT_EQ(fixture.ui.messages[0].details[1],
              "\xCE\xA9mega: added; Description: letters that Portolan cannot store became \"?\"; gets the "
              "description \"?mega (2)\"");
    EXPECT_EQ(fixture.session.book.SiteCount, 8);
}

TEST(ImportSites, FilesThatCannotBeImportedAreReportedAndChangeNothing) {
    CommandFixture fixture;
    writeBytes(fixture.folder.file("plain.txt"), "Mirror,ftp.example.com\n");
    writeBytes(fixture.folder.file("bad.xml"), "<FileZilla3><Servers>");
    writeBytes(fixture.folder.file("short.ptn"), std::string(1000, '\0'));
    writeBytes(fixture.folder.file("empty.csv"), "Address;Port\r\n");
    struct Case {
        std::string name;
        std::string message;
        MessageKind kind;
    };
    const Case cases[] = {
        {"missing.csv", "Could not read " + fixture.folder.file("missing.csv") + ": File not found.",
         MessageKind::Error},
        {"plain.txt",
         "plain.txt cannot be imported: its first row does not name its columns. Portolan reads CSV files "
         "whose "
         "first row names some of the columns Description, Address, Port, User Name, Password, Login "
         "Directory, "
         "Anonymous and Script, separated by commas or semicolons.",
         MessageKind::Error},
        {"bad.xml",
         "bad.xml cannot be imported: it is not well-formed XML (Start-end tags mismatch at byte 20).",
         MessageKind::Error},
        {"short.ptn",
         "An error occured upon read of " + fixture.folder.file("short.ptn") +
             ".  Either file is corrupted or of another, incorrect type.",
         MessageKind::Error},
        {"empty.csv", "empty.csv holds no sites.", MessageKind::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixture.ui.messages.clear();
        fixture.ui.fileNames[FileDialog::Import].push_back(fixture.folder.file(c.name));
        importSites(fixture.session, fixture.ui);
        ASSERT_EQ(fixture.ui.messages.size(), 1u);
        EXPECT_EQ(fixture.ui.messages[0].text, c.message);
        EXPECT_EQ(fixture.ui.messages[0].kind, c.kind);
        EXPECT_EQ(fixture.ui.messages[0].buttons, button::OK);
        EXPECT_EQ(fixture.session.book.SiteCount, 0);
        EXPECT_FALSE(fixture.session.BookModified);
    }
    fixture.ui.messages.clear();
    importSites(fixture.session, fixture.ui); // the dialog cancelled
    EXPECT_TRUE(fixture.ui.messages.empty());
}

TEST(ImportSites, TheDialogStartsInFileZillasSettingsFolderElseInTheBooksFolder) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        std::set<std::string> folders;
        std::string book;
        std::string start;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME first",
         {{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}},
         {"/x/filezilla", "/h/.config/filezilla", "/h/.filezilla"},
         "/books/b.ptn",
         "/x/filezilla"},
        {"then ~/.config",
         {{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}},
         {"/h/.config/filezilla", "/h/.filezilla"},
         "",
         "/h/.config/filezilla"},
        {"a relative XDG_CONFIG_HOME is ignored",
         {{"XDG_CONFIG_HOME", "x"}, {"HOME", "/h"}},
         {"x/filezilla", "/h/.filezilla"},
         "",
         "/h/.filezilla"},
        {"Windows",
         {{"APPDATA", "C:/Users/me/AppData/Roaming"}},
         {"C:/Users/me/AppData/Roaming/FileZilla"},
         "",
         "C:/Users/me/AppData/Roaming/FileZilla"},
        {"none: the book's folder", {{"HOME", "/h"}}, {}, "/books/b.ptn", "/books"},
        {"a book in the root", {}, {}, "/b.ptn", "/"},
        {"an untitled book", {{"HOME", "/h"}}, {}, "", ""},
    };
    for (const Case& c : cases) {
        TestPlaces places("/program");
        places.environment = c.environment;
        places.folders = c.folders;
        EXPECT_EQ(importStartFolder(places, c.book), c.start) << c.name;
    }
}
