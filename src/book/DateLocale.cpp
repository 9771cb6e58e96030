#include "book/DateLocale.h"

#include <algorithm>

namespace portolan {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isDelimiterCandidate(char c) {
    return !isAsciiLetter(c) && !isAsciiDigit(c) && c != ' ';
}

// One item of a strftime format: a literal character, or a conversion (flag "-" or "_" = unpadded).
struct FormatItem {
    bool isConversion;
    char character;
    bool unpadded = false;
};

// The formats that stand for several conversions.
std::string_view expansionOf(char conversion) {
    switch (conversion) {
    case 'D':
        return "%m/%d/%y";
    case 'F':
        return "%Y-%m-%d";
    case 'T':
        return "%H:%M:%S";
    case 'R':
        return "%H:%M";
    case 'r':
        return "%I:%M:%S %p";
    default:
        return {};
    }
}

// Calls visit with each item of a format, composite conversions as their parts. Widths and the E and O
// modifiers are read over; %% %n %t are the literals they stand for.
template <typename Visit>
void forEachItem(std::string_view format, const Visit& visit) {
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%') {
            visit(FormatItem{false, c});
            continue;
        }
        bool unpadded = false;
        for (; i < format.size() && std::string_view("-_0^#").find(format[i]) != std::string_view::npos;
             ++i) {
            if (format[i] == '-' || format[i] == '_')
                unpadded = true;
            else if (format[i] == '0')
                unpadded = false;
        }
        while (i < format.size() && isAsciiDigit(format[i]))
            ++i;
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O'))
            ++i;
        if (i >= format.size())
            return;
        const char conversion = format[i++];
        if (conversion == '%' || conversion == 'n' || conversion == 't')
            visit(FormatItem{false, conversion == '%' ? '%' : conversion == 'n' ? '\n' : '\t'});
        else if (const std::string_view parts = expansionOf(conversion); !parts.empty())
            forEachItem(parts, visit);
        else
            visit(FormatItem{true, conversion, unpadded});
    }
}

// Writes pattern text: elements kept apart from a run of the same letter before them, literals quoted
// where the pattern language would read them as elements.
class PatternBuilder {
public:
    explicit PatternBuilder(char dateDelimiter) : delimiter_(dateDelimiter) {}

    void element(std::string_view letters) {
        flushQuoted();
        if (!pattern_.empty() && pattern_.back() == letters.front())
            pattern_ += "\"\""; // "dd" then "d" would read as "ddd"
        pattern_ += letters;
    }

    // A "/" writes the date delimiter, so it stays bare only where it is that delimiter.
    void literal(char c) {
        if (isAsciiLetter(c) || (c == '/' && delimiter_ != '/') || c == ':' || c == '\'') {
            quoted_ += c;
        } else if (c == '"') {
            flushQuoted();
            pattern_ += "'\"'";
        } else {
            flushQuoted();
            pattern_ += c;
        }
    }

    std::string finish() {
        flushQuoted();
        return std::move(pattern_);
    }

private:
    void flushQuoted() {
        if (quoted_.empty())
            return;
        pattern_ += '"' + quoted_ + '"';
        quoted_.clear();
    }

    char delimiter_;
    std::string pattern_;
    std::string quoted_;
};

// The date element of a conversion, or nothing.
std::string_view dateElementOf(const FormatItem& item, bool fullNames) {
    switch (item.character) {
    case 'd':
        return item.unpadded ? "d" : "dd";
    case 'e':
        return "d";
    case 'm':
        return item.unpadded ? "m" : "mm";
    case 'y':
    case 'g':
        return "yy";
    case 'Y':
    case 'G':
        return "yyyy";
    case 'b':
    case 'h':
        return fullNames ? "mmmm" : "mmm";
    case 'B':
        return "mmmm";
    case 'a':
        return fullNames ? "dddd" : "ddd";
    case 'A':
        return "dddd";
    default:
        return {};
    }
}

void translate(std::string_view format, std::string_view dateFormat, bool fullNames,
               PatternBuilder& builder) {
    forEachItem(format, [&](const FormatItem& item) {
        if (!item.isConversion)
            builder.literal(item.character);
        else if (item.character == 'x')
            translate(dateFormat, {}, fullNames, builder);
        else if (const std::string_view element = dateElementOf(item, fullNames); !element.empty())
            builder.element(element);
    });
}

// One item of a Windows format picture: a literal character, or a run of one format letter.
struct PictureItem {
    bool isElement;
    char character;
    std::size_t length = 1;
};

// Calls visit with each item of a picture. Letters are case-sensitive ("M" is the month, "m" the
// minute); text in single quotes is literal, and '' stands for a quote, inside quotes or outside.
template <typename Visit>
void forEachPictureItem(std::string_view picture, const Visit& visit) {
    std::size_t i = 0;
    bool quoted = false;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                visit(PictureItem{false, '\''});
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        std::size_t run = 1;
        if (!quoted && std::string_view("dMygHhmst").find(c) != std::string_view::npos) {
            while (i + run < picture.size() && picture[i + run] == c)
                ++run;
            visit(PictureItem{true, c, run});
        } else {
            visit(PictureItem{false, c});
        }
        i += run;
    }
}

std::string_view dateElementOfPicture(const PictureItem& item) {
    static constexpr std::string_view days[] = {"d", "dd", "ddd", "dddd"};
    static constexpr std::string_view months[] = {"m", "mm", "mmm", "mmmm"};
    switch (item.character) {
    case 'd':
        return days[std::min<std::size_t>(item.length, 4) - 1];
    case 'M':
        return months[std::min<std::size_t>(item.length, 4) - 1];
    case 'y':
        return item.length <= 2 ? "yy" : "yyyy";
    default:
        return {};
    }
}

