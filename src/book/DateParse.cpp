#include "book/DateParse.h"

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"

namespace portolan {

namespace {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order of the numbers in a typed date: that of the first d, m or y in the short date pattern.
DateOrder dateOrderOf(std::string_view pattern) {
    for (const char c : pattern) {
        switch (c) {
        case 'd':
        case 'D':
            return DateOrder::DayMonthYear;
        case 'm':
        case 'M':
            return DateOrder::MonthDayYear;
        case 'y':
        case 'Y':
            return DateOrder::YearMonthDay;
        }
    }
    return DateOrder::MonthDayYear;
}

// Reads a typed date from left to right. Only the space character counts as a blank.
class DateScanner {
public:
    explicit DateScanner(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (position_ < text_.size() && text_[position_] == ' ')
            ++position_;
    }

    // Blanks, then at least one digit; digits are taken while the value is below 1000, so a number
    // ends after four digits once it reaches 1000 ("0007" is 7, "12345" stops at 1234).
    bool scanNumber(int& number) {
        skipBlanks();
        const std::size_t first = position_;
        int value = 0;
        while (position_ < text_.size() && text_[position_] >= '0' && text_[position_] <= '9' && value < 1000)
            value = value * 10 + (text_[position_++] - '0');
        number = value;
        return position_ > first;
    }

    // Blanks, then steps over c if it stands next.
    bool scanChar(char c) {
        skipBlanks();
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }

    bool atEnd() const { return position_ >= text_.size(); }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

std::optional<DayNumber> scanDate(std::string_view text, const DateSettings& settings, int currentYear) {
    const DateOrder order = dateOrderOf(settings.ShortDatePattern);
    const char delimiter = settings.DateDelimiter;
    DateScanner scanner(text);
    int n1 = 0, n2 = 0, n3 = 0;
    if (!scanner.scanNumber(n1) || !scanner.scanChar(delimiter) || !scanner.scanNumber(n2))
        return std::nullopt;
    std::int64_t year = 0; // wide enough for any clock year plus a century
    int month = 0, day = 0;
    if (scanner.scanChar(delimiter)) {
        if (!scanner.scanNumber(n3))
            return std::nullopt;
        switch (order) {
        case DateOrder::MonthDayYear:
            year = n3, month = n1, day = n2;
            break;
        case DateOrder::DayMonthYear:
            year = n3, month = n2, day = n1;
            break;
        case DateOrder::YearMonthDay:
            year = n1, month = n2, day = n3;
            break;
        }
        // No window: a two-digit year always joins the clock's century.
        if (year <= 99)
            year += std::int64_t{currentYear} / 100 * 100;
    } else {
        year = currentYear;
        if (order == DateOrder::DayMonthYear)
            day = n1, month = n2;
        else
            month = n1, day = n2;
    }
    scanner.scanChar(delimiter);
    scanner.skipBlanks();
    if (!scanner.atEnd() || year < 1 || year > 9999)
        return std::nullopt;
    return EncodeDayNumber(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                           static_cast<std::uint16_t>(day));
}

} // namespace

DayNumber ParseDateText(std::string_view text, const DateSettings& settings, int currentYear) {
    if (const auto day = scanDate(text, settings, currentYear))
        return *day;
    throw invalidDate(utf8FromCp1252(text));
}

EConvertError invalidDate(std::string_view typed) {
    return EConvertError("'" + std::string(typed) + "' is not a valid date");
}

} // namespace portolan
