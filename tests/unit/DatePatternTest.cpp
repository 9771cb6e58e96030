#include "book/DatePattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace portolan {
namespace {

constexpr DayNumber july4th1996 = 35250; // a Thursday
// 1996-07-04 13:05:09
constexpr DayNumber afternoon = july4th1996 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
constexpr DayNumber morning = july4th1996 + 9 / 24.0;
constexpr DayNumber midday = july4th1996 + 0.5;

struct Case {
    const char* pattern;
    DayNumber value;
    const char* text;
};

void expectTexts(const Case* begin, const Case* end, const DateSettings& settings) {
    for (const Case* c = begin; c != end; ++c)
        EXPECT_EQ(FormatDatePattern(c->value, c->pattern, settings), c->text)
            << "pattern \"" << c->pattern << "\", value " << c->value;
}

TEST(DatePattern, DateElements) {
    const Case cases[] = {
        {"m/d/yy", july4th1996, "7/4/96"},
        {"m/d/yy", 35430, "12/31/96"},
        {"d", july4th1996, "4"},
        {"dd", july4th1996, "04"},
        {"dd", 35430, "31"},
        {"ddd", july4th1996, "Thu"},
        {"dddd", july4th1996, "Thursday"},
        {"ddddd", july4th1996, "7/4/96"},
        {"dddddd", july4th1996, "July 4, 1996"},
        {"dddddddddd", july4th1996, "July 4, 1996"},
        {"m", july4th1996, "7"},
        {"mm", july4th1996, "07"},
        {"mm", 35430, "12"},
        {"mmm", july4th1996, "Jul"},
        {"mmmm", july4th1996, "July"},
        {"mmmmmmm", july4th1996, "July"},
        {"y", july4th1996, "96"},
        {"yy", july4th1996, "96"},
        {"yyy", july4th1996, "1996"},
        {"yyyy", july4th1996, "1996"},
        {"yyyyyy", july4th1996, "1996"},
        {"yy", *EncodeDayNumber(2005, 1, 1), "05"},
        {"yyyy", *EncodeDayNumber(5, 1, 1), "0005"},
        {"yy", *EncodeDayNumber(5, 1, 1), "05"},
        {"d-MMM-yy", july4th1996, "4-Jul-96"},
        {"dd.MM.yyyy", july4th1996, "04.07.1996"},
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, LettersReadWithoutCaseButRunsKeepTheirCase) {
    const Case cases[] = {
        {"D/M/YY", july4th1996, "4/7/96"}, {"DDDD", july4th1996, "Thursday"}, {"dD", july4th1996, "44"},
        {"dDd", july4th1996, "444"},       {"Mm", july4th1996, "77"},         {"mMM", july4th1996, "707"},
        {"yY", july4th1996, "9696"},       {"Yyy", july4th1996, "9696"},      {"yYYY", july4th1996, "961996"},
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, MAfterAnHourElementMeansMinutes) {
    const Case cases[] = {
        {"h:mm", afternoon, "13:05"},
        {"h:m", afternoon, "13:5"},
        {"hmm", afternoon, "1305"},
        {"H:MMM", afternoon, "13:05"}, // minutes stop at two digits
        {"d/m", afternoon, "4/7"},
        {"h d m", afternoon, "13 4 7"}, // the day element breaks the link
        {"h x m", afternoon, "13 x 7"}, // so does any letter
        {"h'x'm", afternoon, "13x5"},   // but not quoted text
        {"h-/:m", afternoon, "13-/:5"},
        {"h:m:m", afternoon, "13:5:7"}, // the second m follows a minutes
                                        // element, not an hour
        {"mm", afternoon, "07"},
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, QuotedTextIsWrittenWithoutItsQuotes) {
    const Case cases[] = {
        {"d 'of' mmmm", july4th1996, "4 of July"},
        {"\"dd\"d", july4th1996, "dd4"},
        {"'say \"m\"'", july4th1996, "say \"m\""},
        {"\"it's\" d", july4th1996, "it's 4"},
        {"''d\"\"", july4th1996, "4"},
        {"d 'yy/mm", july4th1996, "4 yy/mm"}, // never closed: takes the rest
        {"d \"", july4th1996, "4 "},
        {"'", july4th1996, ""},
        {"d/M/yy 'x'", july4th1996, "4/7/96 x"},
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, DelimitersAndOtherCharacters) {
    DateSettings settings;
    settings.DateDelimiter = '.';
    settings.TimeDelimiter = '-';
    const Case cases[] = {
        {"d/m/yy h:nn", afternoon, "4.7.96 13-05"},  {"d-m-yy x.", july4th1996, "4-7-96 x."},
        {"e f g i j k", july4th1996, "e f g i j k"}, {"ee", july4th1996, "ee"},
        {"\xe4 \x80 9", july4th1996, "\xe4 \x80 9"}, {"", july4th1996, ""},
    };
    expectTexts(std::begin(cases), std::end(cases), settings);
}

TEST(DatePattern, TimeElements) {
    const Case cases[] = {
        {"h:nn:ss", afternoon, "13:05:09"},
        {"h:n:s", afternoon, "13:5:9"},
        {"hhh:nnn:sss", afternoon, "13:05:09"},
        {"hh:nn:ss", july4th1996, "00:00:00"},
        {"h:nn", july4th1996, "0:00"},
        {"h:nn", morning, "9:00"},
        {"hh", morning, "09"},
        {"t", july4th1996, "12:00 am"},
        {"t", afternoon, "1:05 pm"},
        {"tt", afternoon, "1:05:09 pm"},
        {"ttttt", morning, "9:00:00 am"},
        {"c", july4th1996, "7/4/96"},
        {"c", afternoon, "7/4/96 1:05:09 pm"},
        {"cc", afternoon, "7/4/96 1:05:09 pm"},
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, MarkersAndTheTwelveHourClock) {
    DateSettings settings;
    settings.TimeAMString = "vorm.";
    settings.TimePMString = "nachm.";
    const Case cases[] = {
        {"h am/pm", afternoon, "1 pm"},
        {"h AM/PM", afternoon, "1 PM"},
        {"h Am/pM", afternoon, "1 pM"},
        {"h am/pm", morning, "9 am"},
        {"h a/p", afternoon, "1 p"},
        {"h A/P", morning, "9 A"},
        {"h ampm", afternoon, "1 nachm."},
        {"h AMPM", morning, "9 vorm."},
        {"h:nn a/p", july4th1996, "12:00 a"},
        {"h a/p", midday, "12 p"},
        {"h", afternoon, "13"},
        {"h 'a'", afternoon, "13 a"},       // a quoted a does not count
        {"h \"x'a\"", afternoon, "13 x'a"}, // nor one inside other quotes
        {"h h a/p", afternoon, "13 1 p"},   // the next h stands before the a
        {"h x", afternoon, "13 x"},
        {"h Ax", afternoon, "1 Ax"}, // any a counts, and writes itself
        {"a", afternoon, "a"},
        {"aa", afternoon, "aa"},
        {"ampm", july4th1996, "vorm."},
        {"a/pm", afternoon, "p7"},   // a/p, then the month
        {"am/p", afternoon, "a7/p"}, // no marker: a, the month, the delimiter, p
    };
    expectTexts(std::begin(cases), std::end(cases), settings);
}

// A run of a is one element: a marker begins only where a run of one a begins.
TEST(DatePattern, ARunOfAIsWrittenAsItStands) {
    const Case cases[] = {
        {"aam/pm", july4th1996, "aa7/p7"}, // "aa", the month, the delimiter, "p", the month
        {"aa/p", july4th1996, "aa/p"},     {"AAmpm", july4th1996, "AA7p7"}, {"aaa/p", afternoon, "aaa/p"},
        {"aAm/pm", afternoon, "apm"},    // two runs of one: "a", then the marker Am/pm
        {"h aa/p", afternoon, "1 aa/p"}, // a run of a still makes the hour a 12-hour one
        {"Aampm", july4th1996, "Aam"},   // "A", then the marker ampm
    };
    expectTexts(std::begin(cases), std::end(cases), DateSettings{});
}

TEST(DatePattern, AppliedPatternsNestTwoLevels) {
    DateSettings settings;
    settings.ShortDatePattern = "dddddd";
    settings.LongDatePattern = "dddd, mmmm d, yyyy";
    EXPECT_EQ(FormatDateText(july4th1996, settings), "Thursday, July 4, 1996");

    // Inside the long pattern, which is level 2, an element that applies a pattern writes nothing.
    settings.LongDatePattern = "[ddddd|dddddd|t|tt|c]";
    EXPECT_EQ(FormatDateText(afternoon, settings), "[||||]");
    EXPECT_EQ(FormatDatePattern(afternoon, "dddddd", settings), "[||||]");

    settings.ShortDatePattern = "ddddd-";
    EXPECT_EQ(FormatDateText(july4th1996, settings), "--");

    settings.ShortDatePattern = "[c]";
    EXPECT_EQ(FormatDatePattern(afternoon, "ddddd", settings), "[]");

    settings.ShortTimePattern = "t|h";
    EXPECT_EQ(FormatDatePattern(afternoon, "t", settings), "|13");

    // A level starts without an hour before it: m in the applied pattern is the month.
    settings.ShortDatePattern = "m";
    EXPECT_EQ(FormatDatePattern(afternoon, "hddddd", settings), "137");
}

TEST(DatePattern, TextStopsAt256Characters) {
    DateSettings settings;
    const std::string x255(255, 'x');
    const std::string x256(256, 'x');
    EXPECT_EQ(FormatDatePattern(july4th1996, std::string(300, 'x'), settings), x256);
    EXPECT_EQ(FormatDatePattern(july4th1996, x256, settings), x256);
    EXPECT_EQ(FormatDatePattern(july4th1996, x255 + "mmmm", settings), x255 + "J");
    EXPECT_EQ(FormatDatePattern(july4th1996, x255 + "yyyy", settings), x255 + "1");
    EXPECT_EQ(FormatDatePattern(july4th1996, "'" + std::string(400, 'q'), settings), std::string(256, 'q'));
    settings.LongMonthNames[6] = std::string(300, 'J');
    EXPECT_EQ(FormatDatePattern(july4th1996, "d mmmm", settings), "4 " + std::string(254, 'J'));
    settings.LongDatePattern = std::string(200, 'L');
    EXPECT_EQ(FormatDatePattern(july4th1996, "dddddd dddddd", settings),
              std::string(200, 'L') + " " + std::string(55, 'L'));
}

TEST(DatePattern, DateTextUsesTheShortDatePattern) {
    DateSettings settings;
    EXPECT_EQ(FormatDateText(july4th1996, settings), "7/4/96");
    EXPECT_EQ(FormatDateText(35430, settings), "12/31/96");
    EXPECT_EQ(FormatDateText(0, settings), "12/30/99");
    settings.ShortDatePattern = "";
    EXPECT_EQ(FormatDateText(july4th1996, settings), "");
    EXPECT_EQ(FormatDateText(0, settings), "");
}

TEST(DatePattern, DayZeroIsASaturday) {
    EXPECT_EQ(FormatDatePattern(0, "ddd dddd", DateSettings{}), "Sat Saturday");
}

// Days outside the calendar decode as 0-0-0 and have no month names; every day that fits 32 bits
// still has its weekday, counted on from day 0.
TEST(DatePattern, DaysOutsideTheCalendarShowAsZeroesWithTheirWeekdays) {
    const std::pair<DayNumber, const char*> cases[] = {
        {-693594, "Sun|Sunday"}, // the day before 0001-01-01 (a Monday)
        {-693595, "Sat|Saturday"},
        {2958466, "Sat|Saturday"}, // the day after 9999-12-31 (a Friday)
        {-2147483648.0, "Thu|Thursday"},
        {2147483647.0, "Sun|Sunday"},
        {std::numeric_limits<double>::denorm_min() - 700000, "Sat|Saturday"},
        {2147483648.0, "|"}, // no 32-bit day: no names
        {-2147483649.0, "|"},
        {1e300, "|"},
        {-1e300, "|"},
        {std::numeric_limits<double>::quiet_NaN(), "|"},
        {std::numeric_limits<double>::infinity(), "|"},
        {-std::numeric_limits<double>::infinity(), "|"},
    };
    const DateSettings settings;
    for (const auto& [value, weekday] : cases) {
        EXPECT_EQ(FormatDateText(value, settings), "0/0/00") << value;
        EXPECT_EQ(FormatDatePattern(value, "dd.mm.yyyy|mmm|mmmm|ddd|dddd|h:nn:ss", settings),
                  std::string("00.00.0000|||") + weekday + "|0:00:00")
            << value;
    }
    // A fraction beyond the calendar still has its time of day.
    EXPECT_EQ(FormatDatePattern(2958466.5, "c", settings), "0/0/00 12:00:00 pm");
    EXPECT_EQ(FormatDatePattern(-693594.25, "d/m/yy h:nn", settings), "0/0/00 6:00");
}

} // namespace
} // namespace portolan
