// Single-neuron learning: the six training patterns at the left, the neuron with its
// inputs, weights, output and error signal at the right, stepped by hand or by the timer,
// or learnt in a batch of passes.
#pragma once

#include <array>
#include <optional>

#include "learning/LearningWindow.h"
#include "learning/unit_learning_model.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kv {

class CurveView;

class frmUnitLearning : public learning::LearningWindow {
    Q_OBJECT
public:
    frmUnitLearning();

public slots:
    void Command1_Click() override;
    void Command5_Click() override;

private:
    static constexpr int kRows = learning::kUnitPatternCount;

    StepResult LearnOneStep(StepBy by) override;
    // Pattern k from its row, or nothing (reported) when a box overflows.
    std::optional<learning::UnitPattern> ReadPattern(int k);
    // The same, silently: nothing when a box holds a number too large for a double.
    std::optional<learning::UnitPattern> PeekPattern(int k) const;
    void NormalRun() override;
    bool CopyRow(int row) override;
    void ReportOverflow(int k);

    // Display procedures.
    void ResetTrainColors();
    void HighlightRow(int k);
    void ShowForward();
    void ShowWeights();
    void ShowError(double errSum);

    void BuildButtons();
    void BuildTrainingFrame();
    void BuildDiagram();
    void BuildCurve();

    learning::UnitLearningModel model_;
    CurveView* curve_ = nullptr;  // the error of every finished pass

    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QLineEdit* txtLoop;
    QGroupBox* Frame1;
    std::array<QLineEdit*, kRows> txtTrain1;
    std::array<QLineEdit*, kRows> txtTrain2;
    std::array<QLineEdit*, kRows> txtTrain3;
    std::array<QLineEdit*, 3> txtIn;
    std::array<QLineEdit*, 3> txtW;
    QLineEdit* txtOut;
    QLineEdit* txtdEdy;
    QLineEdit* txtError;
};

}  // namespace kv
