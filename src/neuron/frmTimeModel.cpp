#include "neuron/frmTimeModel.h"

#include <QLineEdit>
#include <QTimer>

#include "kit/controls.h"
#include "neuron/response_plot.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/timer.h"

namespace kv {

frmTimeModel::frmTimeModel()
    : AnalogWindow("frmTimeModel", QStringLiteral("時間発展モデル"),
                   QStringLiteral("X, ω, α, θの値を変えて，「計算実行」ボタンをクリックしてみよう。")) {
    MakeLabel(this, "Label8", QStringLiteral("ε"), QRect(584, 56, 36, 24), Qt::AlignRight | Qt::AlignVCenter);
    txtIpsi = MakeBox(this, "txtIpsi", "0.02", QRect(624, 56, 80, 24));
    MakeLabel(this, "Label9", QStringLiteral("タイマー"), QRect(544, 88, 76, 24), Qt::AlignRight | Qt::AlignVCenter);
    txtTimer = MakeBox(this, "txtTimer", "50", QRect(624, 88, 80, 24));
    Timer1 = MakeTimer1(this);
    connect(Timer1, &QTimer::timeout, this, &frmTimeModel::Timer1_Timer);
}

void frmTimeModel::Command1_Click() {
    // Everything is read before anything changes: a refused start leaves the plot, the
    // boxes and a run in progress as they were.
    const auto epsilon = ReadVal(txtIpsi, QStringLiteral("ε"));
    if (!epsilon) return;
    if (!neuron::TimeEvolution::StepSizeConverges(*epsilon)) {
        ReportBadBox(txtIpsi, QStringLiteral("「ε」の欄の値「%1」では内部状態 S が平衡に近づきません。"
                                             "0より大きく2より小さい値を入力してください。")
                                  .arg(txtIpsi->text()));
        return;
    }
    if (!ReadTheta(true) || !ReadAlfa(true)) return;
    if (!StartTimerFromBox(Timer1, txtTimer, QStringLiteral("タイマー"))) return;
    DrawResponse();
    model_.Start(*epsilon);
    neuron::XorMarker(*Picture1, model_.StateU());
}

void frmTimeModel::Timer1_Timer() {
    // The timer rests during the step, so no tick comes while one of its messages is open.
    const int interval = TimerInterval(Timer1);
    SetTimerInterval(Timer1, 0, this);
    if (TimeStep()) SetTimerInterval(Timer1, interval, this);
}

bool frmTimeModel::TimeStep() {
    const auto in = ReadInputs();
    if (!in) return false;
    const auto step = model_.Advance(in->s);
    if (!step) {
        MsgBox(this, QStringLiteral("内部状態 S が大きすぎて計算を続けられないため、実行を止めました。X, ω または ε の値を小さくしてください。"));
        return false;
    }
    SetText(txtS, Format(step->Snew, "#0.0000"));
    SetText(txtY, Format(Output(step->Snew, in->theta, in->alpha), "#0.000000"));
    neuron::XorMarker(*Picture1, step->previous);
    neuron::XorMarker(*Picture1, step->Snew);
    if (step->settled) {
        MsgBox(this, QStringLiteral("平衡状態に入りました"));
        return false;
    }
    return true;
}

}  // namespace kv
