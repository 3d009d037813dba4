#include <benchmark/benchmark.h>

#include <memory>

#include <QLineEdit>
#include <QWidget>

#include "kit/registry.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"

namespace {

// Theta keystrokes alternating between two values, each redrawing the whole plot.
void TypeTheta(benchmark::State& state, QWidget& window) {
    auto* theta = window.findChild<QLineEdit*>("txtTheta");
    int i = 0;
    for (auto _ : state) theta->setText((i++ % 2) ? "0.5" : "-0.75");
}

}  // namespace

// The binary neuron window: a step of a few segments.
static void BM_BinaryNeuronThetaRedraw(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecision2Model> owned(kv::BuildWindow<kv::frmDecision2Model>());
    auto& window = *owned;
    TypeTheta(state, window);
}
BENCHMARK(BM_BinaryNeuronThetaRedraw)->Unit(benchmark::kMicrosecond);

// The analog neuron window: the sigmoid plot of about 4000 segments.
static void BM_SigmoidThetaRedraw(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecisionAnalogModel> owned(kv::BuildWindow<kv::frmDecisionAnalogModel>());
    auto& window = *owned;
    TypeTheta(state, window);
}
BENCHMARK(BM_SigmoidThetaRedraw)->Unit(benchmark::kMillisecond);
