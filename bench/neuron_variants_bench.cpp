#include <benchmark/benchmark.h>

#include <memory>

#include <QLineEdit>

#include "kit/registry.h"
#include "neuron/frmTimeModel.h"

// One timer tick of the time-evolution window: read the boxes, step, write S and Y,
// move the marker. A tiny step size keeps the state from settling, so every tick does the
// same work.
static void BM_TimeModelTick(benchmark::State& state) {
    const std::unique_ptr<kv::frmTimeModel> owned(kv::BuildWindow<kv::frmTimeModel>());
    auto& window = *owned;
    window.findChild<QLineEdit*>("txtIpsi")->setText("1e-9");
    window.Command1_Click();
    for (auto _ : state) window.Timer1_Timer();
}
BENCHMARK(BM_TimeModelTick)->Unit(benchmark::kMicrosecond);
