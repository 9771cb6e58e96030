#pragma once

#include <QString>

namespace portolan::test {

// The ending of the system's program files, which a client's name typed without one is given.
inline const QString programEnding = QStringLiteral(".exe");

} // namespace portolan::test
