#include "shell/help_experiments.h"

namespace kv::help {

// Each sentence names only values of its own row; the experiment test runs the row as written.
const std::vector<Experiment>& Experiments() {
    static const std::vector<Experiment> table = {
        // Deterministic binary neuron.
        {"frmDecision2Model", "何も変えずに「計算実行」を押すと、S = 0.5×1 + 0.3×0 + 0.2×1 = {=txtS} で θ = 0.5 以上なので、Y = {=txtY} になります。",
         {}, {{"Command1_Click", 1}}, {{"txtS", 0, 0, "0.7"}, {"txtY", 0, 0, "1"}}},
        {"frmDecision2Model", "X3 を {txtX(2)} にすると S = {=txtS} で、ちょうど θ と等しくなります。等しいときも発火して Y = {=txtY} です。",
         {{"txtX(2)", "0"}}, {{"Command1_Click", 1}}, {{"txtS", 0, 0, "0.5"}, {"txtY", 0, 0, "1"}}},
        {"frmDecision2Model", "θ を {txtTheta} に上げると、S = 0.7 が閾値に届かず Y = {=txtY} になります。グラフの段差も右へ動きます。",
         {{"txtTheta", "0.8"}}, {{"Command1_Click", 1}}, {{"txtY", 0, 0, "0"}}},
        {"frmDecision2Model", "ω3 を {txtW(2)}（抑制する重み）にすると、S = {=txtS} に下がり Y = {=txtY} になります。",
         {{"txtW(2)", "-0.2"}}, {{"Command1_Click", 1}}, {{"txtS", 0, 0, "0.3"}, {"txtY", 0, 0, "0"}}},
        // Deterministic analog neuron.
        {"frmDecisionAnalogModel", "何も変えずに「計算実行」を押すと、S − θ = 0.2、αZ = 1 なので Y = 1/(1 + e<sup>−1</sup>) = {=txtY} です。",
         {}, {{"Command1_Click", 1}}, {{"txtY", 0, 0, "0.731058578630005"}}},
        {"frmDecisionAnalogModel", "X3 を {txtX(2)} にして S = θ = 0.5 にすると、Y はちょうど {=txtY} になります。",
         {{"txtX(2)", "0"}}, {{"Command1_Click", 1}}, {{"txtY", 0, 0, "0.5"}}},
        {"frmDecisionAnalogModel", "α を {txtAlfa} にすると曲線が急になり、同じ S でも Y は {<txtY} 以上、ほとんど 1 です。2値モデルの階段に近づきます。",
         {{"txtAlfa", "50"}}, {{"Command1_Click", 1}}, {{"txtY", 0.9999, 1}}},
        {"frmDecisionAnalogModel", "α を {txtAlfa} にすると、S に関係なく Y = {=txtY} になり、グラフは水平な線になります。",
         {{"txtAlfa", "0"}, {"txtW(0)", "2"}}, {{"Command1_Click", 1}}, {{"txtY", 0, 0, "0.5"}}},
        {"frmDecisionAnalogModel", "α を {txtAlfa} にすると曲線が左右反転し、Y は 1 − 0.731… = {<txtY}… になります（S が大きいほど Y が小さい）。",
         {{"txtAlfa", "-5"}}, {{"Command1_Click", 1}}, {{"txtY", 0.268941, 0.268942}}},
        // Stochastic binary neuron.
        {"frmRandom2Model", "何も変えずに「計算実行」を {Command1_Click} 回押すと、P = 0.731 なので、Y = 1 になる割合は {<txtY} から {>txtY} の間に入り、0.731 のまわりにばらつきます（押す回数を増やすほど 0.731 に近づきます）。",
         {}, {{"Command1_Click", 100}}, {{"txtY", 0.5, 0.95, "1", true}}, nullptr, true},
        {"frmRandom2Model", "X3 を {txtX(2)} にして S = θ（P = 0.5）にすると、{Command1_Click} 回のうち Y = 1 の割合は {<txtY} から {>txtY} の間で、0.5 のまわりにばらつきます。",
         {{"txtX(2)", "0"}}, {{"Command1_Click", 100}}, {{"txtY", 0.25, 0.75, "1", true}}, nullptr, true},
        {"frmRandom2Model", "θ を {txtTheta}、α を {txtAlfa} にすると P がちょうど 0 になり、{Command1_Click} 回押しても Y は一度も 1 になりません。",
         {{"txtTheta", "2"}, {"txtAlfa", "1000"}}, {{"Command1_Click", 30}}, {{"txtY", 0, 0, "1", true}}, nullptr, true},
        {"frmRandom2Model", "θ を {txtTheta}、α を {txtAlfa} にすると P は 1 になり、{Command1_Click} 回とも Y = 1 です。",
         {{"txtTheta", "-1"}, {"txtAlfa", "100"}}, {{"Command1_Click", 30}}, {{"txtY", 1, 1, "1", true}}, nullptr, true},
        // Time-evolution neuron.
        {"frmTimeModel", "何も変えずに「計算実行」を押すと、S は 0 から 0.7 へゆっくり近づき、{Timer1_Timer} 回以内のステップで S = {=txtS}、Y = {=txtY} で止まり、「{msg}」と表示されます。",
         {}, {{"Command1_Click", 1}, {"Timer1_Timer", 600}}, {{"txtS", 0, 0, "0.7000"}, {"txtY", 0, 0, "0.731049"}}, "平衡状態に入りました"},
        {"frmTimeModel", "ε を {txtIpsi} にすると、差が1ステップごとに半分になり、{Timer1_Timer} ステップもしないうちに止まります。",
         {{"txtIpsi", "0.5"}}, {{"Command1_Click", 1}, {"Timer1_Timer", 20}}, {{"txtS", 0, 0, "0.7000"}}, "平衡状態に入りました"},
        {"frmTimeModel", "ε を {txtIpsi} にすると、最初のステップで S = {=txtS} と 0.7 を行き過ぎ、その後は行き過ぎと戻りをくり返しながら 0.7 に落ち着きます。",
         {{"txtIpsi", "1.5"}}, {{"Command1_Click", 1}, {"Timer1_Timer", 1}}, {{"txtS", 0, 0, "1.0500"}}},
        {"frmTimeModel", "ε を {txtIpsi} にして「計算実行」を押すと、S が落ち着かない値なので始まらず、「{msg}」と知らされます。",
         {{"txtIpsi", "2"}}, {{"Command1_Click", 1}}, {{"txtS", 0, 0, ""}}, "「ε」には0より大きく2より小さい数を入力してください。"},
        // Feed-forward network.
        {"frmNetworkFeedForward", "何も変えずに「逐次実行」を1回押すと第1層が計算され、S11, S12, S13 = {=txtS(0)}, {=txtS(1)}, {=txtS(2)}、第2層への入力 X21, X22, X23 = {=txtX(3)}, {=txtX(4)}, {=txtX(5)} になります。",
         {}, {{"Command1_Click", 1}},
         {{"txtS(0)", 0, 0, "0.8"}, {"txtS(1)", 0, 0, "0.1"}, {"txtS(2)", 0, 0, "0.6"}, {"txtX(3)", 0, 0, "1"}, {"txtX(4)", 0, 0, "0"}, {"txtX(5)", 0, 0, "1"}}},
        {"frmNetworkFeedForward", "続けて「逐次実行」を合わせて {Command1_Click} 回押すと、信号が3つの層を通り抜け、出力 X41, X42, X43 = {=txtX(9)}, {=txtX(10)}, {=txtX(11)} になります。",
         {}, {{"Command1_Click", 3}}, {{"txtX(9)", 0, 0, "1"}, {"txtX(10)", 0, 0, "0"}, {"txtX(11)", 0, 0, "0"}}},
        {"frmNetworkFeedForward", "{Command1_Click} 回目の「逐次実行」では出力が赤く示されたあと、和と途中の値が消え（S11 の欄は空）、次はまた第1層からになります。",
         {}, {{"Command1_Click", 4}}, {{"txtS(0)", 0, 0, ""}, {"txtX(9)", 0, 0, ""}, {"txtX(0)", 0, 0, "1"}}},
        {"frmNetworkFeedForward", "入力 X11, X12, X13 をすべて {txtX(0)} にして {Command1_Click} 回押すと、どの和も 0 で閾値に届かず、出力は X41, X42, X43 = {=txtX(9)}, {=txtX(10)}, {=txtX(11)} になります。",
         {{"txtX(0)", "0"}, {"txtX(1)", "0"}, {"txtX(2)", "0"}}, {{"Command1_Click", 3}}, {{"txtX(9)", 0, 0, "0"}, {"txtX(10)", 0, 0, "0"}, {"txtX(11)", 0, 0, "0"}}},
        // Recurrent network.
        {"frmNetworkRecurrent", "何も変えずに「逐次実行」を5回（1巡）押すと X1〜X5 = 1, 1, 0, 0, 0 となり、{Command1_Click} 回押しても変わりません。この状態は動かない点（固定点）です。",
         {}, {{"Command1_Click", 15}},
         {{"txtX(0)", 0, 0, "1"}, {"txtX(1)", 0, 0, "1"}, {"txtX(2)", 0, 0, "0"}, {"txtX(3)", 0, 0, "0"}, {"txtX(4)", 0, 0, "0"}, {"txtS(2)", 0, 0, "0.2"}}},
        {"frmNetworkRecurrent", "入力2 を {txtIn(1)}、ω7 を {txtW(7)} にして {Command1_Click} 回（2巡）押すと、1巡目に 1 になった X5 が戻ってユニット2とユニット4を発火させ、X4 = {=txtX(3)}（S4 = {=txtS(3)}）になります。S4 はコンピュータの中では 0.4 よりわずかに小さいのですが、誤差の分だけ許して発火します。",
         {{"txtIn(1)", "0"}, {"txtW(7)", "1"}}, {{"Command1_Click", 10}}, {{"txtX(3)", 0, 0, "1"}, {"txtS(3)", 0, 0, "0.4"}, {"txtX(1)", 0, 0, "1"}}},
        {"frmNetworkRecurrent", "ω0 を {txtW(0)} にして {Command1_Click} 回押すと、ユニット3が発火して X5 が 1 になり、それが戻ることで最後には X1〜X5 がすべて 1 の状態に落ち着きます。",
         {{"txtW(0)", "0.8"}}, {{"Command1_Click", 15}},
         {{"txtX(0)", 0, 0, "1"}, {"txtX(1)", 0, 0, "1"}, {"txtX(2)", 0, 0, "1"}, {"txtX(3)", 0, 0, "1"}, {"txtX(4)", 0, 0, "1"}}},
        // Logic elements.
        {"frmLogicalUnit", "OR の枠の「入力 1」をクリックして 0 にすると、入力が (0, 0) になり、OR の出力は {=txtX(0)} になります。",
         {}, {{"txtIn1_Click(0)", 1}}, {{"txtIn1(0)", 0, 0, "0"}, {"txtX(0)", 0, 0, "0"}}},
        {"frmLogicalUnit", "AND の枠の「入力 2」をクリックして 1 にすると、入力 (1, 1) で S = {=txtS(1)} が θ = 1.5 を超え、AND の出力は {=txtX(1)} になります。",
         {}, {{"TxtIn2_Click(1)", 1}}, {{"txtS(1)", 0, 0, "2"}, {"txtX(1)", 0, 0, "1"}}},
        {"frmLogicalUnit", "EXOR の枠の「入力 2」をクリックして入力を (1, 1) にすると、ユニット A も B も 0 になり、EXOR の出力は {=txtX(4)} です。入力 (1, 0) のときの 1 と比べてみましょう。",
         {}, {{"TxtIn2_Click(2)", 1}}, {{"txtX(2)", 0, 0, "0"}, {"txtX(3)", 0, 0, "0"}, {"txtX(4)", 0, 0, "0"}}},
        {"frmLogicalUnit", "OR の θ を {txtTheta(0)} にして OR の「実行」を押すと、入力 (1, 0) でも出力は {=txtX(0)} になります。両方 1 のときだけ 1 になる、AND と同じ働きに変わりました。",
         {{"txtTheta(0)", "2"}}, {{"Command1_Click(0)", 1}}, {{"txtX(0)", 0, 0, "0"}}},
        // Single-neuron learning.
        {"frmUnitLearning", "「逐次学習」を1回押すと1行目 (0, 1 → 0) の前向きの段階になり、重みがすべて 0 なので y = {=txtOut}、dE/dy = 0.5×(0.5×0.5)×2 = {=txtdEdy} です。",
         {}, {{"Command2_Click", 1}}, {{"txtOut", 0, 0, "0.500000"}, {"txtdEdy", 0, 0, "0.250000"}}},
        {"frmUnitLearning", "もう1回（合わせて {Command2_Click} 回）押すと更新の段階になり、重みは W1 = {=txtW(0)}、W2 = {=txtW(1)}、θ = {=txtW(2)} になります。x1 = 0 の重みは動きません。",
         {}, {{"Command2_Click", 2}}, {{"txtW(0)", 0, 0, "0.000000"}, {"txtW(1)", 0, 0, "-0.125000"}, {"txtW(2)", 0, 0, "-0.125000"}}},
        {"frmUnitLearning", "「逐次学習」を {Command2_Click} 回（1周）押すと、「誤差」に最初の周の誤差の合計が出ます。およそ 1.54 で、{<txtError} と {>txtError} の間です。",
         {}, {{"Command2_Click", 12}}, {{"txtError", 1.5, 1.6}}},
        {"frmUnitLearning", "「一括学習」を押すと（回数 {txtLoop}）、最後の周の誤差は {>txtError} より小さくなります。最初の周の約 1.54 と比べてみましょう。",
         {{"txtLoop", "100"}}, {{"Command5_Click", 1}}, {{"txtError", 0, 0.02}}},
        {"frmUnitLearning", "「一括学習」のあと、訓練データ4行目（1, 3 → 1）の入力をダブルクリックすると、その入力で通常実行され、出力 Y は {<txtOut} 以上、教師信号の 1 に近い値になります。",
         {}, {{"Command5_Click", 1}, {"txtTrain1_DblClick(3)", 1}}, {{"txtOut", 0.98, 1}}},
        // Back-propagation.
        {"frmFeedFowardLearning", "「逐次学習」を {Command2_Click} 回押すと、隠れユニット1の出力 Y = {=txtOut(0)} が水色で出ます。和は +1 なので、表の 1.0 の値 1/(1 + e<sup>−2</sup>) です。",
         {}, {{"Command2_Click", 2}}, {{"txtOut(0)", 0, 0, "0.88080"}}},
        {"frmFeedFowardLearning", "何も変えずに「一括学習」を押すと、{msg} 周目で最大誤差が許容誤差 0.01 を下回って止まり、「最大誤差」には {=txtMaxError} と出ます。",
         {}, {{"Command5_Click", 1}}, {{"txtMaxError", 0, 0, "0.009950"}}, "131"},
        {"frmFeedFowardLearning", "許容誤差を {txtLimitError} にゆるめて「一括学習」を押すと、{msg} 周で止まります（0.01 のときは 131 周）。",
         {{"txtLimitError", "0.05"}}, {{"Command5_Click", 1}}, {}, "12"},
        {"frmFeedFowardLearning", "「一括学習」のあと訓練データ2行目（1, 0, 1 → 1）の入力をダブルクリックすると、その入力で通常実行され、出力 Y は {<txtOut(5)} 以上になります（誤差が 0.01 未満なので 1 との差は 0.1 未満）。",
         {}, {{"Command5_Click", 1}, {"txtTrain1_DblClick(1)", 1}}, {{"txtOut(5)", 0.9, 1}}},
        {"frmFeedFowardLearning", "入力を {txtIn(0)}, {txtIn(1)}, {txtIn(2)} にして「通常実行」を押しても、隠れユニット1の Y は {=txtOut(0)} で、入力が 0 のときと同じです。和 0.96 が表の 1.0 に丸められるためで、本当のシグモイドなら 0.872 になるところです。",
         {{"txtIn(0)", "0.04"}, {"txtIn(1)", "0"}, {"txtIn(2)", "0"}}, {{"Command6_Click", 1}}, {{"txtOut(0)", 0, 0, "0.88080"}}},
    };
    return table;
}

}  // namespace kv::help
