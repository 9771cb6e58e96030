#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace portolan {

// Where a window's outer frame goes, given the frame's size.
using OuterPlace = std::function<QPoint(QSize outerSize)>;

// The frame that the window manager puts around a top-level window, as the window system reports it
// now, or null margins while it is not known: before the window was first shown, while a resize is on
// its way, or where no window manager frames it.
QMargins knownFrame(const QWidget& window);

// The window's outer frame on the screen: its inner area grown by the known frame.
QRect outerGeometry(const QWidget& window);

// Places a top-level window by its outer frame, as the old desktop placed windows. The window manager
// adds the frame only once the window is shown, so until its own frame is known, the frame of a
// framed dialog seen before, else that of the active window, stands in for it. Once the real frame is
// known the place is worked out again, and the window moves only if it differs.
void placeByOuterFrame(QWidget& window, OuterPlace place);

} // namespace portolan
