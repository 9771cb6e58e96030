#pragma once

#include <cstdint>
#include <optional>

namespace portolan {

// A calendar date as the number of days since 1899-12-30 (day 0), earlier days negative, in the
// proleptic Gregorian calendar. The program stores whole days only. Valid dates run from 0001-01-01
// (-693593) to 9999-12-31 (2958465).
using DayNumber = double;

inline constexpr std::int32_t firstValidDay = -693593; // 0001-01-01
inline constexpr std::int32_t lastValidDay = 2958465;  // 9999-12-31

struct CalendarDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The day number of a date, or nothing when year, month or day are out of range (1 to 9999, 1 to 12,
// 1 to the length of that month in that year).
std::optional<DayNumber> EncodeDayNumber(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// A value as the date texts read it: brought to the nearest whole millisecond, then split into the day
// (the whole part, toward zero) and the milliseconds into that day (of the value's magnitude, so -0.5 is
// day 0 at 12:00). Nothing when the value is not a number, is infinite, or its day does not fit 32 bits.
struct DayAndTime {
    std::int32_t day = 0;
    std::int32_t millisecond = 0; // 0 to 86,399,999
};
std::optional<DayAndTime> splitDayNumber(DayNumber value);

// The date of a day number's whole part (taken toward zero after rounding to the nearest millisecond).
// A day before 0001-01-01, and a value that is not a number, infinite, or beyond 9999-12-31, decodes as
// 0-0-0, so no value ever leads to undefined behaviour.
CalendarDate DecodeDayNumber(DayNumber value);

// The weekday of any day, 1 = Sunday to 7 = Saturday (day 0 is 7), also before 0001-01-01 and after
// 9999-12-31, where the calendar has no date.
int weekdayOf(std::int32_t day);

// The local calendar date, as a source that tests can replace.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDate localDate() const = 0;
};

// The clock of the machine. Reports 0-0-0 if the system cannot give the local time.
class SystemClock final : public Clock {
public:
    CalendarDate localDate() const override;
};

// Today's day number from the clock; throws EConvertError "Invalid argument to date encode" when the
// clock reports an impossible date.
DayNumber Today(const Clock& clock);

} // namespace portolan
