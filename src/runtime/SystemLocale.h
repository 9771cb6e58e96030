#pragma once

#include <array>
#include <optional>
#include <string>

namespace portolan {

// The date and time items of a POSIX time locale, converted to Windows-1252 (a character that code page
// lacks becomes "?"). The formats are in the language of strftime.
struct TimeLocaleItems {
    std::string dateFormat;                      // D_FMT
    std::string dateTimeFormat;                  // D_T_FMT
    std::string timeFormat;                      // T_FMT
    std::string amString;                        // AM_STR
    std::string pmString;                        // PM_STR
    std::array<std::string, 12> shortMonthNames; // ABMON_1 to ABMON_12
    std::array<std::string, 12> longMonthNames;  // MON_1 to MON_12
    std::array<std::string, 7> shortDayNames;    // ABDAY_1 (Sunday) to ABDAY_7
    std::array<std::string, 7> longDayNames;     // DAY_1 (Sunday) to DAY_7
};

// The name of the process's time locale as setlocale would find it: LC_ALL, else LC_TIME, else LANG,
// the first that is set and not empty; empty when none is.
std::string timeLocaleName();

// Whether a locale name stands for the C locale: empty, "C", "POSIX", or "C." with a code set.
bool isCLocaleName(const std::string& name);

// The items of the named locale. Nothing for a name of the C locale (whose items are the program's
// defaults) and for a locale the system does not have.
std::optional<TimeLocaleItems> readTimeLocale(const std::string& name);

} // namespace portolan
