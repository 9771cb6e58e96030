#pragma once

#include "book/DateSettings.h"
#include "book/DayNumber.h"

#include <string_view>

namespace portolan {

// The day number of a typed date, read in the order of the short date pattern; a missing year is
// currentYear, and a two-digit year gets currentYear's century. Throws EConvertError
// "'<text>' is not a valid date" otherwise.
DayNumber ParseDateText(std::string_view text, const DateSettings& settings, int currentYear);

} // namespace portolan
