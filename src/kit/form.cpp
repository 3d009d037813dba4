#include "kit/form.h"

#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QWindow>

#include <algorithm>

#include "kit/registry.h"
#include "kit/stepper.h"
#include "kit/tab_chain.h"
#include "plot/screen_room.h"

namespace kv {

FormWindow::FormWindow(const QString& name, const QString& caption)
    : content_(new QWidget(this)), helpPage_(name) {
    setObjectName(name);
    setWindowTitle(caption);
    content_->setObjectName("content");
    // Ctrl+W does what the close box does, the end of the program on the last window included.
    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    close->setContext(Qt::WindowShortcut);
    close->setAutoRepeat(false);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &FormWindow::cmdHelp_Click);
    // Added here, before the window's own constructor adds anything to the corner row, so
    // that it stands rightmost in every demonstration.
    if (HasHelpButton(name)) {
        QPushButton* help = addCornerButton(QStringLiteral("cmdHelp"), QStringLiteral("ヘルプ"));
        help->setToolTip(QStringLiteral("F1"));
        help->setAccessibleName(QStringLiteral("ヘルプ"));
        help->setAccessibleDescription(QStringLiteral("このウィンドウの説明を開きます（F1）"));
        connect(help, &QPushButton::clicked, this, &FormWindow::cmdHelp_Click);
    }
}

void FormWindow::setHelpPage(const QString& page, const QString& anchor) {
    helpPage_ = page;
    helpAnchor_ = anchor;
}

void FormWindow::cmdHelp_Click() { ShowHelp(helpPage_, helpAnchor_); }

void ShowHelp(const QString& page, const QString& anchor) {
    // The help window lives above the kit; it is reached by its kind and its slot.
    if (QWidget* help = ShowWindow(QStringLiteral("frmHelp")))
        QMetaObject::invokeMethod(help, "ShowPage", Qt::DirectConnection, Q_ARG(QString, page), Q_ARG(QString, anchor));
}

// The whole window, not only content(). The buttons the program adds take the last turns,
// their row read from the left: the window's own controls come first, and a window opens on
// its first box.
void FormWindow::finishBuilding() { ArrangeTabChain(this, tabFlow_, QWidgetList(corner_.rbegin(), corner_.rend())); }

// After the row or the content has moved to another parent, which puts it elsewhere in the chain.
void FormWindow::cornerRowLast() {
    for (auto b = corner_.rbegin(); b != corner_.rend(); ++b) {
        QWidget* last = this;
        // Qt orders only widgets that take the focus: the last of those.
        for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
            if (w->focusPolicy() != Qt::NoFocus) last = w;
        if (last != this && last != *b) setTabOrder(last, *b);
    }
}

namespace {

constexpr int kWaitLineHeight = 26, kWaitLineMargin = 12;
constexpr int kCornerMargin = 4, kCornerGap = 4, kCornerHeight = 23, kCornerPadding = 16;

// The part of a window given to content of size `natural` within `room`: all of it where it
// fits; else the room, less what a scroll bar does not need (a bar across the bottom takes
// height, one down the side takes width, and either can make the other necessary).
QSize ViewFor(QSize natural, QSize room, int bar) {
    if (natural.width() <= room.width() && natural.height() <= room.height()) return natural;
    bool across = natural.width() > room.width(), down = natural.height() > room.height();
    down = down || (across && natural.height() + bar > room.height());
    across = across || (down && natural.width() + bar > room.width());
    return QSize(std::min(natural.width() + (down ? bar : 0), room.width()),
                 std::min(natural.height() + (across ? bar : 0), room.height()));
}

// How far down the right edge the corner row may stand before the window grows a strip.
constexpr int kCornerSlide = 72;
}  // namespace

void FormWindow::setContentSize(QSize size) {
    content_->setGeometry(QRect(QPoint(0, 0), size));
    applySize();
}

void FormWindow::applySize() { fitToScreen(isVisible() ? screen() : nullptr); }

void FormWindow::fitToScreen(const QScreen* screen) {
    placeCornerRow();
    const QSize natural = content_->size();
    const int strip = waitLine_ ? kWaitLineHeight : 0;
    QSize view = natural;
    if (screen && isWindow()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        view = ViewFor(natural, RoomOn(this, screen) - QSize(stripWidth_, strip), bar);
    }
    setScrolling(view != natural);
    if (scroll_) scroll_->setGeometry(QRect(QPoint(0, 0), view));
    if (waitLine_) waitLine_->setGeometry(kWaitLineMargin, view.height(), view.width() - 2 * kWaitLineMargin, kWaitLineHeight);
    setFixedSize(view.width() + stripWidth_, view.height() + strip);
    if (stripWidth_ > 0) {
        int right = width() - kCornerMargin;
        for (QPushButton* b : corner_) {
            b->move(right - b->width(), kCornerMargin);
            right -= b->width() + kCornerGap;
        }
    }
}

QPushButton* FormWindow::addCornerButton(const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    corner_.append(b);
    applySize();
    return b;
}

