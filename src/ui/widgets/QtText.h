#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace portolan {

// Texts meet widgets only through these two: bytes are Windows-1252 on every system.
QString toQString(std::string_view bytes);
std::string fromQString(const QString& text);

} // namespace portolan
