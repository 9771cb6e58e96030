#pragma once

#include <QListWidget>

#include <optional>

namespace portolan {

// The site list: a single-selection list that behaves as the old desktop's list box.
// - The selected entry stays selected until another one is chosen: Qt's own single selection lets a
//   click on the empty part of the list, or a Ctrl+click on the selected entry, leave it without one.
// - A navigation key (arrows, Home, End, Page Up, Page Down) always selects the entry it lands on,
//   also the one already selected; with nothing selected, Down, Right, Page Down and Home select the
//   first entry, Up, Left, Page Up and End the last.
// - The current entry is always the selected one: while nothing is selected none is current, so no
//   entry shows the focus frame that would make it look chosen.
// siteChosen() reports every change of the selection that the user makes with the mouse or a key, and
// also a navigation key that lands on the selected entry again (a click there changes nothing and
// reports nothing); a change made by the program (signals blocked) reports nothing.
class SiteList final : public QListWidget {
    Q_OBJECT
public:
    explicit SiteList(QWidget* parent = nullptr);

signals:
    void siteChosen();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The cursor move of a navigation key, or nothing for any other key.
    static std::optional<CursorAction> cursorActionOf(int key);
    static bool movesBackward(CursorAction action);
    QModelIndex landingEntry(const QKeyEvent& event);
    void keepCurrentOnSelection();
};

} // namespace portolan
