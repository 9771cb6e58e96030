#include "commands/ClientConfiguration.h"

#include <gtest/gtest.h>

#include <string>

namespace portolan {
namespace {

TEST(ConfirmClientSettings, TrimsControlsAndBlanksAndStoresBothValues) {
    struct Case {
        std::string typed;
        bool checked;
        std::string stored;
    };
    const Case cases[] = {
        {"  client.exe %a  ", true, "client.exe %a"},
        {"    ", false, ""},
        {"", true, ""},
        {"\t\r\nclient.exe %a\x01\x1f", false, "client.exe %a"},
        {" a  b ", true, "a  b"},                            // blanks inside stay
        {"client.exe\xc2\xa0", false, "client.exe\xc2\xa0"}, // only codes 32 or less are trimmed
        {std::string(200, 'c'), true, std::string(200, 'c')},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.ClientCommand = "old";
        settings.UseAnonymParam = !c.checked;
        EXPECT_EQ(confirmClientSettings(settings, c.typed, c.checked), c.stored)
            << "typed [" << c.typed << "]";
        EXPECT_EQ(settings.ClientCommand, c.stored);
        EXPECT_EQ(settings.UseAnonymParam, c.checked);
    }
}

TEST(ConfirmClientSettings, LeavesTheWindowBoundsAlone) {
    Settings settings{1, 2, 3, 4, "old", false};
    confirmClientSettings(settings, "new", true);
    EXPECT_EQ(settings.Left, 1);
    EXPECT_EQ(settings.Top, 2);
    EXPECT_EQ(settings.Width, 3);
    EXPECT_EQ(settings.Height, 4);
}

TEST(AppendClientPath, AppendsDirectlyAndQuotesANameWithWhiteSpace) {
    struct Case {
        const char* text;
        const char* chosen;
        const char* expected;
    };
    const Case cases[] = {
        {"client.exe", "C:\\Apps\\ftp.exe", "client.exeC:\\Apps\\ftp.exe"},
        {"", "/usr/bin/ftp", "/usr/bin/ftp"},
        {"client.exe", "", "client.exe"},
        {"", "/opt/My Apps/ftp", "\"/opt/My Apps/ftp\""},
        {"x ", "C:\\Program Files\\ftp.exe", "x \"C:\\Program Files\\ftp.exe\""},
        {"", "/opt/tab\there", "\"/opt/tab\there\""},
        {"",
         "/opt/no\xc2\xa0"
         "break",
         "\"/opt/no\xc2\xa0"
         "break\""}, // U+00A0, the no-break space
        {"",
         "/opt/\xe3\x80\x80"
         "ftp",
         "\"/opt/\xe3\x80\x80"
         "ftp\""},                                                      // U+3000, the ideographic space
        {"", "/opt/\xd0\xa0\xd0\xb0/ftp", "/opt/\xd0\xa0\xd0\xb0/ftp"}, // Ра: a0 is part of a letter
        {"%a ", "/usr/bin/ftp", "%a /usr/bin/ftp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(appendClientPath(c.text, c.chosen), c.expected) << "chosen " << c.chosen;
}

} // namespace
} // namespace portolan
