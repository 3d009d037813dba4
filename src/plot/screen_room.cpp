#include "plot/screen_room.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kv {

QMargins FrameAround(const QWidget* window) {
    QMargins m;
    if (const QWindow* handle = window->windowHandle()) m = handle->frameMargins();
    return QMargins(std::max(m.left(), kBorderAllowance), std::max(m.top(), kBorderAllowance + kTitleBarAllowance),
                    std::max(m.right(), kBorderAllowance), std::max(m.bottom(), kBorderAllowance));
}

QRect FrameOf(const QWidget* window) { return window->geometry().marginsAdded(FrameAround(window)); }

QSize RoomOn(const QWidget* window, const QScreen* screen) {
    const QMargins m = FrameAround(window);
    const QSize area = screen->availableGeometry().size();
    return QSize(std::max(1, area.width() - m.left() - m.right()), std::max(1, area.height() - m.top() - m.bottom()));
}

QRect KeptInside(const QWidget* window, QPoint topLeft, const QRect& area) {
    const QMargins m = FrameAround(window);
    const QSize frame = window->size().grownBy(m);
    // Right and bottom first, so that a frame larger than the area keeps its top-left corner
    // (and its title bar) inside.
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - frame.height()));
    return QRect(QPoint(x + m.left(), y + m.top()), window->size());
}

}  // namespace kv
