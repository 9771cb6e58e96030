// The Win32 calls behind SystemLocale.h.
#include "runtime/SystemLocale.h"

#include "runtime/Cp1252.h"

#include <windows.h>

namespace portolan {

namespace {

// One text item of the user's default locale in Windows-1252, asked for with room for 256 characters;
// false when the system does not give it.
bool readItem(LCTYPE item, std::string& text) {
    wchar_t answer[256];
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, answer, 256);
    if (length <= 0)
        return false;
    text = cp1252FromUtf16(std::u16string(answer, answer + length - 1)); // without the terminating zero
    return true;
}

// Sunday, the first day of the week here, is the seventh of the locale's names.
LCTYPE dayItem(LCTYPE mondayItem, std::size_t day) {
    return day == 0 ? mondayItem + 6 : mondayItem + static_cast<LCTYPE>(day - 1);
}

} // namespace

LocalDate localClockDate() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay};
}

std::optional<TimeLocaleItems> readUserTimeLocale() {
    TimeLocaleItems items;
    items.language = FormatLanguage::WindowsPicture;
    bool complete =
        readItem(LOCALE_SSHORTDATE, items.dateFormat) && readItem(LOCALE_SLONGDATE, items.longDateFormat) &&
        readItem(LOCALE_SDATE, items.dateSeparator) && readItem(LOCALE_STIMEFORMAT, items.timeFormat) &&
        readItem(LOCALE_S1159, items.amString) && readItem(LOCALE_S2359, items.pmString);
    for (std::size_t month = 0; month < 12; ++month)
        complete =
            complete &&
            readItem(LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(month), items.shortMonthNames[month]) &&
            readItem(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month), items.longMonthNames[month]);
    for (std::size_t day = 0; day < 7; ++day)
        complete = complete && readItem(dayItem(LOCALE_SABBREVDAYNAME1, day), items.shortDayNames[day]) &&
                   readItem(dayItem(LOCALE_SDAYNAME1, day), items.longDayNames[day]);
    if (!complete)
        return std::nullopt;
    return items;
}

} // namespace portolan
