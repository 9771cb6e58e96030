#include "ui/widgets/SiteItem.h"

#include "ui/widgets/QtText.h"

namespace portolan {

// The collation is given case-folded texts, as in the C locale it would compare codes exactly.
SiteItem::SiteItem(std::string_view description)
    : QListWidgetItem(toQString(description)), sortKey_(text().toCaseFolded()) {}

// Every byte of a description comes back from its text unchanged, so the text is all an entry keeps.
std::string SiteItem::description() const {
    return fromQString(text());
}

bool SiteItem::operator<(const QListWidgetItem& other) const {
    const auto& theirs = static_cast<const SiteItem&>(other);
    if (const int order = sortKey_.compare(theirs.sortKey_); order != 0)
        return order < 0;
    return QString::compare(text(), theirs.text(), Qt::CaseSensitive) < 0;
}

} // namespace portolan
