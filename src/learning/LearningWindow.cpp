#include "learning/LearningWindow.h"

#include <QLineEdit>

#include "kit/controls.h"

namespace kv::learning {

LearningWindow::LearningWindow(const QString& name, const QString& caption, QRect timerBox) {
    setObjectName(name);
    setWindowTitle(caption);
    Text1 = MakeBox(this, "Text1", "50", timerBox);
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy) {
        return LearnOneStep() ? StepResult::Continue : StepResult::Stop;
    });
}

void LearningWindow::Command2_Click() { run_->Step(); }

void LearningWindow::Command3_Click() { run_->Start(); }

void LearningWindow::Command4_Click() { run_->Stop(); }

void LearningWindow::Timer1_Timer() { run_->Tick(); }

}  // namespace kv::learning
