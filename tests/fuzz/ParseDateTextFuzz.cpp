// Reads arbitrary typed text as a date under arbitrary settings. The first byte is the date delimiter,
// the next two the clock's year (signed), the fourth the length of the short date pattern that follows;
// the rest is the typed text. A text must either give a whole day of the calendar or fail with exactly
// the invalid-date message; and the numeric date text of that day, written in the pattern's order with
// a four-digit year, must read back as the same day.
#include "book/DateParse.h"
#include "book/DatePattern.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace portolan;

namespace {

// The numeric pattern in the order ParseDateText reads with these settings.
std::string numericPatternFor(std::string_view pattern) {
    for (const char c : pattern) {
        switch (c | 0x20) {
        case 'd':
            return "d/m/yyyy";
        case 'm':
            return "m/d/yyyy";
        case 'y':
            return "yyyy/m/d";
        }
    }
    return "m/d/yyyy";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    DateSettings settings;
    settings.DateDelimiter = static_cast<char>(data[0]);
    const int currentYear = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const std::size_t patternLength = std::min<std::size_t>(data[3], size - 4);
    settings.ShortDatePattern.assign(reinterpret_cast<const char*>(data + 4), patternLength);
    const std::string_view text(reinterpret_cast<const char*>(data + 4 + patternLength),
                                size - 4 - patternLength);

    try {
        const DayNumber day = ParseDateText(text, settings, currentYear);
        const CalendarDate date = DecodeDayNumber(day);
        if (day != static_cast<std::int32_t>(day) || day < firstValidDay || day > lastValidDay ||
            EncodeDayNumber(date.year, date.month, date.day) != day)
            std::abort();
    } catch (const EConvertError& error) {
        const std::string expected = "'" + utf8FromCp1252(text) + "' is not a valid date";
        if (std::strcmp(error.what(), expected.c_str()) != 0) // what() ends at a NUL in the text
            std::abort();
    }

    // The delimiter must be one that a number cannot swallow nor the blank skipping step over.
    const char delimiter = settings.DateDelimiter;
    if ((delimiter >= '0' && delimiter <= '9') || delimiter == ' ')
        return 0;
    const std::uint32_t pick = data[1] | data[2] << 8 | data[3] << 16;
    const std::int32_t day =
        firstValidDay + static_cast<std::int32_t>(pick % (lastValidDay - firstValidDay + 1));
    if (DecodeDayNumber(day).year < 100)
        return 0; // such a year reads as one of the clock's century
    const std::string written =
        FormatDatePattern(day, numericPatternFor(settings.ShortDatePattern), settings);
    if (ParseDateText(written, settings, currentYear) != day)
        std::abort();
    return 0;
}
