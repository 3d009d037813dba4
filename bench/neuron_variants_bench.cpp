#include <benchmark/benchmark.h>

#include <QLineEdit>

#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmTimeModel.h"

// One theta keystroke of the analog neuron window: the sigmoid plot of about 4000
// segments is redrawn.
static void BM_SigmoidThetaRedraw(benchmark::State& state) {
    kv::frmDecisionAnalogModel window;
    auto* theta = window.findChild<QLineEdit*>("txtTheta");
    int i = 0;
    for (auto _ : state) theta->setText((i++ % 2) ? "0.5" : "-0.75");
}
BENCHMARK(BM_SigmoidThetaRedraw)->Unit(benchmark::kMillisecond);

// One timer tick of the time-evolution window: read the boxes, step, write S and Y,
// move the marker. A tiny step size keeps the state from settling, so every tick does the
// same work.
static void BM_TimeModelTick(benchmark::State& state) {
    kv::frmTimeModel window;
    window.findChild<QLineEdit*>("txtIpsi")->setText("1e-9");
    window.Command1_Click();
    for (auto _ : state) window.Timer1_Timer();
}
BENCHMARK(BM_TimeModelTick)->Unit(benchmark::kMicrosecond);
