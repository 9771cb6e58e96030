#pragma once

#include "book/DateSettings.h"
#include "book/DayNumber.h"

#include <string>
#include <string_view>

namespace portolan {

// The text a pattern makes of a day number, cut at 256 characters. Letters are read without regard to
// case; a run of one letter in one case is one element (d dd ddd dddd ddddd dddddd, m..mmmm, y..yyyy,
// h, n, s, t, tt, c); am/pm, a/p and ampm begin only where a run of one a begins, and a longer run of a
// is written as it stands; "/" and ":" write the delimiters; quoted text is written as it stands. A
// value that DecodeDayNumber gives as 0-0-0 writes zeroes and no month names; it still has its weekday's
// names when its day fits 32 bits. An empty pattern writes nothing.
std::string FormatDatePattern(DayNumber value, std::string_view pattern, const DateSettings& settings);

// FormatDatePattern with the short date pattern.
std::string FormatDateText(DayNumber value, const DateSettings& settings);

} // namespace portolan
