#include <benchmark/benchmark.h>

#include <memory>

#include <QMetaObject>

#include "kit/registry.h"
#include "learning/frmUnitLearning.h"
#include "learning/unit_learning_model.h"

namespace {

using kv::learning::UnitPattern;

std::optional<UnitPattern> DefaultPattern(int k) { return kv::learning::kDefaultUnitPatterns[static_cast<std::size_t>(k)]; }

}  // namespace

// The single neuron's model alone: 500 passes over the six patterns from fresh weights.
static void BM_UnitLearningModelBatch500(benchmark::State& state) {
    for (auto _ : state) {
        kv::learning::UnitLearningModel model;
        benchmark::DoNotOptimize(model.Batch(500, DefaultPattern));
    }
}
BENCHMARK(BM_UnitLearningModelBatch500)->Unit(benchmark::kMicrosecond);

// What the learner waits for on "一括学習" with the default 100 passes: reading the rows,
// learning, and writing the results back into the diagram.
static void BM_UnitLearningWindowBatch(benchmark::State& state) {
    const std::unique_ptr<kv::frmUnitLearning> owned(kv::BuildWindow<kv::frmUnitLearning>());
    auto& window = *owned;
    for (auto _ : state) {
        QMetaObject::invokeMethod(&window, "Command1_Click", Qt::DirectConnection);
        QMetaObject::invokeMethod(&window, "Command5_Click", Qt::DirectConnection);
    }
}
BENCHMARK(BM_UnitLearningWindowBatch)->Unit(benchmark::kMicrosecond);
