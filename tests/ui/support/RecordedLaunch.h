#pragma once

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace portolan::test {

// Starts commandLine with the program's own launcher and returns the arguments that the started program
// got, as the argument recorder (tests/tools) writes them into folder; {"<not started>"} when nothing
// was recorded within five seconds.
std::vector<std::string> argumentsOfLaunch(const std::string& commandLine, const QTemporaryDir& folder);

} // namespace portolan::test
