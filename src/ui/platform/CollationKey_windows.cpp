#include "ui/platform/CollationKey.h"

#include <windows.h>

#include <string>

namespace portolan {

namespace {

// The system's sort key of the text in the user's locale, whose size is counted in bytes; none for an
// empty text, which the system refuses to map and which comes before every other.
std::string sortKeyBytes(const QString& text) {
    const auto* source = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    if (length == 0)
        return {};
    const int size = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, source, length, nullptr, 0,
                                     nullptr, nullptr, 0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, source, length,
                    reinterpret_cast<wchar_t*>(bytes.data()), size, nullptr, nullptr, 0);
    return bytes;
}

} // namespace

// The key's bytes are compared one by one. Qt's own sort key is not used on Windows: it keeps these
// bytes as 16-bit units, which compare in another order, half of them never written.
struct CollationKey::Key {
    std::string bytes;
};

CollationKey::CollationKey(const QString& text)
    : key_(std::make_shared<const Key>(Key{sortKeyBytes(text)})) {}

int CollationKey::compare(const CollationKey& other) const {
    return key_->bytes.compare(other.key_->bytes);
}

} // namespace portolan
