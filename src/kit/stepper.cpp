#include "kit/stepper.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <stdexcept>

#include "kit/accessible.h"
#include "plot/msgbox.h"
#include "plot/timer.h"

namespace kv {

Stepper::Stepper(QWidget* window, QLineEdit* intervalBox, const QString& boxName, StepFunction step)
    : QObject(window), window_(window), box_(intervalBox), boxName_(boxName), step_(std::move(step)) {
    if (!window_ || !box_ || !step_) throw std::logic_error("a stepper needs its window, interval box and step");
    if (box_->toolTip().isEmpty()) box_->setToolTip(QStringLiteral("自動実行で次のステップに進むまでの間隔です（ミリ秒）。"));
    timer_ = MakeTimer1(window_);
    connect(timer_, &QTimer::timeout, this, &Stepper::Tick);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window_);
    escape_->setContext(Qt::WindowShortcut);
    connect(escape_, &QShortcut::activated, this, &Stepper::Stop);
    connect(&MsgBoxes(), &MsgBoxWatch::firstOpened, this, &Stepper::Hold);
    connect(&MsgBoxes(), &MsgBoxWatch::lastClosed, this, &Stepper::Release);
    SyncEscape();
}

bool Stepper::Running() const { return TimerInterval(timer_) != 0; }

bool Stepper::Start() {
    const bool taken = StartTimerFromBox(timer_, box_, boxName_);
    if (stepping_ || MsgBoxOpen()) Hold();  // started from inside a step or under a box
    SyncEscape();
    return taken;
}

void Stepper::Stop() {
    SetTimerInterval(timer_, 0, window_);
    SyncEscape();
    SetWaiting(false);
}

StepResult Stepper::Step() { return Run(StepBy::Hand); }

void Stepper::Tick() {
    if (Running()) Run(StepBy::Timer);
}

StepResult Stepper::Run(StepBy by) {
    if (stepping_ || MsgBoxOpen()) return StepResult::Wait;
    const QPointer<Stepper> alive(this);  // a step's message box lets the window be closed
    stepping_ = true;
    Hold();
    const StepResult result = [&] {
        // A tick's writes keep the pace a reader can follow; a press is heard at once.
        std::optional<RunReports> paced;
        if (by == StepBy::Timer) paced.emplace();
        return step_(by);
    }();
    if (!alive) return result;
    stepping_ = false;
    SetWaiting(by == StepBy::Timer && result == StepResult::Wait);
    if (result == StepResult::Stop) Stop();
    else Release();
    return result;
}

void Stepper::Hold() { timer_->stop(); }

void Stepper::Release() {
    if (stepping_ || MsgBoxOpen() || !Running()) return;
    if (!timer_->isActive()) timer_->start(TimerInterval(timer_));
    SyncEscape();
}

void Stepper::SyncEscape() { escape_->setEnabled(Running()); }

void Stepper::SetWaiting(bool waiting) {
    if (waiting == waiting_) return;
    waiting_ = waiting;
    emit waitingChanged(waiting);
}

}  // namespace kv
