#include "kit/curve_window.h"

#include <QEvent>
#include <QPushButton>
#include <QScreen>

#include "plot/screen_room.h"

namespace kv {
namespace {
constexpr QSize kCurveSize(520, 320);
}  // namespace

CurveWindow::CurveWindow(FormWindow* owner, QPushButton* button, CurveSetup setup)
    : FormWindow(QStringLiteral("frmCurve") + owner->objectName(), QStringLiteral("学習曲線 − ") + owner->windowTitle()),
      owner_(owner) {
    // A window of its own, freed with its owner.
    setParent(owner, windowFlags() | Qt::Window);
    view_ = new CurveView(content(), std::move(setup));
    view_->setGeometry(QRect(QPoint(0, 0), kCurveSize));
    setContentSize(kCurveSize);
    // F1 here is a question about the owner's model.
    setHelpPage(owner->helpPage(), owner->helpAnchor());
    ownerAt_ = owner->pos();
    owner->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, &CurveWindow::open);
}

void CurveWindow::open() {
    if (!placed_) placeBesideOwner();
    show();
    raise();
    activateWindow();
    view_->refresh();
}

void CurveWindow::placeBesideOwner() {
    placed_ = true;
    QScreen* screen = owner_->screen();
    setScreen(screen);
    fitToScreen(screen);
    // Frames counted with their title bars, which are not there before the window is shown.
    const QRect by = FrameOf(owner_);
    const QRect room = screen ? screen->availableGeometry() : by;
    const QSize size = this->size().grownBy(FrameAround(this));
    // At the owner's right where the screen has room, else below it, else at its left,
    // else over the owner's lower right corner.
    QPoint at(by.right() + 1, by.top());
    if (at.x() + size.width() > room.right() + 1) {
        at = QPoint(by.left(), by.bottom() + 1);
        if (at.y() + size.height() > room.bottom() + 1) {
            at = QPoint(by.left() - size.width(), by.top());
            if (at.x() < room.left()) at = by.bottomRight() + QPoint(1, 1) - QPoint(size.width(), size.height());
        }
    }
    setGeometry(KeptInside(this, at, room));
}

bool CurveWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner_) {
        switch (event->type()) {
            case QEvent::Move: {
                // Follows its owner, keeping where the learner put it relative to the owner.
                const QPoint now = owner_->pos();
                if (placed_) move(pos() + (now - ownerAt_));
                ownerAt_ = now;
                break;
            }
            case QEvent::Close: close(); break;
            // Minimised, the owner takes its companion along by itself.
            case QEvent::Hide:
                if (!event->spontaneous()) close();
                break;
            default: break;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

CurveView* FormWindow::addCurveWindow(CurveSetup setup) {
    return (new CurveWindow(this, addCornerButton(QStringLiteral("cmdCurve"), QStringLiteral("学習曲線")), std::move(setup)))->view();
}

}  // namespace kv
