#pragma once

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace portolan::testing {

// Gives the file a second name (a hard link). Such a file is rewritten in place: a new file would take
// the place of one name only, and the other would keep the old content.
inline std::string withSecondName(const std::string& path) {
    const std::string second = path + ".link";
    EXPECT_TRUE(::CreateHardLinkW(systemPathOf(second).c_str(), systemPathOf(path).c_str(), nullptr));
    return second;
}

} // namespace portolan::testing
