#pragma once

#include "book/DateSettings.h"
#include "runtime/SystemLocale.h"

#include <string>
#include <string_view>

namespace portolan {

// Reads the settings from the user's locale (readUserTimeLocale: on POSIX systems the process's time
// locale, LC_ALL, else LC_TIME, else LANG, as setlocale resolves them; on Windows the user's default
// locale): the C or POSIX locale, none, or one the system lacks gives the defaults exactly; another
// locale gives its date formats, markers and names (in Windows-1252), translated into the pattern
// language. Without withNames the month and day names stay as they are.
void LoadDateSettings(DateSettings& settings, bool withNames);

// How the formats of a POSIX time locale (strftime language) become date settings.

// The date delimiter of a date format: its first literal character that is not a letter, a digit or a
// blank; "/" when it has none.
char dateDelimiterOf(std::string_view dateFormat);

// A date format in the pattern language: %d dd, %e d, %m mm, %y yy, %Y yyyy, %b and %h mmm, %B mmmm,
// %a ddd, %A dddd (a "-" or "_" flag drops the zero fill of %d and %m), %D and %F as their parts.
// Literal text that the pattern language would read as elements is quoted ("/" unless it is the
// dateDelimiter). Conversions without a date element (times, week numbers) are left out.
std::string datePatternFromStrftime(std::string_view format, char dateDelimiter);

// The long date pattern from a date-and-time format: its blank-separated words that hold no time
// conversion, with day and month names in full (%a as dddd, %b as mmmm); %x stands for dateFormat.
// The short pattern of dateFormat when no word is left.
std::string longDatePatternFromStrftime(std::string_view dateTimeFormat, std::string_view dateFormat,
                                        char dateDelimiter);

// What a time format says about the time patterns.
struct TimeStyle {
    bool leadingZero = false; // the hour is a zero-filled %H
    bool twelveHour = false;  // it uses %I, %l, %p or %P
    char delimiter = ':';     // its first literal that is not a letter, a digit or a blank
};
TimeStyle timeStyleOf(std::string_view timeFormat);

// How the format pictures of Windows become date settings.

// A date picture in the pattern language: d, dd, ddd and dddd as they are, M to MMMM as m to mmmm, y and
// yy as yy, longer runs of y as yyyy; the era (g, gg) and time letters are left out. Text in single
// quotes ('' for a quote) and any other character are literal text, quoted where the pattern language
// would read them as elements ("/" unless it is the dateDelimiter).
std::string datePatternFromPicture(std::string_view picture, char dateDelimiter);

// What a time picture says about the time patterns: hh or HH gives the leading zero, h or hh (not H)
// the 12-hour clock, and the delimiter is its first literal that is not a letter, a digit or a blank.
TimeStyle timeStyleOfPicture(std::string_view picture);

// Stores a locale's items in settings, translating their formats from their language; the names only
// withNames. The date delimiter of a Windows locale is its own (the first character of dateSeparator). The
// time patterns are built last, from the pieces "hh" or "h", ":mm" or ":mm:ss", and " AMPM" for a 12-hour
// clock.
void applyTimeLocale(DateSettings& settings, const TimeLocaleItems& items, bool withNames);

} // namespace portolan
