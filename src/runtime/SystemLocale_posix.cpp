// The POSIX calls behind SystemLocale.h.
#include "runtime/SystemLocale.h"

#include "runtime/Cp1252.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace portolan {

namespace {

// The system's text in its code set, as UTF-8; bytes that cannot be converted become "?".
std::string utf8FromCodeSet(const char* text, const char* codeSet) {
    if (std::strcmp(codeSet, "UTF-8") == 0)
        return text;
    const iconv_t converter = ::iconv_open("UTF-8", codeSet);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return text; // read as UTF-8: the ASCII part survives, the rest becomes "?"
    std::string result;
    char* in = const_cast<char*>(text);
    std::size_t inLeft = std::strlen(text);
    while (inLeft > 0) {
        char buffer[256];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = ::iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            result.push_back('?');
            ++in;
            --inLeft;
        }
    }
    ::iconv_close(converter);
    return result;
}

} // namespace

LocalDate localClockDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        return {};
    return {static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
            static_cast<std::uint16_t>(local.tm_mday)};
}

std::string timeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return {};
}

bool isCLocaleName(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::optional<TimeLocaleItems> readUserTimeLocale() {
    return readTimeLocale(timeLocaleName());
}

std::optional<TimeLocaleItems> readTimeLocale(const std::string& name) {
    if (isCLocaleName(name))
        return std::nullopt;
    const locale_t locale = ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        return std::nullopt;
    const std::string codeSet = ::nl_langinfo_l(CODESET, locale);
    const auto item = [&](nl_item which) {
        return cp1252FromUtf8(utf8FromCodeSet(::nl_langinfo_l(which, locale), codeSet.c_str()));
    };
    TimeLocaleItems items;
    items.dateFormat = item(D_FMT);
    items.dateTimeFormat = item(D_T_FMT);
    items.timeFormat = item(T_FMT);
    items.amString = item(AM_STR);
    items.pmString = item(PM_STR);
    for (int m = 0; m < 12; ++m) {
        items.shortMonthNames[m] = item(ABMON_1 + m);
        items.longMonthNames[m] = item(MON_1 + m);
    }
    for (int d = 0; d < 7; ++d) {
        items.shortDayNames[d] = item(ABDAY_1 + d);
        items.longDayNames[d] = item(DAY_1 + d);
    }
    ::freelocale(locale);
    return items;
}

} // namespace portolan
