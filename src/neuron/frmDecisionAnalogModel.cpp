#include "neuron/frmDecisionAnalogModel.h"

#include <QPushButton>

#include "kit/controls.h"
#include "kit/registry.h"

namespace kv {

frmDecisionAnalogModel::frmDecisionAnalogModel()
    : AnalogWindow("frmDecisionAnalogModel", QStringLiteral("決定的アナログモデル"),
                   QStringLiteral("X, ω, α, θの値を変えて，「計算実行」ボタンをクリックしてみよう。")) {
    Command2 = MakeButton(content(), "Command2", QStringLiteral("閾値を重みとしてモデル化する方法"), QRect(16, 492, 290, 34), this,
                          &frmDecisionAnalogModel::Command2_Click);
}

void frmDecisionAnalogModel::Command2_Click() { ShowWindow("frmDecisionAnalogModelElse", this); }

}  // namespace kv
