// Logic gates made of binary units: the OR and AND units and the two-layer EXOR network,
// stacked in three frames. A click on an input box toggles it between 0 and 1 and
// recomputes all three circuits.
#pragma once

#include <QHash>
#include <QString>

#include <array>
#include <optional>

#include "kit/form.h"
#include "logic/logic_model.h"

class QGroupBox;
class QLineEdit;
class QPoint;

namespace kv {

class frmLogicalUnit : public FormWindow {
    Q_OBJECT

public:
    static constexpr int kFrames = 3;  // OR, AND, EXOR
    static constexpr int kUnits = 5;   // OR, AND, EXOR hidden A, EXOR hidden B, EXOR output

    frmLogicalUnit();

public slots:
    void Command1_Click(int Index);
    void Command2_Click();
    void txtIn1_Click(int Index);
    void TxtIn2_Click(int Index);

private:
    void BuildGate(int i);
    void BuildExor();
    // The parts every unit is drawn with: its circle holding S over theta.
    void BuildUnitBody(QWidget* frame, int u, QPoint centre);
    // What messages call a box; the box is read out by that name too, as its label alone
    // ("入力 1", "θ"), or the frame that is all a weight has, does not say which one it is.
    void NameLabelled(QLineEdit* box, const QString& name);
    QPoint Arrow(QWidget* frame, QPoint at);
    void Connect(QWidget* frame, QPoint from, QPoint to);

    // Computing. Each returns whether it could; a press (`report`) is told why not, and a
    // circuit that cannot be computed shows no result.
    bool ComputeGate(int i, bool report);
    bool ComputeExor(bool report);
    void ToggleAndRecompute(QLineEdit* box);
    std::optional<logic::UnitResult> ComputeUnit(int u, QLineEdit* x1, QLineEdit* x2, QLineEdit* w1, QLineEdit* w2, bool report);
    // Val of the box; beyond a double it gives nothing, with a message naming the box on a press.
    std::optional<double> Read(QLineEdit* box, bool report);
    void ShowUnit(int u, const logic::UnitResult& r);
    void ClearUnit(int u);

    std::array<QGroupBox*, kFrames> Frame1{};
    std::array<QLineEdit*, kFrames> txtIn1{};
    std::array<QLineEdit*, kFrames> TxtIn2{};
    std::array<QLineEdit*, kUnits> txtW1{};
    std::array<QLineEdit*, kUnits> txtW2{};
    std::array<QLineEdit*, kUnits> txtTheta{};
    std::array<QLineEdit*, kUnits> txtS{};
    std::array<QLineEdit*, kUnits> txtX{};
    QHash<const QLineEdit*, QString> names_;  // what a message calls each box
    int arrows_ = 0, lines_ = 0;              // numbering of the decoration labels and lines
};

}  // namespace kv
