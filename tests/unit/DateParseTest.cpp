#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

namespace portolan {
namespace {

DateSettings settingsWith(std::string pattern, char delimiter) {
    DateSettings settings;
    settings.ShortDatePattern = std::move(pattern);
    settings.DateDelimiter = delimiter;
    return settings;
}

DayNumber dayOf(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return *EncodeDayNumber(year, month, day);
}

// The message, or "" when the text was read as the date.
std::string failureOf(std::string_view text, const DateSettings& settings, int currentYear) {
    try {
        ParseDateText(text, settings, currentYear);
        return "";
    } catch (const EConvertError& error) {
        return error.what();
    }
}

std::string invalidDateMessage(std::string_view text) {
    return std::string("'").append(utf8FromCp1252(text)).append("' is not a valid date");
}

constexpr int anyYear = 0; // the row holds with the clock in 1996 and in 2026

struct Accepted {
    const char* text;
    int currentYear;
    DayNumber day;
};

TEST(DateParse, ReadsTypedDatesInTheDefaultOrder) {
    const DateSettings settings;
    const Accepted cases[] = {
        {"12/31/96", 1996, 35430},
        {"12/31/96", 2026, 71955},
        {"7/4", 1996, dayOf(1996, 7, 4)},
        {"7/4", 2026, dayOf(2026, 7, 4)},
        {" 7 / 4 / 1996 ", anyYear, 35250},
        {"07/04/1996/", anyYear, 35250},
        {"07/04/1996 / ", anyYear, 35250},
        {"1/1/0", 2026, 36526},
        {"1/1/0", 1996, 2},
        {"1/1/99", 2026, dayOf(2099, 1, 1)},
        {"1/1/99", 1996, dayOf(1999, 1, 1)},
        {"1/1/100", anyYear, dayOf(100, 1, 1)},
        {"0007/4/1996", anyYear, 35250},
        {"0001/0001/0000001996", anyYear, dayOf(1996, 1, 1)}, // leading zeros never count
        {"12/31/9999", anyYear, 2958465},
        {"1/1/1", 2026, dayOf(2001, 1, 1)},
        {"1/1/0001", 2026, dayOf(2001, 1, 1)}, // the year is its value, 1, and joins the century
        {"2/29/1996", anyYear, dayOf(1996, 2, 29)},
        {"2/29/2000", anyYear, dayOf(2000, 2, 29)},
        {"2/29", 1996, dayOf(1996, 2, 29)},
    };
    for (const Accepted& c : cases) {
        for (const int currentYear : {1996, 2026}) {
            if (c.currentYear == anyYear || c.currentYear == currentYear) {
                EXPECT_EQ(ParseDateText(c.text, settings, currentYear), c.day)
                    << c.text << " in " << currentYear;
            }
        }
    }
    EXPECT_NE(failureOf("2/29", settings, 2026), ""); // 2026 has no February 29
}

TEST(DateParse, RejectsWithTheWholeTextAsTyped) {
    const DateSettings settings;
    const char* rejected[] = {
        "7/4/",      "2/29/1900", "13/1/96",  "12345/1/1", "7-4-96",   "   ",      "",
        "7",         "7/",        "/4/96",    "7//96",     "0/1/96",   "1/0/96",   "1/32/96",
        "2/29/2100", "7/4/96x",   "7/4/96//", "x7/4/96",   "7\t/4/96", "7/4/96\t", "1/1/10000",
        "7/4/96/1",  "+7/4/96",   "7.4.96",   "Jul/4/96",  "4-Jul-96", "4/7/96 x",
    };
    for (const int currentYear : {1996, 2026}) {
        for (const char* text : rejected)
            EXPECT_EQ(failureOf(text, settings, currentYear), invalidDateMessage(text)) << text;
    }
    EXPECT_EQ(failureOf("   ", settings, 2026), "'   ' is not a valid date");
}

TEST(DateParse, FollowsTheOrderAndDelimiterOfTheShortPattern) {
    struct Case {
        const char* pattern;
        char delimiter;
        const char* text;
        int currentYear;
        DayNumber day;
    };
    const Case cases[] = {
        {"dd.MM.yyyy", '.', "31.12.1996", 2026, 35430},
        {"dd.MM.yyyy", '.', "31.12.1996", 1996, 35430},
        {"dd.MM.yyyy", '.', "31.12", 1996, 35430},
        {"dd.MM.yyyy", '.', "31.12", 2026, dayOf(2026, 12, 31)},
        {"yyyy-MM-dd", '-', "96-7-4", 2026, dayOf(2096, 7, 4)},
        {"yyyy-MM-dd", '-', "96-7-4", 1996, 35250},
        {"yyyy-MM-dd", '-', "7-4", 2026, dayOf(2026, 7, 4)},
        {"yyyy-MM-dd", '-', "7-4", 1996, 35250},
        {"YYYY/MM/DD", '/', "1996/7/4", 2026, 35250},
        {"'d' m/y", '/', "4/7/96", 1996, 35250}, // the first d, m or y decides, quoted or not
        {"x-M-d", '-', "7-4-96", 1996, 35250},
        {"", '/', "7/4/96", 1996, 35250}, // no letter: month, day, year
        {"", '/', "4/7", 2026, dayOf(2026, 4, 7)},
        {"hh:nn", '/', "7/4/96", 1996, 35250}, // nor any other letter
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDateText(c.text, settingsWith(c.pattern, c.delimiter), c.currentYear), c.day)
            << c.pattern << " " << c.text;
    EXPECT_NE(failureOf("31.12.1996", settingsWith("dd.MM.yyyy", '/'), 2026), "");
    EXPECT_NE(failureOf("12/31/1996", settingsWith("dd/MM/yyyy", '/'), 2026), "");
}

TEST(DateParse, ABlankDelimiterAcceptsNothing) {
    const DateSettings settings = settingsWith("d m yy", ' ');
    for (const char* text : {"4 7 96", "4 7", "4  7", "4/7/96", "4", ""})
        EXPECT_EQ(failureOf(text, settings, 2026), invalidDateMessage(text)) << text;
}

TEST(DateParse, AClockYearOutsideTheCalendarMakesTwoNumbersInvalid) {
    const DateSettings settings;
    EXPECT_NE(failureOf("7/4", settings, 0), "");
    EXPECT_NE(failureOf("7/4", settings, 10000), "");
    EXPECT_EQ(ParseDateText("7/4/1996", settings, 0), 35250);
    EXPECT_EQ(ParseDateText("7/4/96", settings, 0), dayOf(96, 7, 4));
    EXPECT_EQ(ParseDateText("7/4/96", settings, 99), dayOf(96, 7, 4));
    EXPECT_NE(failureOf("7/4/96", settings, 2147483647), "");
    EXPECT_NE(failureOf("7/4/96", settings, -2147483647 - 1), "");
}

TEST(DateParse, ReadsBackTheDateTextOfNumericPatterns) {
    for (const auto& [pattern, delimiter] :
         {std::pair{"m/d/yyyy", '/'}, {"dd.mm.yyyy", '.'}, {"yyyy-mm-dd", '-'}}) {
        const DateSettings settings = settingsWith(pattern, delimiter);
        for (std::int32_t day = firstValidDay; day <= lastValidDay; day += 997) {
            const std::string text = FormatDateText(day, settings);
            if (DecodeDayNumber(day).year < 100)
                continue; // a year below 100 reads as one of the clock's century
            ASSERT_EQ(ParseDateText(text, settings, 2026), day) << text;
        }
    }
}

} // namespace
} // namespace portolan
