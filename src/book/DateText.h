#pragma once

#include "book/DayNumber.h"

#include <array>
#include <string>
#include <string_view>

namespace portolan {

// The process's date settings: the short and long date patterns in the pattern language of
// FormatDatePattern, the delimiters, the markers and the names. The defaults are those of the C locale.
struct DateSettings {
    std::string ShortDatePattern = "m/d/yy";
    char DateDelimiter = '/';
    std::string LongDatePattern = "mmmm d, yyyy";
    char TimeDelimiter = ':';
    std::string TimeAMString = "am";
    std::string TimePMString = "pm";
    std::string ShortTimePattern = "h:mm AMPM";
    std::string LongTimePattern = "h:mm:ss AMPM";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// Reads the settings from the process's time locale (LC_ALL, else LC_TIME, else LANG, as setlocale
// resolves them): the C or POSIX locale, none, or one the system lacks gives the defaults exactly;
// another locale gives its date formats, markers and names (in Windows-1252), translated into the
// pattern language. Without withNames the month and day names stay as they are.
void LoadDateSettings(DateSettings& settings, bool withNames);

// The text a pattern makes of a day number, cut at 256 characters. Letters are read without regard to
// case; a run of one letter in one case is one element (d dd ddd dddd ddddd dddddd, m..mmmm, y..yyyy,
// h, n, s, t, tt, c, am/pm, a/p, ampm); "/" and ":" write the delimiters; quoted text is written as it
// stands. A value that DecodeDayNumber gives as 0-0-0 writes zeroes and no month or day names. An
// empty pattern writes nothing.
std::string FormatDatePattern(DayNumber value, std::string_view pattern, const DateSettings& settings);

// FormatDatePattern with the short date pattern.
std::string FormatDateText(DayNumber value, const DateSettings& settings);

// The day number of a typed date, read in the order of the short date pattern; a missing year is
// currentYear, and a two-digit year gets currentYear's century. Throws EConvertError
// "'<text>' is not a valid date" otherwise.
DayNumber ParseDateText(std::string_view text, const DateSettings& settings, int currentYear);

} // namespace portolan
