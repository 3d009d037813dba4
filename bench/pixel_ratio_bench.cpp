// What a learner waits for on a screen at 200 %, side by side with the same press at 100 %:
// the same window kind open twice, one on each of the two offscreen screens (see
// bench_main.cpp), pressed alternately in one run. "x_ratio1" is the time at ratio 2 over
// the time at ratio 1; "ms_ratio1" and "ms_ratio2" are the medians.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QScreen>

#include <array>
#include <functional>
#include <memory>

#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "floor_ratio.h"
#include "plot_floor.h"
#include "gradient/frmSlopeMethod1.h"
#include "kit/registry.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "plot/PlotSurface.h"
#include "som/frmSOM.h"

namespace {

using kv::bench::ShowAtRatio;

// One press of window `w` (a keystroke and its repaint, say), the i-th of a run.
template <typename W>
using Press = std::function<void(W&, int)>;

// Times `press` on a window at ratio 2 and on one at ratio 1, alternately.
template <typename W>
void AtBothRatios(benchmark::State& state, const Press<W>& press) {
    const std::unique_ptr<W> one(kv::BuildWindow<W>()), two(kv::BuildWindow<W>());
    if (!ShowAtRatio(*one, 1) || !ShowAtRatio(*two, 2)) {
        state.SkipWithError("no offscreen screen at ratio 2: run with bench_main's platform");
        return;
    }
    int i = 0;
    for (auto _ : state) press(*two, i++);
    const kv::bench::FloorMedians m =
        kv::bench::MeasureFloor([&](int k) { press(*two, k); }, [&](int k) { press(*one, k); });
    state.counters["ms_ratio1"] = 1e3 * m.floor;
    state.counters["ms_ratio2"] = 1e3 * m.subject;
    state.counters["x_ratio1"] = m.ratio();
}

kv::PlotSurface& Plot(QWidget& w) { return *w.findChild<kv::PlotSurface*>("Picture1"); }

void Type(QWidget& w, const char* box, const std::array<const char*, 2>& texts, int i) {
    w.findChild<QLineEdit*>(box)->setText(texts[static_cast<std::size_t>(i % 2)]);
}

}  // namespace

// The analog neuron window's theta keystroke: the whole plot, its 4000-piece sigmoid at
// width 3 among it, redrawn and repainted (against its floor at each ratio: see
// BM_SigmoidThetaKeystroke).
static void BM_RatioSigmoidThetaKeystroke(benchmark::State& state) {
    AtBothRatios<kv::frmDecisionAnalogModel>(state, [](kv::frmDecisionAnalogModel& w, int i) {
        Type(w, "txtTheta", {"-0.75", "0.5"}, i);
        Plot(w).repaint();
    });
}
BENCHMARK(BM_RatioSigmoidThetaKeystroke)->Unit(benchmark::kMillisecond);

// The gradient window's coefficient keystroke: frame, grid, labels, curve and marker.
static void BM_RatioSlopeCoefficientKeystroke(benchmark::State& state) {
    AtBothRatios<kv::frmSlopeMethod1>(state, [](kv::frmSlopeMethod1& w, int i) {
        Type(w, "txtA(1)", {"2", "3"}, i);
        Plot(w).repaint();
    });
}
BENCHMARK(BM_RatioSlopeCoefficientKeystroke)->Unit(benchmark::kMillisecond);

// The self-organising map drawn whole (256 cells, dots, names, both boundaries).
static void BM_RatioSomMapRedraw(benchmark::State& state) {
    AtBothRatios<kv::frmSOM>(state, [](kv::frmSOM& w, int) {
        w.MapDraw();
        Plot(w).repaint();
    });
}
BENCHMARK(BM_RatioSomMapRedraw)->Unit(benchmark::kMillisecond);

// The largest window with a picture drawn by code, the Boltzmann learning window (the
// network of 10 units and 45 arrows, 70 boxes), repainted whole.
static void BM_RatioBoltzmannLearningRepaint(benchmark::State& state) {
    AtBothRatios<kv::frmBoltzmannMachineLearning>(state, [](kv::frmBoltzmannMachineLearning& w, int) { w.repaint(); });
}
BENCHMARK(BM_RatioBoltzmannLearningRepaint)->Unit(benchmark::kMillisecond);

