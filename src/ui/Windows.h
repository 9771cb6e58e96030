#pragma once

#include "commands/Session.h"

#include <optional>
#include <string>

namespace portolan {

class TmainFRM;

// Creates the five windows of the program in their order: the main window (which reads the settings
// file), the about box, the add/edit dialog, the export dialog and the configuration dialog. The four
// secondary windows are children of the main window and go with it; all stay hidden until shown.
TmainFRM* createWindows(Session& session, std::optional<std::string> startupFile);

} // namespace portolan
