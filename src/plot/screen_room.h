// How much of a screen a window may take: the screen's available area (without panels)
// less the frame the window manager puts around the window. Windows and message boxes
// larger than that scroll their content instead of running off the screen.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace kv {

// The least frame counted around every window: a title bar and a thin border, as most
// window managers draw them. A window is placed before it is framed, so a frame that turns
// out larger only makes the window smaller, never pushes it off the screen.
inline constexpr int kTitleBarAllowance = 30, kBorderAllowance = 2;

// The frame around a top-level window: the window manager's, and at least the least frame.
QMargins FrameAround(const QWidget* window);

// The window's geometry with that frame around it.
QRect FrameOf(const QWidget* window);

// The largest size the window itself (inside its frame) can take on `screen`.
QSize RoomOn(const QWidget* window, const QScreen* screen);

// The window's own geometry at `topLeft` (its frame's corner) moved, where it has to, so
// that its frame lies inside `area`.
QRect KeptInside(const QWidget* window, QPoint topLeft, const QRect& area);

}  // namespace kv
