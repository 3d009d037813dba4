#include "kit/stepper.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <stdexcept>

#include "kit/accessible.h"
#include "kit/batch_runner.h"
#include "plot/msgbox.h"
#include "plot/timer.h"

namespace kv {
namespace {

QShortcut* WindowKey(QWidget* window, QKeySequence key) {
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);  // a held key presses once, as a held button does
    return shortcut;
}

// What a click on the button does, when the learner could click it now.
void Press(QPushButton* button) {
    if (button && button->isEnabled() && button->isVisible() && !MsgBoxOpen()) button->click();
}

}  // namespace

Stepper::Stepper(QWidget* window, QLineEdit* intervalBox, const QString& boxName, StepFunction step)
    : QObject(window), window_(window), box_(intervalBox), boxName_(boxName), step_(std::move(step)) {
    if (!window_ || !box_ || !step_) throw std::logic_error("a stepper needs its window, interval box and step");
    if (box_->toolTip().isEmpty()) box_->setToolTip(QStringLiteral("自動実行で次のステップに進むまでの間隔です（ミリ秒）。"));
    timer_ = MakeTimer1(window_);
    connect(timer_, &QTimer::timeout, this, &Stepper::Tick);
    escape_ = WindowKey(window_, QKeySequence(Qt::Key_Escape));
    connect(escape_, &QShortcut::activated, this, &Stepper::Escape);
    connect(&MsgBoxes(), &MsgBoxWatch::firstOpened, this, &Stepper::Hold);
    connect(&MsgBoxes(), &MsgBoxWatch::lastClosed, this, &Stepper::Release);
    SyncEscape();
}

bool Stepper::Running() const { return TimerInterval(timer_) != 0; }

QPushButton* Stepper::Button(const QString& name, const QString& key) const {
    if (name.isEmpty()) return nullptr;
    auto* button = window_->findChild<QPushButton*>(name);
    if (!button) throw std::logic_error("a run key names a button the window does not have");
    button->setToolTip(QStringLiteral("%1 キー").arg(key));
    return button;
}

void Stepper::setKeys(const RunKeys& keys) {
    for (auto [name, key] : {std::pair(keys.step, Qt::Key_F5), std::pair(keys.start, Qt::Key_F6)})
        if (QPushButton* button = Button(name, QKeySequence(key).toString())) {
            const QPointer<QPushButton> pressed(button);
            connect(WindowKey(window_, QKeySequence(key)), &QShortcut::activated, this, [pressed] { Press(pressed); });
        }
    stopButton_ = Button(keys.stop, QStringLiteral("Esc"));
    cancelButton_ = Button(keys.cancel, QStringLiteral("Esc"));
    batch_ = keys.batch;
    SyncEscape();
}

void Stepper::Escape() {
    if (batch_ && batch_->running() && cancelButton_) {
        Press(cancelButton_);
    } else if (Running()) {
        if (stopButton_) Press(stopButton_);
        else if (!MsgBoxOpen()) Stop();
    }
}

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

// Escape is left to the focused control while it has nothing to press.
void Stepper::SyncEscape() { escape_->setEnabled(Running() || (batch_ && cancelButton_)); }

void Stepper::SetWaiting(bool waiting) {
    if (waiting == waiting_) return;
    waiting_ = waiting;
    emit waitingChanged(waiting);
}

}  // namespace kv
