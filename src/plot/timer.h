// The automatic-run timer of a window. Interval 0 means "no ticks" (a bare QTimer with
// interval 0 would fire continuously), and an interval the timer cannot take is refused.
#pragma once

class QLineEdit;
class QObject;
class QString;
class QTimer;
class QWidget;

namespace kv {

// A timer child named "Timer1" that does not tick until an interval is set.
QTimer* MakeTimer1(QObject* owner);

// Sets the interval to `milliseconds` rounded to the nearest integer (halves to even);
// 0 stops the ticks. Outside 0..65535 the previous interval stays and the learner is told
// why (the message box's parent is `owner`). Returns whether the interval was taken.
bool SetTimerInterval(QTimer* timer, double milliseconds, QWidget* owner);

// Starts the ticks at the interval typed in `box`, read with Val: a start button's whole
// work. A box beyond a double is refused naming `boxName`; the previous interval stays.
bool StartTimerFromBox(QTimer* timer, QLineEdit* box, const QString& boxName);

// The interval last taken: 0 when no run is on. A run whose ticks rest for a while (under
// a message box, during a step) keeps its interval.
int TimerInterval(const QTimer* timer);

}  // namespace kv
