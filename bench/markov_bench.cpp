#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <vector>

#include "floor_ratio.h"
#include "kit/registry.h"
#include "markov/frmMarKovModel5.h"
#include "markov/markov_model.h"

namespace {

// The chain of the "例２" window, by itself: its arcs and its first values.
kv::markov::MarkovChain Example2Chain() {
    kv::markov::MarkovChain chain(5, 0.000001);
    chain.SetArcs(std::vector<kv::markov::ArcEnd>{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}, {4, 1}});
    return chain;
}
const std::vector<double> kProbabilities{1.0, 1.0, 0.5, 1.0, 0.5, 1.0};

// One press of "逐次実行" in the window, as the learner waits for it: reading the boxes, the
// step, writing the node boxes and repainting the window. The run goes back to its first
// values before it settles, so every press is an ordinary step.
class HeldButton {
public:
    HeldButton() : window_(kv::BuildWindow<kv::frmMarKovModel5>()) {
        window_->show();
        QApplication::processEvents();
    }
    void press(int i) {
        if (i % 100 == 0) window_->Command2_Click();
        window_->Command1_Click();
        window_->repaint();
    }
    void repaint() { window_->repaint(); }

private:
    std::unique_ptr<kv::frmMarKovModel5> window_;
};

}  // namespace

// The floor: the model's step alone, from the same values each time.
static void BM_MarkovModelStep(benchmark::State& state) {
    const auto chain = Example2Chain();
    const std::vector<double> x{128, 0, 0, 0, 0};
    for (auto _ : state) benchmark::DoNotOptimize(chain.TransitionStep(x, kProbabilities));
}
BENCHMARK(BM_MarkovModelStep);

// A press of "逐次実行" in the "例２" window with its repaint, next to the floor in the same
// run: medians in microseconds of the press, of a bare repaint of the window and of the model
// step, and the press over the model step.
static void BM_MarkovWindowStep(benchmark::State& state) {
    HeldButton button;
    int i = 0;
    for (auto _ : state) button.press(i++);

    const auto chain = Example2Chain();
    const std::vector<double> x{128, 0, 0, 0, 0};
    const auto step = kv::bench::MeasureFloor([&](int k) { button.press(k); },
                                              [&](int) { benchmark::DoNotOptimize(chain.TransitionStep(x, kProbabilities)); },
                                              200, 1000);
    const auto repaint = kv::bench::MeasureFloor([&](int k) { button.press(k); }, [&](int) { button.repaint(); }, 200);
    state.counters["press_us"] = step.subject * 1e6;
    state.counters["repaint_us"] = repaint.floor * 1e6;
    state.counters["model_us"] = step.floor * 1e6;
    state.counters["press/model"] = step.ratio();
    state.counters["press/repaint"] = repaint.ratio();
}
BENCHMARK(BM_MarkovWindowStep)->Unit(benchmark::kMicrosecond);
