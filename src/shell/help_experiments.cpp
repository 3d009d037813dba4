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
    };
    return table;
}

}  // namespace kv::help
