#pragma once

#include "book/DateSettings.h"
#include "book/DayNumber.h"
#include "runtime/Errors.h"

#include <string_view>

namespace portolan {

// The day number of a typed date, read in the order of the short date pattern; a missing year is
// currentYear, and a two-digit year gets currentYear's century. The text is Windows-1252; one that is
// not a valid date throws invalidDate of it.
DayNumber ParseDateText(std::string_view text, const DateSettings& settings, int currentYear);

// The error "'<typed>' is not a valid date", quoting typed (UTF-8) exactly as the user typed it.
EConvertError invalidDate(std::string_view typed);

} // namespace portolan