bool holdsTimeConversion(std::string_view word) {
    bool found = false;
    forEachItem(word, [&](const FormatItem& item) {
        found = found || (item.isConversion &&
                          std::string_view("HIklMSpPXZzsc").find(item.character) != std::string_view::npos);
    });
    return found;
}

} // namespace

char dateDelimiterOf(std::string_view dateFormat) {
    char delimiter = 0;
    forEachItem(dateFormat, [&](const FormatItem& item) {
        if (delimiter == 0 && !item.isConversion && isDelimiterCandidate(item.character))
            delimiter = item.character;
    });
    return delimiter != 0 ? delimiter : '/';
}

std::string datePatternFromStrftime(std::string_view format, char dateDelimiter) {
    PatternBuilder builder(dateDelimiter);
    translate(format, {}, false, builder);
    return builder.finish();
}

std::string longDatePatternFromStrftime(std::string_view dateTimeFormat, std::string_view dateFormat,
                                        char dateDelimiter) {
    std::string dateWords;
    std::size_t start = 0;
    while (start <= dateTimeFormat.size()) {
        const std::size_t end = std::min(dateTimeFormat.find(' ', start), dateTimeFormat.size());
        const std::string_view word = dateTimeFormat.substr(start, end - start);
        if (!word.empty() && !holdsTimeConversion(word))
            dateWords += (dateWords.empty() ? "" : " ") + std::string(word);
        start = end + 1;
    }
    PatternBuilder builder(dateDelimiter);
    translate(dateWords, dateFormat, true, builder);
    std::string pattern = builder.finish();
    return pattern.empty() ? datePatternFromStrftime(dateFormat, dateDelimiter) : pattern;
}

TimeStyle timeStyleOf(std::string_view timeFormat) {
    TimeStyle style;
    bool delimiterFound = false;
    forEachItem(timeFormat, [&](const FormatItem& item) {
        if (!item.isConversion) {
            if (!delimiterFound && isDelimiterCandidate(item.character)) {
                style.delimiter = item.character;
                delimiterFound = true;
            }
        } else if (item.character == 'H') {
            style.leadingZero = style.leadingZero || !item.unpadded;
        } else if (std::string_view("IlpP").find(item.character) != std::string_view::npos) {
            style.twelveHour = true;
        }
    });
    return style;
}

std::string datePatternFromPicture(std::string_view picture, char dateDelimiter) {
    PatternBuilder builder(dateDelimiter);
    forEachPictureItem(picture, [&](const PictureItem& item) {
        if (!item.isElement)
            builder.literal(item.character);
        else if (const std::string_view element = dateElementOfPicture(item); !element.empty())
            builder.element(element);
    });
    return builder.finish();
}

TimeStyle timeStyleOfPicture(std::string_view picture) {
    TimeStyle style;
    bool delimiterFound = false;
    forEachPictureItem(picture, [&](const PictureItem& item) {
        if (!item.isElement) {
            if (!delimiterFound && isDelimiterCandidate(item.character)) {
                style.delimiter = item.character;
                delimiterFound = true;
            }
        } else if (item.character == 'h' || item.character == 'H') {
            style.leadingZero = style.leadingZero || item.length >= 2;
            style.twelveHour = style.twelveHour || item.character == 'h';
        }
    });
    return style;
}

void applyTimeLocale(DateSettings& settings, const TimeLocaleItems& items, bool withNames) {
    if (withNames) {
        settings.ShortMonthNames = items.shortMonthNames;
        settings.LongMonthNames = items.longMonthNames;
        settings.ShortDayNames = items.shortDayNames;
        settings.LongDayNames = items.longDayNames;
    }
    TimeStyle time;
    if (items.language == FormatLanguage::WindowsPicture) {
        settings.DateDelimiter = items.dateSeparator.empty() ? '/' : items.dateSeparator.front();
        settings.ShortDatePattern = datePatternFromPicture(items.dateFormat, settings.DateDelimiter);
        settings.LongDatePattern = datePatternFromPicture(items.longDateFormat, settings.DateDelimiter);
        time = timeStyleOfPicture(items.timeFormat);
    } else {
        settings.DateDelimiter = dateDelimiterOf(items.dateFormat);
        settings.ShortDatePattern = datePatternFromStrftime(items.dateFormat, settings.DateDelimiter);
        settings.LongDatePattern =
            longDatePatternFromStrftime(items.dateTimeFormat, items.dateFormat, settings.DateDelimiter);
        time = timeStyleOf(items.timeFormat);
    }
    settings.TimeDelimiter = time.delimiter;
    settings.TimeAMString = items.amString;
    settings.TimePMString = items.pmString;
    const std::string hour = time.leadingZero ? "hh" : "h";
    const std::string marker = time.twelveHour ? " AMPM" : "";
    settings.ShortTimePattern = hour + ":mm" + marker;
    settings.LongTimePattern = hour + ":mm:ss" + marker;
}

void LoadDateSettings(DateSettings& settings, bool withNames) {
    if (const auto items = readUserTimeLocale()) {
        applyTimeLocale(settings, *items, withNames);
        return;
    }
    // The C locale, or one the system lacks: every item takes its default.
    DateSettings defaults;
    if (!withNames) {
        defaults.ShortMonthNames = settings.ShortMonthNames;
        defaults.LongMonthNames = settings.LongMonthNames;
        defaults.ShortDayNames = settings.ShortDayNames;
        defaults.LongDayNames = settings.LongDayNames;
    }
    settings = std::move(defaults);
}

} // namespace portolan
