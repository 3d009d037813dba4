// The feed-forward network of binary units drawn as a diagram of boxes, circles and lines,
// three layers of three units read left to right; each step computes one layer and colours
// what takes part, the fourth shows the outputs and clears the states.
#pragma once

#include <array>
#include <optional>

#include "kit/form.h"
#include "kit/stepper.h"
#include "network/feedforward_model.h"

class QLineEdit;

namespace kv {

class LineShape;
class ShapeWidget;

class frmNetworkFeedForward : public SteppedForm {
    Q_OBJECT
    using Net = network::FeedForwardNetwork;

public:
    static constexpr int kUnitCount = Net::kLayers * Net::kUnits;  // 9 units, 9 boxes of each kind

    frmNetworkFeedForward();

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void BuildLayer(int L);
    void BuildControls();

    // One step: a layer, or the outputs. A layer that cannot be computed changes nothing; a
    // press says why and ends the run. A tick sets `wait` (the next tick tries again) for a
    // box beyond a double, and for a sum beyond one while the learner types in a box of that
    // sum; otherwise it too says why and ends the run.
    StepResult LayerStep(StepBy by);
    std::optional<Net::Layer> ReadLayer(int L, StepBy by, bool* wait);
    // Whether the sum of unit m of layer L reads the box that has the keyboard focus.
    bool SumReadsFocus(int L, int m) const;

    // Display procedures.
    void ResetColors();
    void ShowLayer(int L, const Net::Layer& layer);
    void ShowOutputs();
    void ClearStates();

    QLineEdit* Box(Net::Value v, int k) const;

    Net net_;

    std::array<QLineEdit*, Net::kInputs> txtX{};
    std::array<QLineEdit*, kUnitCount> txtS{};
    std::array<QLineEdit*, kUnitCount> txtTheta{};
    std::array<QLineEdit*, kUnitCount> txtOmega0{};  // upward
    std::array<QLineEdit*, kUnitCount> txtOmega1{};  // straight
    std::array<QLineEdit*, kUnitCount> txtOmega2{};  // downward
    std::array<LineShape*, kUnitCount> Line3{};      // upward
    std::array<LineShape*, kUnitCount> Line1{};      // straight
    std::array<LineShape*, kUnitCount> Line2{};      // downward
    std::array<ShapeWidget*, kUnitCount> Shape1{};
    QLineEdit* Text1 = nullptr;
};

}  // namespace kv
