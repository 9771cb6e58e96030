#pragma once

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace portolan::testing {

// Gives the file a second name (a hard link). Such a file is rewritten in place, whoever runs the test:
// a new file would take the place of one name only, and the other would keep the old content.
inline std::string withSecondName(const std::string& path) {
    const std::string second = path + ".link";
    EXPECT_EQ(::link(path.c_str(), second.c_str()), 0);
    return second;
}

} // namespace portolan::testing
