#include "book/DateLocale.h"
#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/Cp1252.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace portolan {
namespace {

// The name of the user's locale, such as "de-DE".
std::string userLocaleName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    ::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return cp1252FromUtf16(std::u16string(name, name + ::wcslen(name)));
}

// The date settings of the user's locale, read over settings that differ from them in every item.
DateSettings loadedSettings() {
    DateSettings settings;
    settings.ShortDatePattern = settings.LongDatePattern = "x";
    settings.DateDelimiter = '#';
    settings.LongMonthNames.fill("x");
    settings.LongDayNames.fill("x");
    LoadDateSettings(settings, true);
    return settings;
}

// These run in a user's locale of their own: under Wine with LANG=de_DE.UTF-8 and LANG=ja_JP.UTF-8, as
// the test command runs them (Wine takes the user's locale from LANG, where that locale is compiled).
std::string elsewhere(const std::string& wanted) {
    return "the user's locale is " + userLocaleName() + ", not " + wanted +
           " (under Wine it follows LANG where that locale is compiled)";
}

// Windows writes the German short date as dd.MM.yyyy; Wine 8 as d.M.yyyy.
TEST(UserLocale, German) {
    if (userLocaleName() != "de-DE")
        GTEST_SKIP() << elsewhere("de-DE");
    const DateSettings settings = loadedSettings();
    EXPECT_TRUE(settings.ShortDatePattern == "dd.mm.yyyy" || settings.ShortDatePattern == "d.m.yyyy")
        << settings.ShortDatePattern;
    EXPECT_EQ(settings.DateDelimiter, '.');
    EXPECT_EQ(settings.LongDatePattern, "dddd, d. mmmm yyyy");
    EXPECT_EQ(settings.LongMonthNames[2], "M\xe4rz"); // UTF-16 in the locale, Windows-1252 here
    EXPECT_EQ(settings.LongMonthNames[11], "Dezember");
    EXPECT_EQ(settings.LongDayNames[0], "Sonntag");
    EXPECT_EQ(settings.ShortTimePattern, "hh:mm");
    EXPECT_EQ(settings.LongTimePattern, "hh:mm:ss");
    EXPECT_EQ(FormatDatePattern(35250, settings.LongDatePattern, settings), "Donnerstag, 4. Juli 1996");
    EXPECT_EQ(ParseDateText("31.12.1996", settings, 2026), 35430);
    EXPECT_EQ(ParseDateText(FormatDateText(35250, settings), settings, 2026), 35250);
}

// Windows writes the Japanese short date as yyyy/MM/dd; Wine 8 as yyyy/M/d. The names have no letter
// that Windows-1252 holds.
TEST(UserLocale, Japanese) {
    if (userLocaleName() != "ja-JP")
        GTEST_SKIP() << elsewhere("ja-JP");
    const DateSettings settings = loadedSettings();
    EXPECT_TRUE(settings.ShortDatePattern == "yyyy/mm/dd" || settings.ShortDatePattern == "yyyy/m/d")
        << settings.ShortDatePattern;
    EXPECT_EQ(settings.DateDelimiter, '/');
    EXPECT_EQ(settings.LongMonthNames[0], "1?");
    EXPECT_EQ(settings.LongDayNames[0], "???");
    EXPECT_EQ(settings.TimeAMString, "??");
    EXPECT_EQ(settings.ShortTimePattern, "h:mm");
    EXPECT_EQ(ParseDateText("1996/7/4", settings, 2026), 35250);
    EXPECT_EQ(ParseDateText(FormatDateText(35250, settings), settings, 2026), 35250);
}

} // namespace
} // namespace portolan