void FormWindow::placeCornerRow() {
    stripWidth_ = 0;
    if (corner_.isEmpty()) return;
    int rowWidth = -kCornerGap;
    for (QPushButton* b : corner_) rowWidth += b->fontMetrics().horizontalAdvance(b->text()) + kCornerPadding + kCornerGap;
    const int width = content_->width();
    QRect row(width - kCornerMargin - rowWidth, kCornerMargin, rowWidth, kCornerHeight);
    // Every control of the window counts, a hidden one too (it may be shown later).
    const auto taken = [this](const QRect& r) {
        if (r.left() < kCornerMargin || r.bottom() >= content_->height()) return true;
        const QRect spot = r.adjusted(-kCornerGap, -kCornerGap, kCornerGap, kCornerGap);
        for (QObject* o : content_->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !corner_.contains(w) && w->geometry().intersects(spot)) return true;
        }
        return false;
    };
    // A row of buttons along the top right often leaves room just below it: the row takes
    // that before the window grows a strip, which could make it too wide for the screen.
    while (taken(row) && row.top() < kCornerSlide) row.translate(0, kCornerGap);
    const bool strip = taken(row);
    if (strip) stripWidth_ = rowWidth + 2 * kCornerMargin;
    // In the free spot the row belongs to content() and scrolls with it; in the strip it
    // belongs to the window and stays put while the content scrolls (placed by fitToScreen).
    QWidget* parent = strip ? static_cast<QWidget*>(this) : content_;
    int right = row.right() + 1;
    bool moved = false;
    for (QPushButton* b : corner_) {
        if (b->parentWidget() != parent) {
            b->setParent(parent);
            b->show();
            moved = true;
        }
        const int w = b->fontMetrics().horizontalAdvance(b->text()) + kCornerPadding;
        b->setGeometry(right - w, row.top(), w, kCornerHeight);
        right -= w + kCornerGap;
    }
    // A new parent puts a widget at the end of the chain anywhere: the row's order again.
    if (moved) cornerRowLast();
}

bool FormWindow::event(QEvent* e) {
    // Controls made after the first corner button can take its spot: look again before the
    // window is first shown.
    if (e->type() == QEvent::Polish && !corner_.isEmpty()) applySize();
    return QWidget::event(e);
}

void FormWindow::setScrolling(bool on) {
    if (on == (scroll_ != nullptr)) return;
    // A widget moved to another parent loses the focus it holds, or would be given: the
    // window would open on whatever Qt finds first. It keeps the control it had.
    const QPointer<QWidget> focus = focusWidget();
    const auto keepFocus = [&] {
        cornerRowLast();
        if (focus) focus->setFocus(Qt::OtherFocusReason);
    };
    if (!on) {
        const bool filled = content_->autoFillBackground();
        scroll_->takeWidget();
        content_->setParent(this);
        content_->setAutoFillBackground(filled);
        content_->move(0, 0);
        content_->show();
        delete scroll_;
        scroll_ = nullptr;
        keepFocus();
        return;
    }
    const bool filled = content_->autoFillBackground();
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("contentScroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    // Not a stop of the Tab chain: the keyboard scrolls it by moving the focus.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(content_);
    content_->setAutoFillBackground(filled);
    scroll_->show();
    // Whatever moves the focus (Tab, a click, a shortcut, the program) brings the control
    // into view, whole: QScrollArea itself follows only the Tab keys that reach it, and for a
    // text box only as far as its caret.
    connect(qApp, &QApplication::focusChanged, scroll_, [this](QWidget*, QWidget* now) {
        if (now && content_->isAncestorOf(now)) showWhole(now);
    });
    // The content, moved into the scroll area, went to the end of the chain.
    keepFocus();
}

void FormWindow::showWhole(const QWidget* control) {
    constexpr int kContext = 50;  // as much of the surroundings as QScrollArea keeps
    const QRect r(control->mapTo(content_, QPoint(0, 0)), control->size());
    const QSize view = scroll_->viewport()->size();
    const int xMargin = std::clamp((view.width() - r.width()) / 2, 0, kContext);
    const int yMargin = std::clamp((view.height() - r.height()) / 2, 0, kContext);
    // The far side first, then the near one, so that a control larger than the view shows
    // its top-left part.
    scroll_->ensureVisible(r.right(), r.bottom(), xMargin, yMargin);
    scroll_->ensureVisible(r.left(), r.top(), xMargin, yMargin);
}

void FormWindow::showEvent(QShowEvent* event) {
    if (isWindow()) {
        if (!followsScreen_ && windowHandle()) {
            followsScreen_ = true;
            connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* s) {
                if (s) fitToScreen(s);
            });
        }
        fitToScreen(screen());
    }
    QWidget::showEvent(event);
}

void FormWindow::showWaitsOf(Stepper* run) {
    if (!waitLine_) {
        waitLine_ = new QLabel(QStringLiteral("入力中の欄があるため、待機しています"), this);
        waitLine_->setObjectName("lblWait");
        waitLine_->hide();
        applySize();
    }
    connect(run, &Stepper::waitingChanged, waitLine_, &QLabel::setVisible);
}

void FormWindow::fitContent() {
    if (QLayout* l = content_->layout()) l->activate();
    setContentSize(content_->sizeHint());
}

void SteppedForm::finishBuilding() {
    FormWindow::finishBuilding();
    if (run_) run_->setKeys(keys_);
}

void SteppedForm::Timer1_Timer() {
    if (run_) run_->Tick();
}

}  // namespace kv
