// Formats an arbitrary value with an arbitrary pattern under arbitrary settings. The first eight bytes
// are the value's IEEE bits (NaN, infinities and huge numbers included), the next two the date and time
// delimiters; the rest, split at NUL bytes, gives the pattern, then the short and long date patterns,
// the short and long time patterns, the markers and the first month and day names. The text must be at
// most 256 characters, the same on a second run, and the numeric date it shows must be the decoded one.
#include "book/DatePattern.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace portolan;

namespace {

std::vector<std::string> piecesOf(std::string_view rest) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\0', start), rest.size());
        pieces.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10)
        return 0;
    DayNumber value;
    std::memcpy(&value, data, sizeof value);
    DateSettings settings;
    settings.DateDelimiter = static_cast<char>(data[8]);
    settings.TimeDelimiter = static_cast<char>(data[9]);
    std::vector<std::string> pieces = piecesOf({reinterpret_cast<const char*>(data + 10), size - 10});
    pieces.resize(10);
    std::string* const targets[] = {
        &settings.ShortDatePattern,  &settings.LongDatePattern,  &settings.ShortTimePattern,
        &settings.LongTimePattern,   &settings.TimeAMString,     &settings.TimePMString,
        &settings.LongMonthNames[0], &settings.ShortDayNames[0], &settings.LongDayNames[6],
    };
    for (std::size_t i = 0; i < std::size(targets); ++i)
        if (!pieces[i + 1].empty())
            *targets[i] = pieces[i + 1];

    const std::string text = FormatDatePattern(value, pieces[0], settings);
    if (text.size() > 256 || FormatDatePattern(value, pieces[0], settings) != text)
        std::abort();
    if (FormatDateText(value, settings) != FormatDatePattern(value, settings.ShortDatePattern, settings))
        std::abort();

    const CalendarDate date = DecodeDayNumber(value);
    const std::string numeric = FormatDatePattern(value, "yyyy mm dd", settings);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%04u %02u %02u", date.year, date.month, date.day);
    if (numeric != expected)
        std::abort();
    return 0;
}
