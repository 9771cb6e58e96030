#pragma once

#include "commands/UserInterface.h"

#include <cstdint>
#include <span>

namespace portolan {

// The main window's outer size as designed: its size when no bounds are stored, and the least it is
// given from stored bounds where the screen allows.
inline constexpr std::int32_t designOuterWidth = 270;
inline constexpr std::int32_t designOuterHeight = 217;

// Where the main window opens for the outer bounds stored in the settings file, which may come from
// another screen setup or from any other program. screenAreas are the areas of the screens that
// windows may take (without panels and docks), the primary screen's first; there is at least one.
// titleBarHeight is the height of the title bar at the top of a window's outer frame.
//
// The window opens on the screen whose area lies nearest to the stored top-left corner (the first of
// equals). Its size is kept between the design size, or that area's size where that is smaller, and
// that area's size. Stored bounds that fit are used exactly; the window moves, as little as it takes to
// lie wholly on that area, only when its size had to change or when no part of its title bar would lie
// on any screen's area, so that the user can always reach it.
WindowBounds usableStartBounds(const WindowBounds& stored, std::span<const WindowBounds> screenAreas,
                               std::int32_t titleBarHeight);

} // namespace portolan
