#pragma once

#include <QStatusBar>

#include <vector>

class QLabel;
class QSizeGrip;

namespace portolan {

// A status bar in the old desktop manner: 19 pixels high, a row of sunken text panels from its left
// edge, each of its given width and 2 pixels apart, the last one stretching to the bar's right end,
// under the size grip in the lower-right corner. It shows no messages of its own.
class PanelStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int barHeight = 19;

    // widths holds one entry per panel; the last one's is only its least width.
    PanelStatusBar(QWidget* parent, const std::vector<int>& widths);

    QLabel* panel(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutPanels();

    std::vector<int> widths_;
    std::vector<QLabel*> panels_;
    QSizeGrip* grip_;
};

} // namespace portolan
