#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>

class QLabel;

namespace portolan {

// Where the about box goes at its first showing: centred on a screen of the given size, by integer
// division, and never before the screen's left or top edge.
QPoint centredOrigin(QSize screen, QSize box);

// The about box: a borderless black 400 x 81 window with the banner picture, the version label and
// the maker's notice. Show it modally with exec(); a mouse click anywhere on it closes it with the
// answer 2, and no key does anything (a close request of the window system, as when the program is
// told to end, still closes it). It is centred on the primary screen at its first showing only;
// later showings keep that position. It never takes the keyboard focus.
class TaboutFRM : public QDialog {
    Q_OBJECT
public:
    explicit TaboutFRM(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A click on the window, on either label or on the picture: each closes the box.
    void FormClick();
    void verLBLClick();
    void copyLBLClick();
    void Image1Click();
    void closeBox();

    QLabel* Image1;
    QLabel* copyLBL;
    QLabel* verLBL;
    bool shownBefore_ = false;
};

} // namespace portolan
