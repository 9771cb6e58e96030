#pragma once

#include "ui/platform/CollationKey.h"

#include <QListWidgetItem>

#include <string>
#include <string_view>

namespace portolan {

// An entry of the site list: shows a description and keeps its exact bytes. Entries sort without
// regard to case in the order of the user's language, with the exact text deciding between entries
// that differ only in case, so every description has one fixed place. Only SiteItems are compared.
class SiteItem : public QListWidgetItem {
public:
    explicit SiteItem(std::string_view description);

    std::string description() const;
    bool operator<(const QListWidgetItem& other) const override;

private:
    // Made once, so that the many comparisons of a book being listed fold and collate nothing.
    CollationKey sortKey_;
};

} // namespace portolan
