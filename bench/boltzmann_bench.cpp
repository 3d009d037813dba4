#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

#include "boltzmann/boltzmann_exec_model.h"
#include "boltzmann/frmBoltzmannMachineExec.h"
#include "floor_ratio.h"
#include "kit/registry.h"
#include "plot/random.h"

namespace {

using kv::boltzmann::BoltzmannExec;

void ExecModelBatch() {
    BoltzmannExec m;
    m.SetWeights(BoltzmannExec::kDefaultWeights);
    benchmark::DoNotOptimize(m.Batch(BoltzmannExec::kMaxCount, 0.5));
}

}  // namespace

// The three-unit machine alone: a batch of 32767 updates at the default temperature.
static void BM_BoltzmannExecModelBatch(benchmark::State& state) {
    kv::SeedRandomForTest(1);
    for (auto _ : state) ExecModelBatch();
}
BENCHMARK(BM_BoltzmannExecModelBatch)->Unit(benchmark::kMicrosecond);

// "一括実行" with 32767 updates as the learner waits for it: the press and the repaint of
// the window, next to the model's batch alone (the floor); the ratio of the medians.
static void BM_BoltzmannExecWindowBatch(benchmark::State& state) {
    const std::unique_ptr<kv::frmBoltzmannMachineExec> owned(kv::BuildWindow<kv::frmBoltzmannMachineExec>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit*>("txtLoop")->setText("32767");
    auto press = [&](int) {
        window.Command1_Click();
        window.repaint();
    };
    for (auto _ : state) press(0);
    state.counters["press/model"] = kv::bench::FloorRatio(press, [](int) { ExecModelBatch(); }, 20);
}
BENCHMARK(BM_BoltzmannExecWindowBatch)->Unit(benchmark::kMicrosecond);
