#include "neuron/AnalogWindow.h"

#include <QLineEdit>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/formula.h"
#include "neuron/neuron_model.h"
#include "neuron/response_plot.h"
#include "plot/input.h"
#include "plot/numtext.h"

namespace kv::neuron {

void AddSigmoidFormula(QWidget* parent, QPoint at) {
    MakeFormulaLabel(parent, "Label5(3)", QStringLiteral("sigmoid(Z) ="), QRect(at, QSize(120, 30)));
    const int barLeft = at.x() + 126, barRight = barLeft + 80, barY = at.y() + 15;
    MakeFormulaLabel(parent, "Label5(4)", "1", QRect(barLeft, barY - 28, barRight - barLeft, 26), Qt::AlignCenter);
    new LineShape(parent, "Line7", QPoint(barLeft, barY), QPoint(barRight, barY));
    MakeFormulaLabel(parent, "Label5(5)", "1 + e", QRect(barLeft + 8, barY + 4, 48, 26), Qt::AlignRight | Qt::AlignVCenter);
    MakeIndexLabel(parent, "Label5(6)", "-αZ", QRect(barLeft + 57, barY + 1, 30, 16));
}

AnalogWindow::AnalogWindow(const QString& name, const QString& caption, const QString& instruction, const QString& plotDescription)
    : NeuronWindow(name, caption, instruction, plotDescription) {
    QWidget* c = content();
    txtAlfa = MakeLabelledBox(c, "Label10", QStringLiteral("α"), QRect(521, 186, 16, 24), "txtAlfa", "5", QRect(539, 186, 80, 24),
                              Qt::AlignLeft | Qt::AlignVCenter);
    DescribeControls(c, {{"txtAlfa", QStringLiteral("ゲイン"), QStringLiteral("シグモイド関数の傾きを決めるゲインを入れます。")}});
    MakeFormulaLabel(c, "Label5(2)", QStringLiteral("Y = sigmoid( S - θ)"), QRect(16, kFormulaTop, 240, 30));
    AddSigmoidFormula(c, QPoint(16, kFormulaTop + 56));
}

bool AnalogWindow::Compute() {
    const auto in = ReadInputs();
    if (!in) return false;
    SetText(txtS, GeneralText(in->s));
    SetText(txtY, GeneralText(Output(in->s, in->theta, in->alpha)));
    return true;
}

void AnalogWindow::DrawResponse() {
    const auto theta = ReadTheta(false);
    const auto alpha = ReadAlfa(false);
    if (!theta || !alpha) return;
    DrawSigmoidResponse(*Picture1, *theta, *alpha);
    DrawOverResponse();
}

double AnalogWindow::Output(double s, double theta, double alpha) { return AnalogOutput(s, theta, alpha); }

std::optional<double> AnalogWindow::ReadAlfa(bool report) {
    return report ? ReadVal(txtAlfa, QStringLiteral("α")) : PeekVal(txtAlfa);
}

std::optional<AnalogWindow::Inputs> AnalogWindow::ReadInputs() {
    const auto s = ReadWeightedSum();
    if (!s) return std::nullopt;
    const auto theta = ReadTheta(true);
    if (!theta) return std::nullopt;
    const auto alpha = ReadAlfa(true);
    if (!alpha) return std::nullopt;
    return Inputs{*s, *theta, *alpha};
}

}  // namespace kv::neuron
