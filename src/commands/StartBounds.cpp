#include "commands/StartBounds.h"

#include <algorithm>

namespace portolan {

namespace {

// A rectangle whose right and bottom edges lie outside it, in 64 bits: stored bounds may be any 32-bit
// values, whose sums do not fit in 32 bits.
struct Area {
    std::int64_t left, top, right, bottom;
};

Area areaOf(const WindowBounds& bounds) {
    return {bounds.Left, bounds.Top, std::int64_t{bounds.Left} + bounds.Width,
            std::int64_t{bounds.Top} + bounds.Height};
}

bool overlap(const Area& a, const Area& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// How far the point lies outside the area, across plus down; 0 inside it.
std::int64_t distance(const Area& area, std::int64_t x, std::int64_t y) {
    const std::int64_t across = std::max({area.left - x, x - (area.right - 1), std::int64_t{0}});
    const std::int64_t down = std::max({area.top - y, y - (area.bottom - 1), std::int64_t{0}});
    return across + down;
}

std::int32_t usableSize(std::int32_t stored, std::int32_t design, std::int32_t available) {
    return std::clamp(stored, std::min(design, available), available);
}

// The edge that keeps the extent on [low, high), moved as little as possible; the extent fits.
std::int32_t within(std::int32_t edge, std::int32_t extent, std::int64_t low, std::int64_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(edge, low, high - extent));
}

} // namespace

WindowBounds usableStartBounds(const WindowBounds& stored, std::span<const WindowBounds> screenAreas,
                               std::int32_t titleBarHeight) {
    const auto nearest =
        std::min_element(screenAreas.begin(), screenAreas.end(), [&](const auto& a, const auto& b) {
            return distance(areaOf(a), stored.Left, stored.Top) <
                   distance(areaOf(b), stored.Left, stored.Top);
        });
    const WindowBounds& screen = *nearest;

    WindowBounds bounds = stored;
    bounds.Width = usableSize(stored.Width, designOuterWidth, screen.Width);
    bounds.Height = usableSize(stored.Height, designOuterHeight, screen.Height);

    const Area window = areaOf(bounds);
    const Area titleBar{window.left, window.top, window.right,
                        window.top + std::min(titleBarHeight, bounds.Height)};
    const bool titleBarShows = std::any_of(screenAreas.begin(), screenAreas.end(),
                                           [&](const auto& area) { return overlap(titleBar, areaOf(area)); });
    const bool sizeKept = bounds.Width == stored.Width && bounds.Height == stored.Height;
    if (titleBarShows && sizeKept)
        return bounds;
    const Area onScreen = areaOf(screen);
    bounds.Left = within(bounds.Left, bounds.Width, onScreen.left, onScreen.right);
    bounds.Top = within(bounds.Top, bounds.Height, onScreen.top, onScreen.bottom);
    return bounds;
}

} // namespace portolan
