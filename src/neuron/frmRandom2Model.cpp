#include "neuron/frmRandom2Model.h"

#include "neuron/neuron_model.h"

namespace kv {

frmRandom2Model::frmRandom2Model()
    : AnalogWindow("frmRandom2Model", QStringLiteral("確率的2値モデル"),
                   QStringLiteral("X, ω, θの値を変えて，「計算実行」ボタンをクリックしてみよう。"),
                   QStringLiteral("横軸に重み付き和 S、縦軸に出力が 1 になる確率をとり、しきい値 θ と α で決まるシグモイド関数の曲線を描きます。")) {}

double frmRandom2Model::Output(double s, double theta, double alpha) { return neuron::StochasticOutput(s, theta, alpha); }

}  // namespace kv
