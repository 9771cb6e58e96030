#pragma once

#include <functional>

class QWidget;

namespace portolan {

// Puts a dialog in its place on the screen each time it is shown; the main window supplies the rule,
// so a dialog needs nothing else of the main window.
using DialogPlacement = std::function<void(QWidget& dialog)>;

} // namespace portolan
