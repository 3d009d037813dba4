#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>
#include <QLineEdit>

#include "kit/registry.h"
#include "learning/backprop_model.h"
#include "learning/frmFeedFowardLearning.h"

// Batch learning of the network from fresh weights: 500 passes (an allowed error of 0 is
// never reached), and the default allowed error 0.01, reached at pass 131.
static void BM_BackpropBatch(benchmark::State& state) {
    const double limit = state.range(0) == 0 ? 0.0 : 0.01;
    for (auto _ : state) {
        kv::learning::BackpropNetwork net;
        benchmark::DoNotOptimize(net.LearnBatch(500, limit));
    }
}
BENCHMARK(BM_BackpropBatch)->Arg(0)->Arg(1)->ArgName("default_limit")->Unit(benchmark::kMicrosecond);

// "一括学習" as the learner waits for it: error boxes written after every pattern and pass,
// the progress label repainted every 20th pass, the weights shown at the end.
static void BM_BackpropWindowBatch(benchmark::State& state) {
    const std::unique_ptr<kv::frmFeedFowardLearning> owned(kv::BuildWindow<kv::frmFeedFowardLearning>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit*>("txtLimitError")->setText(state.range(0) == 0 ? "0" : "0.01");
    for (auto _ : state) {
        window.Command1_Click();
        window.Command5_Click();
    }
}
BENCHMARK(BM_BackpropWindowBatch)->Arg(0)->Arg(1)->ArgName("default_limit")->Unit(benchmark::kMillisecond);
