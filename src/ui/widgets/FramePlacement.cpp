#include "ui/widgets/FramePlacement.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace portolan {

namespace {

// The last real frame seen around a placed window: dialogs of one kind share their frame, while the
// main window's may differ (a resizable window has a wider bottom edge under some window managers).
QMargins& learnedDialogFrame() {
    static QMargins frame;
    return frame;
}

QMargins estimatedFrame(const QWidget& window) {
    if (const QMargins own = knownFrame(window); !own.isNull())
        return own;
    if (!learnedDialogFrame().isNull())
        return learnedDialogFrame();
    for (const QWidget* other : {QApplication::activeWindow(), window.parentWidget()})
        if (other && other != &window)
            if (const QMargins frame = knownFrame(*other->window()); !frame.isNull())
                return frame;
    return {};
}

void moveOuterTo(QWidget& window, QPoint outerTopLeft, const QMargins& frame) {
    // The inner area is placed: its position does not depend on what Qt believes the frame to be.
    window.setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), window.size()));
}

const char* const objectNameOfCorrection = "FrameCorrection";
constexpr int pollInterval = 20; // milliseconds
constexpr int pollTicks = 100;

// Waits, while the window is shown, for the window manager to report its real frame, and then puts
// the window where the rule wants it with that frame.
class FrameCorrection final : public QObject {
public:
    FrameCorrection(QWidget& window, OuterPlace place)
        : QObject(&window), window_(window), place_(std::move(place)) {
        setObjectName(objectNameOfCorrection);
        window.installEventFilter(this);
        if (QWindow* handle = window.windowHandle())
            handle->installEventFilter(this);
        // Qt learns of some frames only when it next asks: the frame is looked for a while.
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, ticks = 0]() mutable {
            if (++ticks > pollTicks)
                deleteLater();
            else
                correctOnceFramed();
        });
        poll->start(pollInterval);
    }

    // The frame is known when the window is first exposed, framed; some window managers report it
    // only by a later move.
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Hide:
            if (watched == &window_)
                deleteLater();
            break;
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
            correctOnceFramed();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void correctOnceFramed() {
        const QMargins frame = knownFrame(window_);
        if (frame.isNull() || done_)
            return;
        done_ = true;
        learnedDialogFrame() = frame;
        deleteLater();
        const QPoint wanted = place_(window_.size().grownBy(frame));
        if (window_.frameGeometry().topLeft() != wanted)
            moveOuterTo(window_, wanted, frame);
    }

    QWidget& window_;
    OuterPlace place_;
    bool done_ = false;
};

} // namespace

QMargins knownFrame(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // While a resize is on its way, Qt may pair the new inner size with the old frame.
    if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0)
        return {};
    return frame;
}

void placeByOuterFrame(QWidget& window, OuterPlace place) {
    // A correction still waiting from an earlier showing would use an earlier rule.
    for (QObject* pending : window.findChildren<QObject*>(objectNameOfCorrection, Qt::FindDirectChildrenOnly))
        delete pending;
    const bool frameKnown = !knownFrame(window).isNull();
    const QMargins frame = estimatedFrame(window);
    moveOuterTo(window, place(window.size().grownBy(frame)), frame);
    if (!frameKnown && window.isVisible())
        new FrameCorrection(window, std::move(place));
}

} // namespace portolan
