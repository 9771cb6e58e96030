#include "book/DateLocale.h"
#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/SystemLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <optional>

// glibc's newlocale builds a search path from LOCPATH at every call and never frees it. Only the tests
// set LOCPATH, so the leak checker of the sanitizer build is told to pass over that block.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}

namespace portolan {
namespace {

TEST(DateSettings, DefaultsAreThoseOfTheCLocale) {
    const DateSettings settings;
    EXPECT_EQ(settings.ShortDatePattern, "m/d/yy");
    EXPECT_EQ(settings.DateDelimiter, '/');
    EXPECT_EQ(settings.LongDatePattern, "mmmm d, yyyy");
    EXPECT_EQ(settings.TimeDelimiter, ':');
    EXPECT_EQ(settings.TimeAMString, "am");
    EXPECT_EQ(settings.TimePMString, "pm");
    EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
    EXPECT_EQ(settings.LongTimePattern, "h:mm:ss AMPM");
    const std::array<std::string, 12> shortMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::array<std::string, 12> longMonths{"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
    const std::array<std::string, 7> shortDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const std::array<std::string, 7> longDays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
    EXPECT_EQ(settings.ShortMonthNames, shortMonths);
    EXPECT_EQ(settings.LongMonthNames, longMonths);
    EXPECT_EQ(settings.ShortDayNames, shortDays);
    EXPECT_EQ(settings.LongDayNames, longDays);
}

TEST(DateLocale, DelimiterIsTheFirstLiteralThatIsNoLetterDigitOrBlank) {
    const std::pair<const char*, char> cases[] = {
        {"%m/%d/%y", '/'},  {"%d.%m.%Y", '.'},  {"%Y-%m-%d", '-'}, {"%d %b %Y", '/'},    {"", '/'},
        {"%D", '/'},        {"%F", '-'},        {"%d%m%Y", '/'},   {"%Y. %m. %d.", '.'}, {"%%%d", '%'},
        {"de %d, %m", ','}, {"%Y?%m?%d?", '?'},
    };
    for (const auto& [format, delimiter] : cases)
        EXPECT_EQ(dateDelimiterOf(format), delimiter) << format;
}

TEST(DateLocale, DateFormatsBecomePatterns) {
    struct Case {
        const char* format;
        char delimiter;
        const char* pattern;
    };
    const Case cases[] = {
        {"%m/%d/%y", '/', "mm/dd/yy"},
        {"%d.%m.%Y", '.', "dd.mm.yyyy"},
        {"%d/%m/%Y", '/', "dd/mm/yyyy"},
        {"%e/%m/%Y", '/', "d/mm/yyyy"},
        {"%-d.%-m.%Y", '.', "d.m.yyyy"},
        {"%_d.%_m.%y", '.', "d.m.yy"},
        {"%0e %Ey %Od %10m", '/', "d yy dd mm"},
        {"%Y-%m-%d", '-', "yyyy-mm-dd"},
        {"%d %b %Y", '/', "dd mmm yyyy"},
        {"%d %h %G %g", '/', "dd mmm yyyy yy"},
        {"%A, %B %e, %Y", ',', "dddd, mmmm d, yyyy"},
        {"%a %d", '/', "ddd dd"},
        {"%D", '/', "mm/dd/yy"},
        {"%F", '-', "yyyy-mm-dd"},
        {"%d.%m/%Y", '.', "dd.mm\"/\"yyyy"},  // a "/" that is not the delimiter is quoted
        {"%d%e%m%m", '/', "dd\"\"dmm\"\"mm"}, // same-letter elements kept apart
        {"%d de %B de %Y", '/', "dd \"de\" mmmm \"de\" yyyy"},
        {"%d'%m", '/', "dd\"'\"mm"},
        {"%d\"%m", '/', "dd'\"'mm"},
        {"%d:%m", '/', "dd\":\"mm"},
        {"%%%d%n%t", '%', "%dd\n\t"},
        {"%H:%M %d %j %U %C", '/', "\":\" dd   "}, // no date element, only the literals
        {"%d %", '/', "dd "},
        {"\xe4%d", '/',
         "\xe4"
         "dd"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(datePatternFromStrftime(c.format, c.delimiter), c.pattern) << c.format;
}

TEST(DateLocale, LongDatePatternTakesTheDateWordsWithNamesInFull) {
    struct Case {
        const char* dateTimeFormat;
        const char* dateFormat;
        const char* pattern;
    };
    const Case cases[] = {
        {"%a %d %b %Y %r %Z", "%m/%d/%Y", "dddd dd mmmm yyyy"},
        {"%a %d %b %Y %T %Z", "%d.%m.%Y", "dddd dd mmmm yyyy"},
        {"%a %b %e %H:%M:%S %Y", "%m/%d/%y", "dddd mmmm d yyyy"},
        {"%Y?%m?%d? %H?%M?%S?", "%Y?%m?%d?", "yyyy?mm?dd?"},
        {"%x %X", "%d/%m/%Y", "dd/mm/yyyy"},
        {"%c", "%d/%m/%Y", "dd/mm/yyyy"},
        {"", "%e %b", "d mmm"},
        {"%A  %d   %B", "%d", "dddd dd mmmm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(longDatePatternFromStrftime(c.dateTimeFormat, c.dateFormat, dateDelimiterOf(c.dateFormat)),
                  c.pattern)
            << c.dateTimeFormat;
}

TEST(DateLocale, TimeFormatsGiveTheHourStyleAndDelimiter) {
    struct Case {
        const char* format;
        bool leadingZero;
        bool twelveHour;
        char delimiter;
    };
    const Case cases[] = {
        {"%H:%M:%S", true, false, ':'},    {"%T", true, false, ':'},
        {"%R", true, false, ':'},          {"%r", false, true, ':'},
        {"%I:%M:%S %p", false, true, ':'}, {"%l:%M %P", false, true, ':'},
        {"%k.%M", false, false, '.'},      {"%-H:%M", false, false, ':'},
        {"%_H:%M", false, false, ':'},     {"%0H:%M", true, false, ':'},
        {"%H.%M.%S", true, false, '.'},    {"%Hh%M", true, false, ':'}, // a letter is no delimiter
        {"", false, false, ':'},           {"%p %I %M", false, true, ':'},
    };
    for (const Case& c : cases) {
        const TimeStyle style = timeStyleOf(c.format);
        EXPECT_EQ(style.leadingZero, c.leadingZero) << c.format;
        EXPECT_EQ(style.twelveHour, c.twelveHour) << c.format;
        EXPECT_EQ(style.delimiter, c.delimiter) << c.format;
    }
}

TimeLocaleItems germanItems() {
    TimeLocaleItems items;
    items.dateFormat = "%d.%m.%Y";
    items.dateTimeFormat = "%a %d %b %Y %T %Z";
    items.timeFormat = "%T";
    items.shortMonthNames = {"Jan", "Feb", "M\xe4r", "Apr", "Mai", "Jun",
                             "Jul", "Aug", "Sep",    "Okt", "Nov", "Dez"};
    items.longMonthNames = {"Januar", "Februar", "M\xe4rz",   "April",   "Mai",      "Juni",
                            "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    items.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    items.longDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    return items;
}

TEST(DateLocale, ALocaleGivesEveryItem) {
    DateSettings settings;
    applyTimeLocale(settings, germanItems(), true);
    EXPECT_EQ(settings.ShortDatePattern, "dd.mm.yyyy");
    EXPECT_EQ(settings.DateDelimiter, '.');
    EXPECT_EQ(settings.LongDatePattern, "dddd dd mmmm yyyy");
    EXPECT_EQ(settings.TimeDelimiter, ':');
    EXPECT_EQ(settings.TimeAMString, "");
    EXPECT_EQ(settings.TimePMString, "");
    EXPECT_EQ(settings.ShortTimePattern, "hh:mm");
    EXPECT_EQ(settings.LongTimePattern, "hh:mm:ss");
    EXPECT_EQ(settings.LongMonthNames[2], "M\xe4rz");
    EXPECT_EQ(settings.ShortDayNames[0], "So");
    EXPECT_EQ(FormatDateText(35250, settings), "04.07.1996");
    EXPECT_EQ(FormatDatePattern(35250 + 0.75, "dddddd tt", settings), "Donnerstag 04 Juli 1996 18:00:00");
    EXPECT_EQ(ParseDateText("4.7.1996", settings, 2026), 35250);
}

TEST(DateLocale, TwelveHourLocaleBuildsTheMarkerIntoTheTimePatterns) {
    TimeLocaleItems items = germanItems();
    items.timeFormat = "%r";
    items.amString = "AM";
    items.pmString = "PM";
    DateSettings settings;
    applyTimeLocale(settings, items, true);
    EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
    EXPECT_EQ(settings.LongTimePattern, "h:mm:ss AMPM");
    EXPECT_EQ(FormatDatePattern(35250 + 0.75, "t", settings), "6:00 PM");
}

TEST(DateLocale, WithoutNamesTheNamesStay) {
    DateSettings settings;
    applyTimeLocale(settings, germanItems(), false);
    EXPECT_EQ(settings.ShortDatePattern, "dd.mm.yyyy");
    EXPECT_EQ(settings.LongMonthNames, DateSettings{}.LongMonthNames);
    EXPECT_EQ(settings.ShortDayNames, DateSettings{}.ShortDayNames);
}

// Sets the locale variables for one test and puts them back afterwards. The system's locales are
// looked for only in the folder of locales that the build makes for the tests (LOCPATH), so the
// tests see the same locales on every machine.
class LocaleVariables : public ::testing::Test {
protected:
    LocaleVariables() {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (const char* value = std::getenv(names[i]))
                saved[i] = value;
        set(nullptr, nullptr, nullptr);
        ::setenv("LOCPATH", TEST_LOCALE_FOLDER, 1);
    }
    ~LocaleVariables() override {
        for (std::size_t i = 0; i < names.size(); ++i)
            saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
    }
    void set(const char* all, const char* time, const char* lang) {
        const char* values[] = {all, time, lang};
        for (std::size_t i = 0; i < std::size(values); ++i)
            values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
    }
    static bool exists(const char* name) {
        const locale_t locale = ::newlocale(LC_TIME_MASK, name, static_cast<locale_t>(0));
        if (locale == static_cast<locale_t>(0))
            return false;
        ::freelocale(locale);
        return true;
    }

    // Settings that differ from the defaults in every item.
    static DateSettings changedSettings() {
        DateSettings settings;
        applyTimeLocale(settings, germanItems(), true);
        settings.TimeAMString.assign(1, 'x');
        return settings;
    }

    static constexpr std::array<const char*, 4> names{"LC_ALL", "LC_TIME", "LANG", "LOCPATH"};
    std::array<std::optional<std::string>, 4> saved;
};

TEST_F(LocaleVariables, NameComesFromLcAllThenLcTimeThenLang) {
    EXPECT_EQ(timeLocaleName(), "");
    set(nullptr, nullptr, "de_DE.UTF-8");
    EXPECT_EQ(timeLocaleName(), "de_DE.UTF-8");
    set(nullptr, "fr_FR.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(timeLocaleName(), "fr_FR.UTF-8");
    set("C", "fr_FR.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(timeLocaleName(), "C");
    set("", "", "de_DE.UTF-8"); // empty values count as unset
    EXPECT_EQ(timeLocaleName(), "de_DE.UTF-8");
}

TEST_F(LocaleVariables, TheCLocaleByAnyNameGivesTheDefaults) {
    for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", ""}) {
        EXPECT_TRUE(isCLocaleName(name)) << name;
        set(nullptr, nullptr, *name ? name : nullptr);
        DateSettings settings = changedSettings();
        LoadDateSettings(settings, true);
        EXPECT_EQ(settings.ShortDatePattern, "m/d/yy") << name;
        EXPECT_EQ(settings.DateDelimiter, '/');
        EXPECT_EQ(settings.LongDatePattern, "mmmm d, yyyy");
        EXPECT_EQ(settings.TimeAMString, "am");
        EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
        EXPECT_EQ(settings.LongMonthNames, DateSettings{}.LongMonthNames);
        EXPECT_EQ(settings.ShortDayNames, DateSettings{}.ShortDayNames);
    }
    EXPECT_FALSE(isCLocaleName("de_DE.UTF-8"));
    EXPECT_FALSE(isCLocaleName("Ca_ES"));
}

TEST_F(LocaleVariables, AMissingLocaleGivesTheDefaults) {
    ASSERT_FALSE(exists("xx_XX.UTF-8"));
    set("xx_XX.UTF-8", nullptr, nullptr);
    EXPECT_FALSE(readTimeLocale("xx_XX.UTF-8"));
    DateSettings settings = changedSettings();
    LoadDateSettings(settings, true);
    EXPECT_EQ(settings.ShortDatePattern, "m/d/yy");
    EXPECT_EQ(settings.LongDayNames, DateSettings{}.LongDayNames);
}

TEST_F(LocaleVariables, ReloadingWithoutNamesKeepsTheNames) {
    set("C", nullptr, nullptr);
    DateSettings settings = changedSettings();
    LoadDateSettings(settings, false);
    EXPECT_EQ(settings.ShortDatePattern, "m/d/yy");
    EXPECT_EQ(settings.TimeAMString, "am");
    EXPECT_EQ(settings.LongMonthNames[2], "M\xe4rz");
    EXPECT_EQ(settings.ShortDayNames[0], "So");
}

// Real locales, from the folder that the build makes them in.
TEST_F(LocaleVariables, GermanLocale) {
    ASSERT_TRUE(exists("de_DE.UTF-8")) << "not made in " TEST_LOCALE_FOLDER;
    set(nullptr, "de_DE.UTF-8", nullptr);
    DateSettings settings;
    LoadDateSettings(settings, true);
    EXPECT_EQ(settings.ShortDatePattern, "dd.mm.yyyy");
    EXPECT_EQ(settings.DateDelimiter, '.');
    EXPECT_EQ(settings.ShortTimePattern, "hh:mm");
    EXPECT_EQ(settings.LongMonthNames[2], "M\xe4rz"); // UTF-8 in the locale, Windows-1252 here
    EXPECT_EQ(settings.LongDayNames[0], "Sonntag");
    EXPECT_EQ(FormatDateText(35250, settings), "04.07.1996");
}

TEST_F(LocaleVariables, AmericanLocale) {
    ASSERT_TRUE(exists("en_US.UTF-8")) << "not made in " TEST_LOCALE_FOLDER;
    set(nullptr, "en_US.UTF-8", nullptr);
    DateSettings settings;
    LoadDateSettings(settings, true);
    EXPECT_EQ(settings.ShortDatePattern, "mm/dd/yyyy");
    EXPECT_EQ(settings.DateDelimiter, '/');
    EXPECT_EQ(settings.TimeAMString, "AM");
    EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
    EXPECT_EQ(settings.LongMonthNames[6], "July");
    EXPECT_EQ(FormatDateText(35250, settings), "07/04/1996");
}

TEST_F(LocaleVariables, JapaneseNamesOutsideTheCodePageBecomeQuestionMarks) {
    ASSERT_TRUE(exists("ja_JP.UTF-8")) << "not made in " TEST_LOCALE_FOLDER;
    set(nullptr, "ja_JP.UTF-8", nullptr);
    DateSettings settings;
    LoadDateSettings(settings, true);
    EXPECT_EQ(settings.LongMonthNames[0], "1?");
    EXPECT_EQ(settings.LongDayNames[0], "???");
}

} // namespace
} // namespace portolan
