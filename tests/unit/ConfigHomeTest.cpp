#include "support/TestPlaces.h"

#include "runtime/ProgramPlaces.h"

#include <gtest/gtest.h>

namespace portolan {
namespace {

using testing::TestPlaces;

// The one reading of XDG_CONFIG_HOME and HOME that the settings file and the import's look for FileZilla
// share: an absolute XDG_CONFIG_HOME, else HOME's .config, else nothing.
TEST(ConfigHome, XdgConfigHomeWhenAbsoluteElseHomesConfigFolder) {
    struct Case {
        const char* xdgConfigHome; // nullptr: unset
        const char* home;          // nullptr: unset
        const char* configHome;
        const char* defaultHome;
    };
    const Case cases[] = {
        {"/x", "/h", "/x", "/h/.config"},
        {nullptr, "/h", "/h/.config", "/h/.config"},
        {"", "/h", "/h/.config", "/h/.config"},
        {"x", "/h", "/h/.config", "/h/.config"},
        {"./x", "/h", "/h/.config", "/h/.config"},
        {"/x", nullptr, "/x", ""},
        {"/x", "", "/x", ""},
        {nullptr, nullptr, "", ""},
        {"x", nullptr, "", ""},
    };
    for (const Case& c : cases) {
        TestPlaces places("/program");
        if (c.xdgConfigHome)
            places.environment["XDG_CONFIG_HOME"] = c.xdgConfigHome;
        if (c.home)
            places.environment["HOME"] = c.home;
        const std::string row =
            std::string(c.xdgConfigHome ? c.xdgConfigHome : "(unset)") + ", " + (c.home ? c.home : "(unset)");
        EXPECT_EQ(places.xdgConfigHome(), c.configHome) << row;
        EXPECT_EQ(places.defaultConfigHome(), c.defaultHome) << row;
    }
}

} // namespace
} // namespace portolan
