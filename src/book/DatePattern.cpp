#include "book/DatePattern.h"

#include <algorithm>

namespace portolan {

namespace {

constexpr std::size_t maxTextLength = 256;

// Pattern letters are ASCII only; bytes above 127 are ordinary characters whatever the locale.
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return upperAscii(p) == upperAscii(t); });
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

// Whether an h element whose run ends before `from` shows the 12-hour clock: an a stands later in the
// pattern, outside quotes, before the next h.
bool usesTwelveHourClock(std::string_view pattern, std::size_t from) {
    for (std::size_t i = from; i < pattern.size(); ++i) {
        const char c = upperAscii(pattern[i]);
        if (c == 'A')
            return true;
        if (c == 'H')
            return false;
        if (isQuote(c)) {
            const std::size_t close = pattern.find(c, i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
        }
    }
    return false;
}

// Builds the text of one value; patterns that elements apply nest two levels deep at most.
class PatternWriter {
public:
    PatternWriter(DayNumber value, const DateSettings& settings)
        : settings_(settings), date_(DecodeDayNumber(value)) {
        const auto split = splitDayNumber(value);
        if (!split)
            return;
        weekday_ = weekdayOf(split->day);
        hour_ = split->millisecond / 3'600'000;
        minute_ = split->millisecond / 60'000 % 60;
        second_ = split->millisecond / 1000 % 60;
    }

    void apply(std::string_view pattern);
    std::string text;

private:
    void append(std::string_view piece) { text.append(piece.substr(0, maxTextLength - text.size())); }
    void append(char c) { append(std::string_view(&c, 1)); }
    void appendNumber(int number, std::size_t minDigits) {
        const std::string digits = std::to_string(number);
        if (digits.size() < minDigits)
            append(std::string(minDigits - digits.size(), '0'));
        append(digits);
    }
    // Month names exist only for a date inside the valid range; day names for every day that fits 32
    // bits, since weekdays run on before 0001-01-01 and after 9999-12-31.
    void appendMonthName(const std::array<std::string, 12>& names) {
        if (date_.month >= 1 && date_.month <= 12)
            append(names[date_.month - 1]);
    }
    void appendDayName(const std::array<std::string, 7>& names) {
        if (weekday_ != 0)
            append(names[weekday_ - 1]);
    }
    // The am/pm, a/p or ampm element at the start of `rest`, or nothing; returns the characters it used.
    std::size_t appendMarker(std::string_view rest);

    const DateSettings& settings_;
    CalendarDate date_;
    int weekday_ = 0; // 0 where the value is no day that fits 32 bits
    int hour_ = 0;
    int minute_ = 0;
    int second_ = 0;
    int level_ = 0;
};

std::size_t PatternWriter::appendMarker(std::string_view rest) {
    const bool afternoon = hour_ >= 12;
    if (startsWithIgnoringCase(rest, "am/pm")) {
        append(rest.substr(afternoon ? 3 : 0, 2));
        return 5;
    }
    if (startsWithIgnoringCase(rest, "a/p")) {
        append(rest.substr(afternoon ? 2 : 0, 1));
        return 3;
    }
    if (startsWithIgnoringCase(rest, "ampm")) {
        append(afternoon ? settings_.TimePMString : settings_.TimeAMString);
        return 4;
    }
    return 0;
}

void PatternWriter::apply(std::string_view pattern) {
    if (level_ >= 2)
        return;
    ++level_;
    char lastLetter = ' '; // the kind of the last element that began with a letter, for m after h
    std::size_t i = 0;
    while (i < pattern.size()) {
        const std::size_t start = i;
        const char starter = pattern[i++];
        const auto runLength = [&] {
            while (i < pattern.size() && pattern[i] == starter)
                ++i;
            return i - start;
        };
        char token = upperAscii(starter);
        if (isAsciiLetter(starter)) {
            if (token == 'M' && lastLetter == 'H')
                token = 'N';
            lastLetter = token;
        }
        switch (token) {
        case 'Y':
            if (runLength() <= 2)
                appendNumber(date_.year % 100, 2);
            else
                appendNumber(date_.year, 4);
            break;
        case 'M': {
            const std::size_t count = runLength();
            if (count <= 2)
                appendNumber(date_.month, count);
            else if (count == 3)
                appendMonthName(settings_.ShortMonthNames);
            else
                appendMonthName(settings_.LongMonthNames);
            break;
        }
        case 'D': {
            const std::size_t count = runLength();
            if (count <= 2)
                appendNumber(date_.day, count);
            else if (count == 3)
                appendDayName(settings_.ShortDayNames);
            else if (count == 4)
                appendDayName(settings_.LongDayNames);
            else if (count == 5)
                apply(settings_.ShortDatePattern);
            else
                apply(settings_.LongDatePattern);
            break;
        }
        case 'H': {
            const std::size_t count = std::min<std::size_t>(runLength(), 2);
            int hour = hour_;
            if (usesTwelveHourClock(pattern, i))
                hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
            appendNumber(hour, count);
            break;
        }
        case 'N':
            appendNumber(minute_, std::min<std::size_t>(runLength(), 2));
            break;
        case 'S':
            appendNumber(second_, std::min<std::size_t>(runLength(), 2));
            break;
        case 'T':
            apply(runLength() == 1 ? settings_.ShortTimePattern : settings_.LongTimePattern);
            break;
        case 'A':
            // A marker begins only where a run of one a begins; a longer run is written as it stands.
            if (runLength() > 1)
                append(pattern.substr(start, i - start));
            else if (const std::size_t used = appendMarker(pattern.substr(start)))
                i = start + used;
            else
                append(starter);
            break;
        case 'C':
            runLength();
            if (level_ >= 2)
                break; // both patterns it applies would be level 3
            apply(settings_.ShortDatePattern);
            if (hour_ != 0 || minute_ != 0 || second_ != 0) {
                append(' ');
                apply(settings_.LongTimePattern);
            }
            break;
        case '/':
            append(settings_.DateDelimiter);
            break;
        case ':':
            append(settings_.TimeDelimiter);
            break;
        case '"':
        case '\'': {
            const std::size_t close = std::min(pattern.find(starter, i), pattern.size());
            append(pattern.substr(i, close - i));
            i = std::min(close + 1, pattern.size());
            break;
        }
        default:
            append(starter);
        }
    }
    --level_;
}

} // namespace

std::string FormatDatePattern(DayNumber value, std::string_view pattern, const DateSettings& settings) {
    PatternWriter writer(value, settings);
    writer.apply(pattern);
    return std::move(writer.text);
}

std::string FormatDateText(DayNumber value, const DateSettings& settings) {
    return FormatDatePattern(value, settings.ShortDatePattern, settings);
}

} // namespace portolan
