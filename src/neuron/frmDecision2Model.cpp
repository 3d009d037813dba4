#include "neuron/frmDecision2Model.h"

#include <QLineEdit>

#include "core/kernels.h"
#include "kit/controls.h"
#include "neuron/response_plot.h"
#include "plot/numtext.h"

namespace kv {

frmDecision2Model::frmDecision2Model()
    : NeuronWindow("frmDecision2Model", QStringLiteral("決定的2値モデル"),
                   QStringLiteral("X, ω, θの値を変えて，「計算実行」ボタンをクリックしてみよう。"),
                   QStringLiteral("横軸に重み付き和 S、縦軸に出力 Y をとり、S がしきい値 θ に達すると 0 から 1 に変わる階段状の応答を描きます。")) {
    MakeFramedLabel(content(), "Label5(2)", QStringLiteral("S≧θ\u3000のとき\u3000Y＝1"), QRect(16, kFormulaTop, 240, 32));
    MakeFramedLabel(content(), "Label5(3)", QStringLiteral("S＜θ\u3000のとき\u3000Y＝0"), QRect(16, kFormulaTop + 44, 240, 32));
}

bool frmDecision2Model::Compute() {
    const auto s = ReadWeightedSum();
    if (!s) return false;
    const auto theta = ReadTheta(true);
    if (!theta) return false;
    SetText(txtS, GeneralText(*s));
    SetText(txtY, GeneralText(StepOutput(*s, *theta)));
    return true;
}

void frmDecision2Model::DrawResponse() {
    // A theta beyond a double cannot be drawn; the previous plot stays.
    if (const auto theta = ReadTheta(false)) neuron::DrawStepResponse(*Picture1, *theta);
}

}  // namespace kv
