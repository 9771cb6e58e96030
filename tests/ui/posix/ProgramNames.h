#pragma once

#include <QString>

namespace portolan::test {

// The ending of the system's program files, which a client's name typed without one is given: none,
// as programs here have no ending.
inline const QString programEnding;

} // namespace portolan::test
