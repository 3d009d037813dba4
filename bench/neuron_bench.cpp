#include <benchmark/benchmark.h>

#include <QLineEdit>

#include "neuron/frmDecision2Model.h"

// One theta keystroke of the binary neuron window: the whole response plot is redrawn.
static void BM_BinaryNeuronThetaRedraw(benchmark::State& state) {
    kv::frmDecision2Model window;
    auto* theta = window.findChild<QLineEdit*>("txtTheta");
    int i = 0;
    for (auto _ : state) theta->setText((i++ % 2) ? "0.5" : "-0.75");
}
BENCHMARK(BM_BinaryNeuronThetaRedraw)->Unit(benchmark::kMicrosecond);
