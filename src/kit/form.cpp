#include "kit/form.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShortcut>

#include "kit/registry.h"
#include "kit/stepper.h"

namespace kv {

FormWindow::FormWindow(const QString& name, const QString& caption)
    : content_(new QWidget(this)), helpPage_(name) {
    setObjectName(name);
    setWindowTitle(caption);
    content_->setObjectName("content");
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

namespace {
constexpr int kWaitLineHeight = 26, kWaitLineMargin = 12;
constexpr int kCornerMargin = 4, kCornerGap = 4, kCornerHeight = 23, kCornerPadding = 16;
// How far down the right edge the corner row may stand before the window grows a strip.
constexpr int kCornerSlide = 72;
}  // namespace

void FormWindow::setContentSize(QSize size) {
    content_->setGeometry(QRect(QPoint(0, 0), size));
    applySize();
}

void FormWindow::applySize() {
    placeCornerRow();
    const QSize size = content_->size();
    const int height = size.height() + (waitLine_ ? kWaitLineHeight : 0);
    if (waitLine_) waitLine_->setGeometry(kWaitLineMargin, size.height(), size.width() - 2 * kWaitLineMargin, kWaitLineHeight);
    setFixedSize(size.width() + stripWidth_, height);
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
    // Every control of the window counts, a hidden one too (it may be shown later); the
    // row's buttons are not in content().
    const auto taken = [this](const QRect& r) {
        if (r.left() < kCornerMargin || r.bottom() >= content_->height()) return true;
        const QRect spot = r.adjusted(-kCornerGap, -kCornerGap, kCornerGap, kCornerGap);
        for (QObject* o : content_->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->geometry().intersects(spot)) return true;
        }
        return false;
    };
    // A row of buttons along the top right often leaves room just below it: the row takes
    // that before the window grows a strip, which could make it too wide for the screen.
    while (taken(row) && row.top() < kCornerSlide) row.translate(0, kCornerGap);
    if (taken(row)) {
        stripWidth_ = rowWidth + 2 * kCornerMargin;
        row.moveTopLeft(QPoint(width + kCornerMargin, kCornerMargin));
    }
    int right = row.right() + 1;
    for (QPushButton* b : corner_) {
        const int w = b->fontMetrics().horizontalAdvance(b->text()) + kCornerPadding;
        b->setGeometry(right - w, row.top(), w, kCornerHeight);
        right -= w + kCornerGap;
    }
}

bool FormWindow::event(QEvent* e) {
    // Controls made after the first corner button, or shown or hidden since, can take its
    // spot: look again before the window is first shown.
    if (e->type() == QEvent::Polish && !corner_.isEmpty()) {
        applySize();
        // Made before every control, the ヘルプ button would take the first turn (and the
        // focus a window opens with); it takes the last one.
        if (auto* help = findChild<QPushButton*>(QStringLiteral("cmdHelp"), Qt::FindDirectChildrenOnly)) {
            QWidget* last = this;
            for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) last = w;
            if (last != help) setTabOrder(last, help);
        }
    }
    return QWidget::event(e);
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

void SteppedForm::Timer1_Timer() {
    if (run_) run_->Tick();
}

}  // namespace kv
