#include "learning/LearningWindow.h"

#include <QLineEdit>

#include "kit/controls.h"

namespace kv::learning {

LearningWindow::LearningWindow(const QString& name, const QString& caption, QRect timerBox)
    : SteppedForm(name, caption) {
    Text1 = MakeBox(content(), "Text1", "50", timerBox);
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return LearnOneStep(by); });
    showWaitsOf(run_);
    setRunKeys({.step = "Command2", .start = "Command3", .stop = "Command4"});
}

void LearningWindow::Form_Load() { Command1_Click(); }

void LearningWindow::Command2_Click() { run_->Step(); }

void LearningWindow::Command3_Click() { run_->Start(); }

void LearningWindow::Command4_Click() { run_->Stop(); }

void LearningWindow::Command6_Click() { NormalRun(); }

void LearningWindow::txtTrain1_DblClick(int Index) {
    if (CopyRow(Index)) NormalRun();
}

void LearningWindow::txtTrain2_DblClick(int Index) { txtTrain1_DblClick(Index); }

}  // namespace kv::learning
