#pragma once

#include <array>
#include <string>

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

} // namespace portolan
