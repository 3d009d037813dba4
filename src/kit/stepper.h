// The stepping machine of every window that steps a model by hand and on Timer1: it owns
// Timer1 and the interval box the start button reads, and keeps one rule for all of them.
// The ticks rest while a step runs and while any message box of the program is open, and
// come again afterwards if the run is still on. In the active window F5 presses the step
// button, F6 the start button and Escape the stop button while a run is on (or, during the
// window's batch, the batch's cancel button); a key does what pressing its button does, and
// nothing when the button is disabled or hidden or a message box is open.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;
class QShortcut;
class QTimer;
class QWidget;

namespace kv {

// What a step tells the machine.
enum class StepResult {
    Continue,  // done; the run goes on
    Wait,      // a box the step needs cannot be read yet (the learner is typing): nothing was
               // done or said, the next tick tries again
    Stop,      // the run is over (settled, or refused with a message)
};

// Who asked for the step: a button press may report an unreadable box, a tick must not.
enum class StepBy { Hand, Timer };

class BatchRunner;

// The buttons the keys press, by object name; a window without one leaves it empty and
// ignores its key (Escape then stops a run itself).
struct RunKeys {
    QString step = {};    // F5
    QString start = {};   // F6
    QString stop = {};    // Escape while a run is on
    QString cancel = {};  // Escape while `batch` runs
    const BatchRunner* batch = nullptr;
};

class Stepper : public QObject {
    Q_OBJECT
public:
    using StepFunction = std::function<StepResult(StepBy)>;

    // Makes Timer1 on `window` (interval 0: no run). `intervalBox` holds the milliseconds
    // between ticks, read with Val and named `boxName` in messages; a window without one is
    // a programming error and throws std::logic_error here.
    Stepper(QWidget* window, QLineEdit* intervalBox, const QString& boxName, StepFunction step);

    // A run is on, though its ticks may be resting.
    bool Running() const;
    QTimer* timer() const { return timer_; }
    // Binds the keys to the window's buttons, and names each key in its button's tooltip. A
    // name that is not a button of the window is a programming error (std::logic_error).
    void setKeys(const RunKeys& keys);

signals:
    // A tick waits for a box the learner is typing (true), or the run moved on or stopped.
    void waitingChanged(bool waiting);

public slots:
    // The start button: the ticks come at the interval in the box. A box that cannot be
    // used is reported and the previous run, if any, goes on. Returns whether the interval
    // was taken (an interval of 0 is taken, and means no run).
    bool Start();
    // The stop button, Escape, or a step that ends the run before it shows its message.
    void Stop();
    // A step by hand (the step button); a step that stops ends the run too.
    StepResult Step();
    // A tick of Timer1: one step, unless a step or a message box is in progress.
    void Tick();

private:
    StepResult Run(StepBy by);
    void Hold();
    void Release();
    void SyncEscape();
    void SetWaiting(bool waiting);
    void Escape();
    QPushButton* Button(const QString& name, const QString& key) const;

    QWidget* window_;
    QLineEdit* box_;
    QString boxName_;
    StepFunction step_;
    QTimer* timer_;
    QShortcut* escape_;
    QPushButton* stopButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    const BatchRunner* batch_ = nullptr;
    bool stepping_ = false;
    bool waiting_ = false;
};

}  // namespace kv
