#pragma once

#include <cstdint>
#include <optional>

namespace portolan {

// A calendar date as the number of days since 1899-12-30 (day 0), earlier days negative, in the
// proleptic Gregorian calendar. The program stores whole days only. Valid dates run from 0001-01-01
// (-693593) to 9999-12-31 (2958465).
using DayNumber = double;

struct CalendarDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The day number of a date, or nothing when year, month or day are out of range.
std::optional<DayNumber> EncodeDayNumber(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// The date of a day number's whole part (taken toward zero after rounding to the nearest millisecond).
// A day before 0001-01-01, and a value that is not a number, infinite, or beyond 9999-12-31, decodes as
// 0-0-0, so no value ever leads to undefined behaviour.
CalendarDate DecodeDayNumber(DayNumber value);

// The local calendar date, as a source that tests can replace.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarDate localDate() const = 0;
};

// The clock of the machine.
class SystemClock final : public Clock {
public:
    CalendarDate localDate() const override;
};

// Today's day number from the clock; throws EConvertError "Invalid argument to date encode" when the
// clock reports an impossible date.
DayNumber Today(const Clock& clock);

} // namespace portolan
