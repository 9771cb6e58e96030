#pragma once

#include "book/SettingsFile.h"

#include <string>
#include <string_view>

namespace portolan {

// The rules of the client configuration dialog that are not about pixels. The dialog keeps its own
// copy of the two values in its controls; only "OK" puts them in force.

// "OK": trims the command text (every leading and trailing character of code 32 or less) and puts it
// and the check box's state into settings. Returns the trimmed text, which the dialog shows in its
// command box. Nothing is written to the settings file here.
std::string confirmClientSettings(Settings& settings, std::string_view commandText, bool useAnonymParam);

// The browse button: the command text with the chosen file name appended directly, with no separator;
// both are the system's own texts (UTF-8), as the command is.
// A name that contains white space is appended in double quotes, so that the launcher, which splits the
// command line into words at white space outside quotes, still sees one program. An empty name
// appends nothing.
std::string appendClientPath(std::string_view commandText, std::string_view chosenName);

} // namespace portolan
