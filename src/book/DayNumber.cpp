#include "book/DayNumber.h"

#include "runtime/Errors.h"
#include "runtime/SystemLocale.h"

#include <algorithm>
#include <cmath>

namespace portolan {

namespace {

constexpr std::int64_t millisecondsPerDay = 86'400'000;

// Days from 0001-01-01 (counted as day 1) back to day 0 of DayNumber.
constexpr std::int32_t dayZeroOffset = 693594;

constexpr std::int32_t daysIn400Years = 146097;
constexpr std::int32_t daysIn100Years = 36524;
constexpr std::int32_t daysIn4Years = 1461;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int monthLength(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// The date of a day inside firstValidDay..lastValidDay.
CalendarDate dateOfDay(std::int32_t day) {
    std::int32_t rest = day + dayZeroOffset - 1; // days since 0001-01-01
    int year = 1 + 400 * (rest / daysIn400Years);
    rest %= daysIn400Years;
    // The last day of a 400-year cycle (and of a 4-year cycle) belongs to the cycle's last century (year).
    const int centuries = std::min(rest / daysIn100Years, 3);
    rest -= centuries * daysIn100Years;
    const int quads = rest / daysIn4Years;
    rest %= daysIn4Years;
    const int years = std::min(rest / 365, 3);
    rest -= years * 365;
    year += 100 * centuries + 4 * quads + years;
    int month = 1;
    while (rest >= monthLength(year, month))
        rest -= monthLength(year, month++);
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(rest + 1)};
}

} // namespace

std::optional<DayNumber> EncodeDayNumber(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > monthLength(year, month))
        return std::nullopt;
    int dayOfYear = day;
    for (int m = 1; m < month; ++m)
        dayOfYear += monthLength(year, m);
    const int p = year - 1;
    return DayNumber(p * 365 + p / 4 - p / 100 + p / 400 + dayOfYear - dayZeroOffset);
}

std::optional<DayAndTime> splitDayNumber(DayNumber value) {
    // A first bound keeps the millisecond count far inside 64 bits; it is false for NaN too.
    if (!(std::fabs(value) < 3e9))
        return std::nullopt;
    const auto milliseconds = static_cast<std::int64_t>(std::nearbyint(value * double(millisecondsPerDay)));
    const std::int64_t day = milliseconds / millisecondsPerDay;
    if (day < INT32_MIN || day > INT32_MAX)
        return std::nullopt;
    const std::int64_t magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    return DayAndTime{static_cast<std::int32_t>(day),
                      static_cast<std::int32_t>(magnitude % millisecondsPerDay)};
}

CalendarDate DecodeDayNumber(DayNumber value) {
    const auto split = splitDayNumber(value);
    if (!split || split->day < firstValidDay || split->day > lastValidDay)
        return {};
    return dateOfDay(split->day);
}

int weekdayOf(std::int32_t day) {
    const int fromSaturday = static_cast<int>((std::int64_t{day} % 7 + 7) % 7); // day 0 is a Saturday
    return (fromSaturday + 6) % 7 + 1;
}

CalendarDate SystemClock::localDate() const {
    const LocalDate today = localClockDate();
    return {today.year, today.month, today.day};
}

DayNumber Today(const Clock& clock) {
    const CalendarDate date = clock.localDate();
    const auto day = EncodeDayNumber(date.year, date.month, date.day);
    if (!day)
        throw EConvertError("Invalid argument to date encode");
    return *day;
}

} // namespace portolan
