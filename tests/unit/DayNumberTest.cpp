#include "book/DayNumber.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <iomanip>
#include <limits>

namespace portolan {
namespace {

struct DatedDay {
    CalendarDate date;
    DayNumber day;
};

const DatedDay calendar[] = {
    {{1, 1, 1}, -693593},      {{1899, 12, 30}, 0},     {{1900, 1, 1}, 2},      {{1900, 3, 1}, 61},
    {{1996, 7, 4}, 35250},     {{1996, 12, 31}, 35430}, {{2000, 1, 1}, 36526},  {{2096, 12, 31}, 71955},
    {{9999, 12, 31}, 2958465}, {{1900, 2, 28}, 60},     {{2000, 2, 29}, 36585}, {{2000, 3, 1}, 36586},
    {{1600, 12, 31}, -109206}, {{1601, 1, 1}, -109205}, {{2026, 12, 7}, 46363},
};

TEST(DayNumber, EncodesTheCalendar) {
    for (const auto& [date, day] : calendar)
        EXPECT_EQ(EncodeDayNumber(date.year, date.month, date.day), day) << day;
}

TEST(DayNumber, DecodesTheCalendar) {
    for (const auto& [date, day] : calendar)
        EXPECT_EQ(DecodeDayNumber(day), date) << day;
}

TEST(DayNumber, EncodingRejectsImpossibleDates) {
    const CalendarDate impossible[] = {
        {0, 1, 1},     {10000, 1, 1}, {1996, 0, 1},  {1996, 13, 1}, {1996, 1, 0},          {1996, 1, 32},
        {1996, 4, 31}, {1900, 2, 29}, {2100, 2, 29}, {1997, 2, 29}, {65535, 65535, 65535},
    };
    for (const CalendarDate& date : impossible)
        EXPECT_FALSE(EncodeDayNumber(date.year, date.month, date.day))
            << date.year << "-" << date.month << "-" << date.day;
    EXPECT_TRUE(EncodeDayNumber(1996, 2, 29));
    EXPECT_TRUE(EncodeDayNumber(2000, 2, 29));
}

TEST(DayNumber, EveryValidDayRoundTripsAndFollowsTheDayBefore) {
    CalendarDate before = DecodeDayNumber(firstValidDay);
    for (std::int32_t day = firstValidDay + 1; day <= lastValidDay; ++day) {
        const CalendarDate date = DecodeDayNumber(day);
        const bool nextDay =
            date.year == before.year && date.month == before.month && date.day == before.day + 1;
        const bool nextMonth = date.year == before.year && date.month == before.month + 1 && date.day == 1;
        const bool nextYear = date.year == before.year + 1 && date.month == 1 && date.day == 1 &&
                              before.month == 12 && before.day == 31;
        ASSERT_TRUE(nextDay || nextMonth || nextYear) << day;
        ASSERT_EQ(EncodeDayNumber(date.year, date.month, date.day), DayNumber(day)) << day;
        before = date;
    }
}

TEST(DayNumber, DecodingTakesTheWholePartTowardZeroAfterRoundingToMilliseconds) {
    const DatedDay cases[] = {
        {{1996, 7, 4}, 35250.5},  {{1996, 7, 4}, 35250.99999},     {{1996, 7, 5}, 35250.9999999999},
        {{1899, 12, 30}, -0.5},   {{1899, 12, 30}, -0.9999},       {{1899, 12, 29}, -1.25},
        {{1, 1, 1}, -693593.5},   {{9999, 12, 31}, 2958465.99999}, {{}, -693593.9999999999},
        {{}, 2958465.9999999999},
    };
    for (const auto& [date, value] : cases)
        EXPECT_EQ(DecodeDayNumber(value), date) << std::setprecision(17) << value;
}

TEST(DayNumber, ValuesOutsideTheCalendarDecodeAsZeroes) {
    const DayNumber values[] = {
        -693594,
        -693595,
        2958466,
        -1e7,
        1e7,
        2147483647.0,
        2147483648.0,
        -2147483649.0,
        1e300,
        -1e300,
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(),
    };
    for (const DayNumber value : values)
        EXPECT_EQ(DecodeDayNumber(value), CalendarDate{}) << value;
}

TEST(DayNumber, SplitGivesTheDayAndTheTimeOfItsMagnitude) {
    struct Case {
        DayNumber value;
        std::int32_t day;
        std::int32_t millisecond;
    };
    const Case cases[] = {
        {35250, 35250, 0},
        {35250.25, 35250, 21'600'000},
        {-0.5, 0, 43'200'000},
        {-1.75, -1, 64'800'000},
        {0.99999999999, 1, 0},
        {2147483647.0, 2147483647, 0},
        {-2147483648.0, -2147483647 - 1, 0},
    };
    for (const Case& c : cases) {
        const auto split = splitDayNumber(c.value);
        ASSERT_TRUE(split) << c.value;
        EXPECT_EQ(split->day, c.day) << c.value;
        EXPECT_EQ(split->millisecond, c.millisecond) << c.value;
    }
    for (const DayNumber value :
         {2147483648.0, -2147483649.0, 1e300, -1e300, std::nan(""), double(INFINITY), -double(INFINITY)})
        EXPECT_FALSE(splitDayNumber(value)) << value;
}

TEST(DayNumber, DayZeroIsASaturday) {
    EXPECT_EQ(weekdayOf(0), 7);
    EXPECT_EQ(weekdayOf(1), 1);             // Sunday 1899-12-31
    EXPECT_EQ(weekdayOf(35250), 5);         // Thursday 1996-07-04
    EXPECT_EQ(weekdayOf(firstValidDay), 2); // 0001-01-01 was a Monday
    EXPECT_EQ(weekdayOf(lastValidDay), 6);  // 9999-12-31 is a Friday
    EXPECT_EQ(weekdayOf(-1), 6);
    EXPECT_EQ(weekdayOf(firstValidDay - 1), 1); // before the calendar the weekdays run on
    EXPECT_EQ(weekdayOf(firstValidDay - 7), 2);
    EXPECT_EQ(weekdayOf(lastValidDay + 1), 7);
    EXPECT_EQ(weekdayOf(INT32_MIN), 5);
    EXPECT_EQ(weekdayOf(INT32_MAX), 1);
}

class FixedClock final : public Clock {
public:
    explicit FixedClock(CalendarDate date) : date_(date) {}
    CalendarDate localDate() const override { return date_; }

private:
    CalendarDate date_;
};

TEST(DayNumber, TodayIsTheClocksDate) {
    EXPECT_EQ(Today(FixedClock({2026, 12, 7})), 46363);
    EXPECT_EQ(Today(FixedClock({1996, 7, 4})), 35250);
}

TEST(DayNumber, TodayFailsOnAnImpossibleClockDate) {
    for (const CalendarDate date : {CalendarDate{2026, 2, 30}, CalendarDate{}, CalendarDate{10000, 1, 1}}) {
        try {
            Today(FixedClock(date));
            ADD_FAILURE() << "no error for " << date.year << "-" << date.month << "-" << date.day;
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "Invalid argument to date encode");
        }
    }
}

TEST(DayNumber, SystemClockGivesTheLocalDayOfTheSystemTime) {
    // The local day lies within a day of the universal one, whatever the time zone.
    const DayNumber universalDay = std::floor(double(std::time(nullptr)) / 86400.0) + 25569;
    const DayNumber today = Today(SystemClock());
    EXPECT_LE(std::fabs(today - universalDay), 1.0);
}

} // namespace
} // namespace portolan
