#pragma once

#include <QListWidget>

namespace portolan {

// The site list: a single-selection list whose selected entry stays selected until another one is
// chosen, as on the old desktop. Qt's own single selection lets a click on the empty part of the list,
// or a Ctrl+click on the selected entry, leave the list without one.
class SiteList final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

} // namespace portolan
