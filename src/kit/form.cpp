#include "kit/form.h"

#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QShortcut>

#include "kit/stepper.h"
#include "kit/tab_chain.h"

namespace kv {

FormWindow::FormWindow(const QString& name, const QString& caption) : content_(new QWidget(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    content_->setObjectName("content");
    // Ctrl+W does what the close box does, the end of the program on the last window included.
    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    close->setContext(Qt::WindowShortcut);
    close->setAutoRepeat(false);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

// The whole window, not only content(): what the form adds around the content takes its turn too.
void FormWindow::finishBuilding() { ArrangeTabChain(this, tabFlow_); }

namespace {
constexpr int kWaitLineHeight = 26, kWaitLineMargin = 12;
}  // namespace

void FormWindow::setContentSize(QSize size) {
    content_->setGeometry(QRect(QPoint(0, 0), size));
    applySize();
}

void FormWindow::applySize() {
    const QSize size = content_->size();
    if (!waitLine_) {
        setFixedSize(size);
        return;
    }
    waitLine_->setGeometry(kWaitLineMargin, size.height(), size.width() - 2 * kWaitLineMargin, kWaitLineHeight);
    setFixedSize(size.width(), size.height() + kWaitLineHeight);
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
