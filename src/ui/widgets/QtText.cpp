#include "ui/widgets/QtText.h"

#include "runtime/Cp1252.h"

namespace portolan {

QString toQString(std::string_view bytes) {
    const std::u16string text = utf16FromCp1252(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQString(const QString& text) {
    return cp1252FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                               static_cast<std::size_t>(text.size())));
}

QString unicodeToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string unicodeFromQString(const QString& text) {
    return text.toStdString();
}

QString pathToQString(std::string_view path) {
    return unicodeToQString(path);
}

std::string pathFromQString(const QString& path) {
    return unicodeFromQString(path);
}

} // namespace portolan
