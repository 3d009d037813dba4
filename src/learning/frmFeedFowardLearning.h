// Error back-propagation shown operation by operation on a diagram of the 3-5-1 network:
// inputs, weight boxes with their arrows, hidden units, output weights and the output unit,
// with the boxes, lines and arrows of the current operation highlighted.
#pragma once

#include <array>

#include "kit/batch_runner.h"
#include "learning/LearningWindow.h"
#include "learning/backprop_model.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace kv {

class CurveView;
class LineShape;

class frmFeedFowardLearning : public learning::LearningWindow {
    Q_OBJECT
    using Net = learning::BackpropNetwork;

public:
    static constexpr int kWeightBoxes = (Net::kInputs + 1) * Net::kHidden + Net::kHidden + 1;
    static constexpr int kLines = Net::kInputs * Net::kHidden + Net::kHidden;
    static constexpr int kUnits = Net::kHidden + 1;  // the hidden units, then the output unit

    frmFeedFowardLearning();

public slots:
    void Command1_Click() override;
    void Command5_Click() override;
    void txtTrain3_Change(int Index);

private:
    StepResult LearnOneStep(StepBy by) override;

    void BuildDiagram();
    void BuildTrainingFrame();
    void BuildControls();

    // Display procedures, one per operation of the model.
    void ResetColors();
    void ShowPattern(int p);
    void ShowHidden(int h);
    void ShowOutput();
    void ShowError();
    void ShowBackprop();
    void ShowInputWeights(int k);
    void EndPattern();
    void ShowAllWeights();
    // The allowed error as the curve's level line, while its box holds a number.
    void ShowLimit();
    void ShowUnitOutput(int u);
    // kSilent: a box that is not a number yet leaves the outputs as they are, unreported
    // (the run follows each keystroke in a training box).
    enum class Reading { kReport, kSilent };
    void RunOnInputs(Reading reading);
    void NormalRun() override { RunOnInputs(Reading::kReport); }
    bool CopyRow(int p) override;

    Net net_;
    CurveView* curve_ = nullptr;  // the largest pattern error of every pass
    double passMax_ = 0;          // of the pass the step-by-step learning is in
    // The batch holds the thread: the learner waits under the hourglass, and only the
    // progress label is repainted.
    BatchRunner batch_{this, BatchRunner::Events::kHold};

    // The columns txtTrain1 .. txtTrain4, each indexed by pattern.
    std::array<std::array<QLineEdit*, Net::kPatterns>, Net::kInputs + 1> txtTrain{};
    std::array<QLineEdit*, Net::kInputs> txtIn{};
    std::array<QLineEdit*, kWeightBoxes> txtW{};
    std::array<QLabel*, kWeightBoxes> lblArrow{};
    std::array<LineShape*, kLines> LineX{};
    std::array<QLineEdit*, kUnits> txtOut{};
    std::array<QLineEdit*, kUnits> txtBack{};
    QLineEdit* txtLoop = nullptr;
    QLineEdit* txtLimitError = nullptr;
    QLineEdit* txtMaxError = nullptr;
    QLineEdit* txtError = nullptr;
    QLabel* Label5 = nullptr;
};

}  // namespace kv
