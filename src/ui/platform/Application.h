#pragma once

#include "book/DateSettings.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace portolan {

// The font of every window, one whose letters fit the fixed layouts of the windows: on Windows the
// system's default GUI font, elsewhere the installed font nearest to "MS Sans Serif" at 11 pixels.
QFont classicFont();

// Portolan's own icon, a compass rose on a chart, at 16, 24, 32, 48 and 64 pixels.
QIcon applicationIcon();

// Prepares the application object: the title "Portolan", the icon of every window and the font; and
// keeps the date settings up to date when the system's locale changes (the month and day names keep
// their start-up values).
void setUpApplication(QApplication& application, DateSettings& dateSettings);

} // namespace portolan
