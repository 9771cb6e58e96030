#include "book/DateLocale.h"
#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/SystemLocale.h"

#include <gtest/gtest.h>

namespace portolan {
namespace {

// The format pictures of Windows locales, as GetLocaleInfoEx gives them (in Windows-1252).
TEST(DatePicture, DatePicturesBecomePatterns) {
    struct Case {
        const char* picture;
        char delimiter;
        const char* pattern;
    };
    const Case cases[] = {
        {"M/d/yyyy", '/', "m/d/yyyy"},
        {"dd.MM.yyyy", '.', "dd.mm.yyyy"},
        {"d.M.yyyy", '.', "d.m.yyyy"},
        {"yyyy-MM-dd", '-', "yyyy-mm-dd"},
        {"yyyy/M/d", '/', "yyyy/m/d"},
        {"d/MM/yy", '/', "d/mm/yy"},
        {"d/M/y", '/', "d/m/yy"},           // y is the year in two digits here
        {"dd/MM/yyyyy", '/', "dd/mm/yyyy"}, // and five y in four
        {"dddd, MMMM d, yyyy", '/', "dddd, mmmm d, yyyy"},
        {"dddd, d. MMMM yyyy", '.', "dddd, d. mmmm yyyy"},
        {"ddd d MMM yyyy", '/', "ddd d mmm yyyy"},
        {"ddddd MMMMM", '/', "dddd mmmm"},
        {"dddd, d' de 'MMMM' de 'yyyy", '/', "dddd, d \"de\" mmmm \"de\" yyyy"},
        {"yyyy?M?d?dddd", '/', "yyyy?m?d?dddd"}, // 年, 月 and 日 outside Windows-1252
        {"d/M/yyyy", '-', "d\"/\"m\"/\"yyyy"},   // a "/" that is not the delimiter is quoted
        {"dd'/'MM'/'yyyy", '/', "dd/mm/yyyy"},
        {"d 'o''clock' M", '/', "d \"o'clock\" m"},
        {"d''M", '/', "d\"'\"m"},
        {"dMMyy", '/', "dmmyy"},
        {"ddd", '/', "ddd"},
        {"gg yyyy", '/', " yyyy"}, // the era is left out
        {"d 'unclosed", '/', "d \"unclosed\""},
        {"d:M", '/', "d\":\"m"},
        {"d\"M", '/', "d'\"'m"},
        {"", '/', ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(datePatternFromPicture(c.picture, c.delimiter), c.pattern) << c.picture;
}

TEST(DatePicture, TimePicturesGiveTheHourStyleAndDelimiter) {
    struct Case {
        const char* picture;
        bool leadingZero;
        bool twelveHour;
        char delimiter;
    };
    const Case cases[] = {
        {"h:mm:ss tt", false, true, ':'}, {"hh:mm:ss tt", true, true, ':'}, {"HH:mm:ss", true, false, ':'},
        {"H:mm:ss", false, false, ':'},   {"H.mm.ss", false, false, '.'},   {"tt h:mm:ss", false, true, ':'},
        {"HH' h 'mm", true, false, ':'},  {"", false, false, ':'},
    };
    for (const Case& c : cases) {
        const TimeStyle style = timeStyleOfPicture(c.picture);
        EXPECT_EQ(style.leadingZero, c.leadingZero) << c.picture;
        EXPECT_EQ(style.twelveHour, c.twelveHour) << c.picture;
        EXPECT_EQ(style.delimiter, c.delimiter) << c.picture;
    }
}

// A Windows locale gives its date separator itself, and its long date as a picture of its own.
TEST(DatePicture, AWindowsLocaleGivesEveryItem) {
    TimeLocaleItems items;
    items.language = FormatLanguage::WindowsPicture;
    items.dateFormat = "dd.MM.yyyy";
    items.longDateFormat = "dddd, d. MMMM yyyy";
    items.dateSeparator = ".";
    items.timeFormat = "HH:mm:ss";
    items.amString = "";
    items.pmString = "";
    items.shortMonthNames = {"Jan", "Feb", "M\xe4r", "Apr", "Mai", "Jun",
                             "Jul", "Aug", "Sep",    "Okt", "Nov", "Dez"};
    items.longMonthNames = {"Januar", "Februar", "M\xe4rz",   "April",   "Mai",      "Juni",
                            "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    items.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    items.longDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    DateSettings settings;
    applyTimeLocale(settings, items, true);
    EXPECT_EQ(settings.ShortDatePattern, "dd.mm.yyyy");
    EXPECT_EQ(settings.DateDelimiter, '.');
    EXPECT_EQ(settings.LongDatePattern, "dddd, d. mmmm yyyy");
    EXPECT_EQ(settings.TimeDelimiter, ':');
    EXPECT_EQ(settings.ShortTimePattern, "hh:mm");
    EXPECT_EQ(settings.LongTimePattern, "hh:mm:ss");
    EXPECT_EQ(FormatDateText(35250, settings), "04.07.1996");
    EXPECT_EQ(FormatDatePattern(35250, "dddddd", settings), "Donnerstag, 4. Juli 1996");
    EXPECT_EQ(ParseDateText("31.12.1996", settings, 2026), 35430);

    // The separator is the locale's, even where the picture shows another; none leaves "/".
    items.dateSeparator = "-";
    applyTimeLocale(settings, items, false);
    EXPECT_EQ(settings.DateDelimiter, '-');
    EXPECT_EQ(settings.ShortDatePattern, "dd.mm.yyyy");
    items.dateSeparator.clear();
    items.timeFormat = "h:mm:ss tt";
    applyTimeLocale(settings, items, false);
    EXPECT_EQ(settings.DateDelimiter, '/');
    EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
}

} // namespace
} // namespace portolan
