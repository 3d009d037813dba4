#include "kit/registry.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QMetaObject>
#include <QScreen>
#include <QWidget>

#include <exception>

#include "kit/form.h"
#include "plot/screen_room.h"

namespace kv {
namespace {

std::vector<WindowKind>& Table() {
    static std::vector<WindowKind> table;
    return table;
}

QMap<QString, QPointer<QWidget>>& Instances() {
    static QMap<QString, QPointer<QWidget>> instances;
    return instances;
}

// Whether another window stands with its corner exactly there.
bool Taken(QPoint corner, const QWidget* w) {
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != w && other->isVisible() && other->geometry().topLeft() == corner) return true;
    return false;
}

// Where a window built afresh comes on screen: the screen of the window that opened it,
// beside that window (right, then left) where this covers neither it nor the main menu,
// otherwise cascaded from it, moved clear of the main menu when the screen has room for
// both; always inside the screen's available area. The first window goes to the corner.
void Place(QWidget* w, const QWidget* opener) {
    constexpr int kGap = 4, kCascade = 32;
    QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
    w->setScreen(screen);
    if (auto* form = qobject_cast<FormWindow*>(w)) form->fitToScreen(screen);
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameAround(w);
    const QSize size = w->size().grownBy(frame);
    const auto at = [&](QPoint corner) { return KeptInside(w, corner, area).marginsAdded(frame); };

    QRect placed = at(area.topLeft());
    if (opener) {
        const QWidget* main = Table().empty() ? nullptr : WindowInstance(QLatin1String(Table().front().name));
        const bool keepClear = main && main != w && main->isVisible() && main->screen() == screen &&
                               area.width() >= FrameOf(main).width() + size.width();
        const QRect menu = keepClear ? FrameOf(main) : QRect();
        const QRect by = FrameOf(opener);
        const auto clear = [&](const QRect& r) { return !r.intersects(by) && !(keepClear && r.intersects(menu)); };
        placed = at(by.topLeft() + QPoint(kCascade, kCascade));
        if (keepClear && placed.intersects(menu)) {
            placed = at(QPoint(menu.right() + 1 + kGap, placed.top()));
            if (placed.intersects(menu)) placed = at(QPoint(menu.left() - kGap - size.width(), placed.top()));
        }
        for (const QPoint beside : {QPoint(by.right() + 1 + kGap, by.top()), QPoint(by.left() - kGap - size.width(), by.top())}) {
            if (clear(at(beside))) {
                placed = at(beside);
                break;
            }
        }
        // Windows opened one after another from one menu would otherwise land exactly on
        // one another.
        for (int i = 0; i < 8 && Taken(placed.topLeft() + QPoint(frame.left(), frame.top()), w); ++i) {
            const QRect next = at(placed.topLeft() + QPoint(kCascade, kCascade));
            if (next == placed || (keepClear && next.intersects(menu))) break;
            placed = next;
        }
    }
    w->setGeometry(placed.marginsRemoved(frame));
}

}  // namespace

void RunFormLoad(QWidget* window) {
    const QMetaObject* meta = window->metaObject();
    if (meta->indexOfSlot("Form_Load()") >= 0) QMetaObject::invokeMethod(window, "Form_Load", Qt::DirectConnection);
}

void FinishWindow(QWidget* window) {
    if (auto* form = qobject_cast<FormWindow*>(window)) form->finishBuilding();
    RunFormLoad(window);
}

void InstallWindowTable(const std::vector<WindowKind>& table) { Table() = table; }

QWidget* WindowInstance(const QString& kind) { return Instances().value(kind); }

void CloseAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QPointer<QWidget>& w : Instances()) delete w.data();
    Instances().clear();
}

QStringList WindowKinds() {
    QStringList kinds;
    for (const WindowKind& k : Table()) kinds << QString::fromLatin1(k.name);
    return kinds;
}

bool HasHelpButton(const QString& kind) {
    for (const WindowKind& k : Table())
        if (kind == QLatin1String(k.name)) return k.helpButton;
    return false;
}

QWidget* ShowWindow(const QString& kind, QWidget* opener) {
    QPointer<QWidget>& slot = Instances()[kind];
    if (!slot) {
        const WindowKind* entry = nullptr;
        for (const WindowKind& k : Table())
            if (kind == QLatin1String(k.name)) entry = &k;
        if (!entry) return nullptr;
        try {
            slot = entry->create();
        } catch (const std::exception&) {
            return nullptr;  // the menu stays usable
        }
        // A closed window is destroyed, so the next showing builds it afresh.
        slot->setAttribute(Qt::WA_DeleteOnClose);
        Place(slot, opener ? opener->window() : QApplication::activeWindow());
    }
    slot->show();
    if (slot->isMinimized()) slot->showNormal();
    slot->raise();
    slot->activateWindow();
    return slot;
}

}  // namespace kv
