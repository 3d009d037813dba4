#include <benchmark/benchmark.h>

#include <QApplication>

#include <array>
#include <memory>
#include <optional>

#include "floor_ratio.h"
#include "kit/registry.h"
#include "network/feedforward_model.h"
#include "network/frmNetworkFeedForward.h"
#include "network/frmNetworkRecurrent.h"
#include "network/recurrent_model.h"

namespace {

using FeedForward = kv::network::FeedForwardNetwork;
using Recurrent = kv::network::RecurrentNetwork;

// The model's step alone, on values held in memory: the floor of a window step.
struct FeedForwardFloor {
    std::array<double, 12> x{1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 0};
    FeedForward net;
    void step() {
        const int L = net.LayerIndex();
        if (L < FeedForward::kLayers) {
            const auto layer = FeedForward::ComputeLayer(L, [this](FeedForward::Value v, int k) -> std::optional<double> {
                return v == FeedForward::Value::kX ? x[k] : 0.3 + 0.01 * k;
            });
            for (int m = 0; m < 3; ++m) x[3 * L + 3 + m] = layer.value()[m].X;
        }
        benchmark::DoNotOptimize(net.Advance());
    }
};

struct RecurrentFloor {
    std::array<double, 5> x{1, 0, 0, 1, 0};
    Recurrent net;
    void step() {
        const int u = net.NextUnit();
        const auto unit = Recurrent::UpdateUnit(u, [this](Recurrent::Value v, int i) -> std::optional<double> {
            return v == Recurrent::Value::kX ? x[i] : 0.4 + 0.01 * i;
        });
        x[u - 1] = unit.value().X;
        net.Advance();
    }
};

// A step as the learner waits for it: the press, then the repaint of the window the step
// changed (boxes recoloured and rewritten, lines thickened). "x_floor" is its time over the
// model step's, "x_repaint" over a repaint of the unchanged window: both timed alternately
// with it in this run (see floor_ratio.h).
template <typename Window, typename Floor>
void WindowStep(benchmark::State& state) {
    const std::unique_ptr<Window> owned(kv::BuildWindow<Window>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    const auto press = [&](int) {
        window.Command1_Click();
        window.repaint();
    };
    for (auto _ : state) press(0);
    Floor floor;
    state.counters["x_floor"] = kv::bench::FloorRatio(press, [&](int) { floor.step(); }, 200);
    state.counters["x_repaint"] = kv::bench::FloorRatio(press, [&](int) { window.repaint(); }, 200);
}

template <typename Floor>
void ModelStep(benchmark::State& state) {
    Floor floor;
    for (auto _ : state) floor.step();
}

}  // namespace

// One press of "逐次実行" in the feed-forward window, over its four-step cycle.
static void BM_FeedForwardWindowStep(benchmark::State& state) { WindowStep<kv::frmNetworkFeedForward, FeedForwardFloor>(state); }
BENCHMARK(BM_FeedForwardWindowStep)->Unit(benchmark::kMicrosecond);

static void BM_FeedForwardModelStep(benchmark::State& state) { ModelStep<FeedForwardFloor>(state); }
BENCHMARK(BM_FeedForwardModelStep)->Unit(benchmark::kMicrosecond);

// One press of "逐次実行" in the recurrent window, over its five-unit cycle.
static void BM_RecurrentWindowStep(benchmark::State& state) { WindowStep<kv::frmNetworkRecurrent, RecurrentFloor>(state); }
BENCHMARK(BM_RecurrentWindowStep)->Unit(benchmark::kMicrosecond);

static void BM_RecurrentModelStep(benchmark::State& state) { ModelStep<RecurrentFloor>(state); }
BENCHMARK(BM_RecurrentModelStep)->Unit(benchmark::kMicrosecond);
