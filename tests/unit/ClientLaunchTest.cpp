#include "support/FakeUserInterface.h"
#include "support/TempFolder.h"
#include "support/TestPlaces.h"

#include "commands/ClientLaunch.h"

#include <gtest/gtest.h>

#include <string>

namespace portolan {
namespace {

using testing::FixedClock;
using testing::RecordingLauncher;
using testing::TempFolder;
using testing::TestPlaces;

// The site of the worked examples: Mirror at example-host, port 21, user guest, directory /pub.
SiteFields mirror() {
    SiteFields fields;
    fields.Description = "Mirror";
    fields.Address = "example-host";
    fields.Port = "21";
    fields.UserName = "guest";
    fields.LoginDirectory = "/pub";
    return fields;
}

SiteRecord record(const SiteFields& fields, std::uint8_t anonymous = 0) {
    SiteBook book;
    book.storeSite(0, fields, 35250);
    book.SiteTable[0].Anonymous = anonymous;
    return book.SiteTable[0];
}

TEST(ReplaceFirst, ReplacesOnlyTheFirstOccurrence) {
    struct Case {
        const char* text;
        const char* placeholder;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"a %a b", "%a", "host", "a host b"},
        {"%a%a", "%a", "x", "x%a"},
        {"a %a b", "%a", "", "a  b"},
        {"no marks", "%a", "x", "no marks"},
        {"%A %a", "%a", "x", "%A x"},
        {"%", "%a", "x", "%"},
        {"", "%a", "x", ""},
        {"end %a", "%a", "%a%a", "end %a%a"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        replaceFirst(text, c.placeholder, c.value);
        EXPECT_EQ(text, c.expected) << "text " << c.text << " value " << c.value;
    }
}

TEST(ExpandClientCommand, WorkedExamplesAndEdgeCases) {
    SiteFields withPlaceholder = mirror();
    withPlaceholder.Description = "Mirror %u";
    SiteFields withAddressMark = mirror();
    withAddressMark.Description = "M %a";
    SiteFields allFields = mirror();
    allFields.Password = "secret";
    allFields.Script = "run.scr";
    const std::string longTemplate = std::string(140, 'x') + " %a";

    struct Case {
        std::string clientCommand;
        SiteFields site;
        std::uint8_t anonymous;
        bool useAnonymParam;
        std::string expected;
    };
    const Case cases[] = {
        {"client.exe %a %p", mirror(), 0, false, "client.exe example-host 21"},
        {"client.exe %u %a%i", mirror(), 0, false, "client.exe guest example-host/pub"},
        {"client.exe %a %s %c", mirror(), 0, false, "client.exe example-host  "},
        {"client.exe %a", mirror(), 1, true, "client.exe Anonym example-host"},
        {"client.exe %a", mirror(), 1, false, "client.exe example-host"},
        {"client.exe %a", mirror(), 0, true, "client.exe example-host"},
        {"client.exe", mirror(), 1, true, "Anonym client.exe"},
        {"client.exe %a %a", mirror(), 0, false, "client.exe example-host %a"},
        {"client.exe %d %u", withPlaceholder, 0, false, "client.exe Mirror guest %u"},
        {"", mirror(), 0, false, ""},
        {"", mirror(), 1, true, "Anonym "},
        {"C:\\Program Files\\ftp.exe %a", mirror(), 1, true,
         "C:\\Program Anonym Files\\ftp.exe example-host"},
        {"client.exe %p %p", mirror(), 0, false, "client.exe 21 %p"},
        {"client.exe %A %D %P", mirror(), 0, false, "client.exe %A %D %P"},
        {"client.exe %d %a", withAddressMark, 0, false, "client.exe M example-host %a"},
        {"c %d|%a|%p|%u|%s|%c|%i", allFields, 0, false, "c Mirror|example-host|21|guest|secret|run.scr|/pub"},
        {"client.exe %a", mirror(), 7, true, "client.exe Anonym example-host"},
        {"client.exe  %a", mirror(), 1, true, "client.exe Anonym  example-host"},
        {"%u ftp://%a", mirror(), 1, true, "guest Anonym ftp://example-host"},
        {longTemplate, mirror(), 0, false, std::string(140, 'x') + " example-host"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandClientCommand(c.clientCommand, record(c.site, c.anonymous), c.useAnonymParam),
                  c.expected)
            << "template " << c.clientCommand << ", anonymous " << int(c.anonymous) << ", option "
            << c.useAnonymParam;
}

TEST(ExpandClientCommand, UsesTheStoredCharactersOnly) {
    // A field holds only the characters its length byte counts; what lies behind stays out.
    SiteRecord site = record(mirror());
    site.Address.assign("ab");
    EXPECT_EQ(expandClientCommand("c %a.", site, false), "c ab.");
}

// The command line is the system's own text, UTF-8, and the site's fields are Windows-1252: each value
// keeps its letters as it is inserted, and a placeholder inside it is still the one replaced later.
TEST(ExpandClientCommand, SiteFieldsKeepTheirLettersInTheCommandLine) {
    SiteFields site = mirror();
    site.Description = "B\xfc"
                       "cher %u";
    site.UserName = "Jos\xe9";
    const std::string client = "/opt/\xd0\xba\xd0\xbb\xd0\xb8\xd0\xb5\xd0\xbd\xd1\x82/ftp"; // клиент
    EXPECT_EQ(expandClientCommand(client + " %d %u", record(site), false), client + " B\xc3\xbc"
                                                                                    "cher Jos\xc3\xa9 %u");
}

TEST(SiteBoxDblClick, LaunchesTheCurrentSiteWithTheSettingsInForce) {
    TempFolder folder;
    FixedClock clock({2026, 12, 7});
    RecordingLauncher launcher;
    TestPlaces places(folder.path());
    Session session(clock, launcher, places);
    session.book.storeSite(0, mirror(), 35250);
    session.book.SiteTable[0].Anonymous = 1;
    session.book.copyToCurrent(0);
    // The table changes after the selection; the launch uses the copy the selection made.
    session.book.SiteTable[0].Address.assign("elsewhere");
    session.settings.ClientCommand = "client.exe %a %u";
    session.settings.UseAnonymParam = true;

    SiteBoxDblClick(session);

    ASSERT_EQ(launcher.commandLines.size(), 1u);
    EXPECT_EQ(launcher.commandLines[0], "client.exe Anonym example-host guest");
    EXPECT_EQ(session.settings.ClientCommand, "client.exe %a %u") << "the template itself never changes";
}

TEST(SiteBoxDblClick, AnEmptyTemplateHandsOnAnEmptyLine) {
    TempFolder folder;
    FixedClock clock({2026, 12, 7});
    RecordingLauncher launcher;
    TestPlaces places(folder.path());
    Session session(clock, launcher, places);

    SiteBoxDblClick(session);

    ASSERT_EQ(launcher.commandLines.size(), 1u);
    EXPECT_EQ(launcher.commandLines[0], "");
}

} // namespace
} // namespace portolan
