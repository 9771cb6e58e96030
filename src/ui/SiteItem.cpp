#include "ui/SiteItem.h"

#include "ui/QtText.h"

#include <QByteArray>

namespace portolan {

namespace {
constexpr int descriptionRole = Qt::UserRole;
}

SiteItem::SiteItem(std::string_view description) : QListWidgetItem(toQString(description)) {
    setData(descriptionRole, QByteArray(description.data(), static_cast<qsizetype>(description.size())));
}

std::string SiteItem::description() const {
    return data(descriptionRole).toByteArray().toStdString();
}

bool SiteItem::operator<(const QListWidgetItem& other) const {
    const QString mine = text();
    const QString theirs = other.text();
    const int folded = QString::localeAwareCompare(mine.toCaseFolded(), theirs.toCaseFolded());
    if (folded != 0)
        return folded < 0;
    return QString::compare(mine, theirs, Qt::CaseSensitive) < 0;
}

} // namespace portolan
