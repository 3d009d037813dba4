// The recurrent network of binary units drawn as a diagram: two inputs, five units updated
// one per step in the order 1, 2, 3, 4, 5, 1, ..., and the last unit's output fed back
// into units 2 and 4; each step colours what takes part in the update.
#pragma once

#include <array>
#include <optional>

#include "kit/form.h"
#include "kit/stepper.h"
#include "network/recurrent_model.h"

class QLabel;
class QLineEdit;

namespace kv {

class LineShape;
class ShapeWidget;

class frmNetworkRecurrent : public SteppedForm {
    Q_OBJECT
    using Net = network::RecurrentNetwork;

public:
    static constexpr int kArrows = 14;
    static constexpr int kFeedbackLines = 6;

    frmNetworkRecurrent();

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    void BuildUnits();
    void BuildWeights();
    void BuildFeedback();
    void BuildControls();

    // One update of the next unit. An update that cannot be computed changes nothing; a
    // press says why and ends the run. A tick sets `wait` (the next tick tries again) for a
    // box beyond a double, and for a sum beyond one while the learner types in a box of that
    // sum; otherwise it too says why and ends the run.
    StepResult UnitStep(StepBy by);
    std::optional<Net::Unit> ReadUnit(int u, StepBy by, bool* wait);

    // Display procedures.
    void ClearMarks();
    void MarkUnit(int u);
    void ShowUnit(int u, const Net::Unit& unit);
    void ResetFeedback();

    QLineEdit* Box(Net::Value v, int index) const;

    Net net_;

    std::array<QLineEdit*, Net::kInputs> txtIn{};
    std::array<QLineEdit*, Net::kUnits> txtS{};
    std::array<QLineEdit*, Net::kUnits> txtTheta{};
    std::array<QLineEdit*, Net::kUnits> txtX{};
    std::array<QLineEdit*, Net::kWeights> txtW{};
    std::array<QLabel*, kArrows> lblArrow{};
    std::array<LineShape*, kFeedbackLines> Line1{};
    std::array<ShapeWidget*, Net::kUnits> Shape1{};
    QLineEdit* Text1 = nullptr;
};

}  // namespace kv
