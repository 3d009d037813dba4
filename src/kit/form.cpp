#include "kit/form.h"

#include <QLayout>

#include "kit/stepper.h"

namespace kv {

FormWindow::FormWindow(const QString& name, const QString& caption) : content_(new QWidget(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    content_->setObjectName("content");
}

void FormWindow::setContentSize(QSize size) {
    content_->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);
}

void FormWindow::fitContent() {
    if (QLayout* l = content_->layout()) l->activate();
    setContentSize(content_->sizeHint());
}

void SteppedForm::Timer1_Timer() {
    if (run_) run_->Tick();
}

}  // namespace kv
