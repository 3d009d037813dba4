#include "neuron/frmTimeModel.h"

#include <QLineEdit>

#include <cmath>

#include "core/kernels.h"
#include "kit/accessible.h"
#include "kit/controls.h"
#include "neuron/response_plot.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {

frmTimeModel::frmTimeModel()
    : AnalogWindow("frmTimeModel", QStringLiteral("時間発展モデル"),
                   QStringLiteral("X, ω, α, θの値を変えて，「計算実行」ボタンをクリックしてみよう。"),
                   QStringLiteral("横軸に内部状態 S、縦軸に出力 Y をとってシグモイド関数の応答曲線を描き、実行中は今の内部状態 S の位置を縦線で示します。")) {
    QWidget* c = content();
    txtIpsi = MakeLabelledBox(c, "Label8", QStringLiteral("ε"), QRect(584, 56, 36, 24), "txtIpsi", "0.02", QRect(624, 56, 80, 24));
    txtTimer = MakeLabelledBox(c, "Label9", QStringLiteral("タイマー"), QRect(544, 88, 76, 24), "txtTimer", "50", QRect(624, 88, 80, 24));
    // Here S is the internal state, which moves towards the weighted sum tick by tick.
    Describe(txtS, QStringLiteral("内部状態 S"), QStringLiteral("実行中に重み付き和へ少しずつ近づいていく内部状態です。"));
    DescribeControls(c, {{"txtIpsi", QStringLiteral("変化の割合"), QStringLiteral("1 回の時間ステップで内部状態 S が重み付き和に近づく割合（0 より大きく 2 より小さい値）を入れます。")}});
    run_ = new Stepper(this, txtTimer, QStringLiteral("タイマー"), [this](StepBy) { return TimeStep(); });
    showWaitsOf(run_);
}

void frmTimeModel::Command1_Click() {
    // Everything is read before anything changes: a refused start leaves the plot, the
    // boxes and a run in progress as they were. The inputs are read here too, so that a
    // box the run cannot use is reported by the button rather than found by a tick.
    // Outside 0 < ε < 2 the internal state S would never settle.
    const auto epsilon = ReadInRange(txtIpsi, QStringLiteral("ε"), Open(neuron::TimeEvolution::kMinStepSize, neuron::TimeEvolution::kMaxStepSize));
    if (!epsilon) return;
    if (!ReadInputs()) return;
    if (!run_->Start()) return;
    markerShown_ = false;  // the fresh plot drops the old marker
    DrawResponse();
    model_.Start(*epsilon);
    neuron::XorMarker(*Picture1, model_.StateU());
    markerShown_ = true;
}

void frmTimeModel::DrawOverResponse() {
    if (markerShown_) neuron::XorMarker(*Picture1, model_.StateU());
}

void frmTimeModel::Timer1_Timer() { run_->Tick(); }

std::optional<neuron::AnalogWindow::Inputs> frmTimeModel::PeekInputs() const {
    double x[kInputs], w[kInputs];
    for (int j = 0; j < kInputs; ++j) {
        const auto xv = StrictNumber(txtX[j]->text().toStdString());
        const auto wv = StrictNumber(txtW[j]->text().toStdString());
        if (!xv || !wv) return std::nullopt;
        x[j] = *xv;
        w[j] = *wv;
    }
    const auto theta = PeekVal(txtTheta);
    const auto alpha = PeekVal(txtAlfa);
    if (!theta || !alpha) return std::nullopt;
    return Inputs{WeightedSum(x, w), *theta, *alpha};
}

StepResult frmTimeModel::TimeStep() {
    // X, ω, θ and α may be retyped during the run: a tick reads them silently and waits
    // while one of them is not a number yet.
    const auto in = PeekInputs();
    if (!in) return StepResult::Wait;
    // Each message below ends the run, so the run is stopped before the box shows.
    if (!std::isfinite(in->s)) {
        run_->Stop();
        ReadWeightedSum();  // every box reads, so this only reports the sum beyond a double
        return StepResult::Stop;
    }
    const auto step = model_.Advance(in->s);
    if (!step) {
        run_->Stop();
        MsgBox(this, QStringLiteral("内部状態 S が大きすぎて計算を続けられないため、実行を止めました。X, ω または ε の値を小さくしてください。"));
        return StepResult::Stop;
    }
    SetText(txtS, Format(step->Snew, kFixed4));
    SetText(txtY, Format(Output(step->Snew, in->theta, in->alpha), kFixed6));
    neuron::XorMarker(*Picture1, step->previous);
    neuron::XorMarker(*Picture1, step->Snew);
    if (step->settled) {
        run_->Stop();
        MsgBox(this, QStringLiteral("平衡状態に入りました"));
        return StepResult::Stop;
    }
    return StepResult::Continue;
}

}  // namespace kv
