#include "ui/widgets/PanelStatusBar.h"

#include <QLabel>
#include <QSizeGrip>

#include <algorithm>

namespace portolan {

namespace {

constexpr int panelTop = 2;
constexpr int panelGap = 2;

} // namespace

// The panels are placed by hand: QStatusBar's own layout adds 5 pixels of margins around the tallest
// panel and keeps the grip apart from the last one.
PanelStatusBar::PanelStatusBar(QWidget* parent, const std::vector<int>& widths)
    : QStatusBar(parent), widths_(widths), grip_(new QSizeGrip(this)) {
    setSizeGripEnabled(false); // the bar's own grip would come with the layout
    setFixedHeight(barHeight);
    for (std::size_t index = 0; index < widths_.size(); ++index) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("StatusPanel%1").arg(index));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_.push_back(label);
    }
    grip_->resize(grip_->sizeHint());
    layOutPanels();
}

QLabel* PanelStatusBar::panel(int index) const {
    return panels_.at(static_cast<std::size_t>(index));
}

void PanelStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    layOutPanels();
}

void PanelStatusBar::layOutPanels() {
    grip_->move(width() - grip_->width(), height() - grip_->height());
    int left = 0;
    for (std::size_t index = 0; index < panels_.size(); ++index) {
        const bool last = index + 1 == panels_.size();
        const int panelWidth = last ? std::max(widths_[index], width() - left) : widths_[index];
        panels_[index]->setGeometry(left, panelTop, panelWidth, height() - panelTop);
        left += panelWidth + panelGap;
    }
    grip_->raise(); // drawn over the last panel's right end
}

} // namespace portolan
