#include "learning/LearningWindow.h"

#include <QLineEdit>
#include <QTimer>

#include "plot/timer.h"

namespace kv::learning {

LearningWindow::LearningWindow(const QString& name, const QString& caption) {
    setObjectName(name);
    setWindowTitle(caption);
    Timer1 = MakeTimer1(this);
    connect(Timer1, &QTimer::timeout, this, &LearningWindow::Timer1_Timer);
}

void LearningWindow::Command2_Click() { LearnOneStep(); }

void LearningWindow::Command3_Click() { StartTimerFromBox(Timer1, Text1, QStringLiteral("タイマー")); }

void LearningWindow::Command4_Click() { SetTimerInterval(Timer1, 0, this); }

void LearningWindow::Timer1_Timer() {
    if (!LearnOneStep()) SetTimerInterval(Timer1, 0, this);
}

}  // namespace kv::learning
