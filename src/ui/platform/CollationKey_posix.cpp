#include "ui/platform/CollationKey.h"

#include <QCollator>

namespace portolan {

namespace {

// The collation of the user's language.
const QCollator& languageCollator() {
    static const QCollator collator;
    return collator;
}

} // namespace

struct CollationKey::Key {
    QCollatorSortKey sortKey;
};

CollationKey::CollationKey(const QString& text)
    : key_(std::make_shared<const Key>(Key{languageCollator().sortKey(text)})) {}

int CollationKey::compare(const CollationKey& other) const {
    return key_->sortKey.compare(other.key_->sortKey);
}

} // namespace portolan
