#include "commands/StartBounds.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace portolan {

void PrintTo(const WindowBounds& b, std::ostream* out) {
    *out << b.Left << "," << b.Top << " " << b.Width << "x" << b.Height;
}

namespace {

// A primary screen of 1920 x 1080 whose bottom 40 rows are a panel, and a second one left of it.
const std::vector<WindowBounds> screens = {{0, 0, 1920, 1040}, {-1280, 0, 1280, 1024}};
constexpr std::int32_t titleBar = 20;

TEST(UsableStartBounds, OneRowPerRule) {
    struct Case {
        const char* name;
        WindowBounds stored;
        WindowBounds expected;
    };
    const Case cases[] = {
        {"bounds that fit", {196, 112, 333, 288}, {196, 112, 333, 288}},
        {"on the second screen", {-1000, 50, 400, 300}, {-1000, 50, 400, 300}},
        {"only a corner of the title bar shows", {1900, 1020, 400, 300}, {1900, 1020, 400, 300}},
        {"across both screens, sized to fit one", {-200, 100, 1000, 500}, {-200, 100, 1000, 500}},
        {"the largest size", {100, 80, INT32_MAX, INT32_MAX}, {0, 0, 1920, 1040}},
        {"too large for the screen it starts on", {-1000, 50, 1500, 1100}, {-1280, 0, 1280, 1024}},
        {"negative size", {100, 80, -5, -7}, {100, 80, 270, 217}},
        {"smaller than designed, in a corner", {1900, 1030, 10, 10}, {1650, 823, 270, 217}},
        {"the title bar below the panel's top", {100, 1040, 400, 300}, {100, 740, 400, 300}},
        {"the title bar above every screen", {100, -20, 400, 300}, {100, 0, 400, 300}},
        {"a screen that is gone, to the right", {2500, 100, 400, 300}, {1520, 100, 400, 300}},
        {"far off, the extremes", {INT32_MIN, INT32_MIN, 400, 300}, {-1280, 0, 400, 300}},
        {"far off to the right and down", {INT32_MAX, INT32_MAX, 400, 300}, {1520, 740, 400, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(usableStartBounds(c.stored, screens, titleBar), c.expected) << c.name;
}

TEST(UsableStartBounds, AScreenSmallerThanTheDesignSizeGivesItsOwnSize) {
    const std::vector<WindowBounds> small = {{0, 0, 240, 160}};
    EXPECT_EQ(usableStartBounds({10, 10, 500, 100}, small, titleBar), (WindowBounds{0, 0, 240, 160}));
}

} // namespace
} // namespace portolan
