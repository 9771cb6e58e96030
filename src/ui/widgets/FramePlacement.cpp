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
// the window where the rule wants it with that frame. The frame counts only once the window is
// exposed: a window manager maps the window when it has framed it, while before that Qt may measure
// a frame half built (openbox first puts the window into its frame's top left corner, which reads
// as a frame with no left and top edges).
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

    // The frame is known when the window is first exposed; some window managers report it only by a
    // later move.
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
        const QWindow* handle = window_.windowHandle();
        if (done_ || !handle || !handle->isExposed())
            return;
        const QMargins frame = knownFrame(window_);
        if (frame.isNull())
            return;
        done_ = true;
        learnedDialogFrame() = frame;
        deleteLater();
        const QPoint wanted = place_(window_.size().grownBy(frame));
        if (outerGeometry(window_).topLeft() != wanted)
            moveOuterTo(window_, wanted, frame);
    }

    QWidget& window_;
    OuterPlace place_;
    bool done_ = false;
};

} // namespace

QMargins knownFrame(const QWidget& window) {
    // The window system's own account, which it renews whenever the window manager changes the
    // frame; the widget's frame geometry keeps whatever the frame was at the window's last move or
    // resize, even a frame not yet built.
    const QWindow* handle = window.windowHandle();
    if (!handle)
        return {};
    const QMargins frame = handle->frameMargins();
    // While a resize is on its way, Qt may pair the new inner size with the old frame.
    if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0)
        return {};
    return frame;
}

QRect outerGeometry(const QWidget& window) {
    return window.geometry().marginsAdded(knownFrame(window));
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
