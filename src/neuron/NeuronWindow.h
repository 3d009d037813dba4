// What every neuron window shares: the neuron diagram (three inputs with their weights
// running into the neuron, S and theta inside it, Y to its right), the instruction, the
// compute button, the response plot and the formula S = sum w_j X_j.
#pragma once

#include <QRect>

#include <optional>

#include "kit/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv {
class PlotSurface;
}

namespace kv::neuron {

class NeuronWindow : public FormWindow {
    Q_OBJECT
public:
    static constexpr int kInputs = 3;

public slots:
    virtual void Form_Load();
    virtual void Command1_Click();
    void txtTheta_Change();

protected:
    // `plotDescription` tells a screen reader what the plot draws.
    NeuronWindow(const QString& name, const QString& caption, const QString& instruction, const QString& plotDescription);

    // Computes and writes the results; false when a box could not be read (nothing written).
    virtual bool Compute() = 0;
    virtual void DrawResponse() = 0;

    // The weighted sum of the boxes (strict conversion). Reports the first box that holds
    // no number, puts the focus on it, and gives nothing; a sum beyond a double is refused
    // with a message too.
    std::optional<double> ReadWeightedSum();
    // Val of the theta box; a number too large for a double gives nothing (reported only
    // when `report` is set, so typing is not interrupted).
    std::optional<double> ReadTheta(bool report);

    // Where windows put their own formula lines (below the sum formula).
    static constexpr int kFormulaTop = 372;

    QLineEdit* txtX[kInputs];
    QLineEdit* txtW[kInputs];
    QLineEdit* txtTheta;
    QLineEdit* txtS;
    QLineEdit* txtY;
    QPushButton* Command1;
    QLabel* Label6;
    PlotSurface* Picture1;
};

}  // namespace kv::neuron
