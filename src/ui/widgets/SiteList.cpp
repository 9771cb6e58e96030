#include "ui/widgets/SiteList.h"

#include <QKeyEvent>

#include <optional>

namespace portolan {

SiteList::SiteList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemSelectionChanged, this, &SiteList::siteChosen);
    // Qt makes an entry current without selecting it when the list gets the focus, when the current
    // entry is deleted and before a click selects; the current entry is kept on the selected one.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &SiteList::keepCurrentOnSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SiteList::keepCurrentOnSelection);
}

QItemSelectionModel::SelectionFlags SiteList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (!index.isValid() || command.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void SiteList::keepCurrentOnSelection() {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const QModelIndex wanted = selected.isEmpty() ? QModelIndex() : selected.constFirst();
    if (selectionModel()->currentIndex() != wanted)
        selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
}

QModelIndex SiteList::landingEntry(const QKeyEvent& event) {
    const auto action = cursorActionOf(event.key());
    if (!action || count() == 0)
        return {};
    if (!selectionModel()->hasSelection())
        return model()->index(movesBackward(*action) ? count() - 1 : 0, 0);
    return moveCursor(*action, event.modifiers());
}

std::optional<QAbstractItemView::CursorAction> SiteList::cursorActionOf(int key) {
    switch (key) {
    case Qt::Key_Up:
        return QAbstractItemView::MoveUp;
    case Qt::Key_Down:
        return QAbstractItemView::MoveDown;
    case Qt::Key_Left:
        return QAbstractItemView::MoveLeft;
    case Qt::Key_Right:
        return QAbstractItemView::MoveRight;
    case Qt::Key_Home:
        return QAbstractItemView::MoveHome;
    case Qt::Key_End:
        return QAbstractItemView::MoveEnd;
    case Qt::Key_PageUp:
        return QAbstractItemView::MovePageUp;
    case Qt::Key_PageDown:
        return QAbstractItemView::MovePageDown;
    default:
        return std::nullopt;
    }
}

bool SiteList::movesBackward(CursorAction action) {
    return action == QAbstractItemView::MoveUp || action == QAbstractItemView::MoveLeft ||
           action == QAbstractItemView::MoveEnd || action == QAbstractItemView::MovePageUp;
}

void SiteList::keyPressEvent(QKeyEvent* event) {
    if (!cursorActionOf(event->key())) {
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const QModelIndex target = landingEntry(*event);
    if (!target.isValid())
        return;
    const QItemSelection before = selectionModel()->selection();
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
    if (selectionModel()->selection() == before) // landed on the selected entry: no change reported it
        emit siteChosen();
}

} // namespace portolan
