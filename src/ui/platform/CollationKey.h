#pragma once

#include <QString>

#include <memory>

namespace portolan {

// A text's place in the order of the user's language, worked out once, so that sorting a list
// collates no text again. Two keys compare as their texts collate.
class CollationKey {
public:
    explicit CollationKey(const QString& text);

    // Less than, equal to or greater than 0 as this key's text comes before, with or after the other's.
    int compare(const CollationKey& other) const;

private:
    struct Key;
    std::shared_ptr<const Key> key_;
};

} // namespace portolan
