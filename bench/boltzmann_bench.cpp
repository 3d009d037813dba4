#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

#include "../tests/boltzmann/reference_learning.h"
#include "boltzmann/boltzmann_exec_model.h"
#include "boltzmann/boltzmann_learning_model.h"
#include "boltzmann/frmBoltzmannMachineExec.h"
#include "boltzmann/frmBoltzmannMachineLearning.h"
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

// ---- The ten-unit machine's learning ----

namespace {

using kv::boltzmann::BoltzmannLearning;

// The default batch learning from cleared weights: 5000 iterations of 400 sweeps in each
// of the two phases, then the execution check.
void LearningModelBatch() {
    kv::SeedRandomForTest(7);
    BoltzmannLearning m;
    m.InitialiseLearning(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) {
        m.SetNumOfLearn(n);
        m.LearnIteration();
    }
    benchmark::DoNotOptimize(m.ExecutionCheck());
}

// The same iterations written straight from the description: dense net inputs, every pair
// tallied at every sweep.
void ReferenceBatch() {
    kv::SeedRandomForTest(7);
    kv::boltzmann::reference::Machine m(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) m.LearnIteration();
    benchmark::DoNotOptimize(m.w);
}

}  // namespace

static void BM_BoltzmannLearningModelBatch(benchmark::State& state) {
    for (auto _ : state) LearningModelBatch();
    state.counters["reference/model"] =
        kv::bench::FloorRatio([](int) { ReferenceBatch(); }, [](int) { LearningModelBatch(); }, 9);
}
BENCHMARK(BM_BoltzmannLearningModelBatch)->Unit(benchmark::kMillisecond)->Iterations(3);

// "一括学習" with the defaults as the learner waits for it (debug and step display off):
// the press until the window is repainted with the check's results, next to the model's
// batch alone.
static void BM_BoltzmannLearningWindowBatch(benchmark::State& state) {
    const std::unique_ptr<kv::frmBoltzmannMachineLearning> owned(kv::BuildWindow<kv::frmBoltzmannMachineLearning>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    auto press = [&](int) {
        window.Command3_Click();
        window.repaint();
    };
    for (auto _ : state) press(0);
    state.counters["press/model"] = kv::bench::FloorRatio(press, [](int) { LearningModelBatch(); }, 9);
}
BENCHMARK(BM_BoltzmannLearningWindowBatch)->Unit(benchmark::kMillisecond)->Iterations(3);
