#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace portolan {

// The calendar date of the local clock; 0-0-0 when the system cannot give the local time.
struct LocalDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
};
LocalDate localClockDate();

// How a locale writes its date and time formats: in the language of strftime (POSIX), or in the format
// pictures of Windows ("dd.MM.yyyy", "HH:mm:ss").
enum class FormatLanguage { Strftime, WindowsPicture };

// The date and time items of a locale, converted to Windows-1252 (a character that code page lacks
// becomes "?"): those of a POSIX time locale, or those of a Windows locale.
struct TimeLocaleItems {
    FormatLanguage language = FormatLanguage::Strftime;
    std::string dateFormat;                      // D_FMT; LOCALE_SSHORTDATE
    std::string dateTimeFormat;                  // D_T_FMT, whose date words give the long date (POSIX)
    std::string longDateFormat;                  // LOCALE_SLONGDATE (Windows)
    std::string dateSeparator;                   // LOCALE_SDATE (Windows)
    std::string timeFormat;                      // T_FMT; LOCALE_STIMEFORMAT
    std::string amString;                        // AM_STR; LOCALE_S1159
    std::string pmString;                        // PM_STR; LOCALE_S2359
    std::array<std::string, 12> shortMonthNames; // ABMON_1 to ABMON_12; LOCALE_SABBREVMONTHNAME1 to 12
    std::array<std::string, 12> longMonthNames;  // MON_1 to MON_12; LOCALE_SMONTHNAME1 to 12
    std::array<std::string, 7> shortDayNames;    // ABDAY_1 (Sunday) to ABDAY_7; LOCALE_SABBREVDAYNAME7,1-6
    std::array<std::string, 7> longDayNames;     // DAY_1 (Sunday) to DAY_7; LOCALE_SDAYNAME7, 1 to 6
};

// The items of the user's locale; nothing where they are the program's defaults. On POSIX systems those
// of readTimeLocale(timeLocaleName()); on Windows those of the user's default locale, or nothing when
// the system does not give every item.
std::optional<TimeLocaleItems> readUserTimeLocale();

// On POSIX systems:

// The name of the process's time locale as setlocale would find it: LC_ALL, else LC_TIME, else LANG,
// the first that is set and not empty; empty when none is.
std::string timeLocaleName();

// Whether a locale name stands for the C locale: empty, "C", "POSIX", or "C." with a code set.
bool isCLocaleName(const std::string& name);

// The items of the named locale. Nothing for a name of the C locale (whose items are the program's
// defaults) and for a locale the system does not have.
std::optional<TimeLocaleItems> readTimeLocale(const std::string& name);

} // namespace portolan
