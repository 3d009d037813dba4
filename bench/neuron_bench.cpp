#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPen>
#include <QWidget>

#include <array>
#include <memory>

#include "floor_ratio.h"
#include "plot_floor.h"
#include "kit/registry.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/neuron_model.h"
#include "neuron/response_plot.h"
#include "plot/PlotSurface.h"

namespace {

// The two theta texts the keystroke benchmarks alternate between.
constexpr std::array<const char*, 2> kThetaTexts{"-0.75", "0.5"};
constexpr std::array<double, 2> kThetas{-0.75, 0.5};
constexpr double kAlpha = 5;  // the window's default gain

void TypeTheta(QWidget& window, int i) {
    window.findChild<QLineEdit*>("txtTheta")->setText(kThetaTexts[static_cast<std::size_t>(i % 2)]);
}

// Theta keystrokes alternating between two values, each redrawing the whole plot.
void TypeTheta(benchmark::State& state, QWidget& window) {
    int i = 0;
    for (auto _ : state) TypeTheta(window, i++);
}

// The floor of a theta keystroke: the same 4001 sigmoid values, worked out as the window
// does, the frame, guides and labels drawn with QPainter, the curve at width 3 once through
// its distinct device pixels, and a bare widget repainted with the image.
class ThetaFloor {
public:
    ThetaFloor(const kv::PlotSurface& plot, qreal ratio) : plot_(plot, ratio), pixels_(ratio) {}
    bool shown() const { return plot_.shown(); }
    void draw(int i) {
        using kv::neuron::kXMax;
        using kv::neuron::kXMin;
        const double theta = kThetas[static_cast<std::size_t>(i % 2)];
        pixels_.clear();
        double x = kXMin;
        pixels_.add(plot_.at(x, kv::neuron::AnalogOutput(x, theta, kAlpha)));
        while (x < kXMax) {
            x = x + 0.001;
            pixels_.add(plot_.at(x, kv::neuron::AnalogOutput(x, theta, kAlpha)));
        }
        plot_.begin();
        const QPen black(Qt::black);
        plot_.line(kXMin, 0, kXMax, 0, black);
        plot_.line(kXMax, 0, kXMax - 0.1, 0.05, black);
        plot_.line(kXMax, 0, kXMax - 0.1, -0.05, black);
        plot_.line(0, 0, 0, 2, black);
        plot_.line(0, 2, -0.05, 1.9, black);
        plot_.line(0, 2, 0.05, 1.9, black);
        const QPen dotted(Qt::black, 1, Qt::DotLine);
        plot_.line(theta, 0, theta, 1, dotted);
        plot_.line(0, 1, kXMax, 1, dotted);
        plot_.curve(pixels_, Qt::black, 3);
        plot_.text(-0.2, 1.1, QStringLiteral("1"));
        plot_.text(-0.05, -0.1, QStringLiteral("0"));
        plot_.text(theta - 0.15, -0.1, QString::number(theta));
        plot_.text(kXMax, -0.1, QStringLiteral("S"));
        plot_.text(-0.2, 2, QStringLiteral("Y"));
        plot_.show();
    }
    std::size_t pixels() const { return static_cast<std::size_t>(pixels_.points().size()); }

private:
    kv::bench::PlotFloor plot_;
    kv::bench::DistinctPixels pixels_;
};

}  // namespace

// The binary neuron window: a step of a few segments.
static void BM_BinaryNeuronThetaRedraw(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecision2Model> owned(kv::BuildWindow<kv::frmDecision2Model>());
    auto& window = *owned;
    TypeTheta(state, window);
}
BENCHMARK(BM_BinaryNeuronThetaRedraw)->Unit(benchmark::kMicrosecond);

// The analog neuron window's theta keystroke, what the learner waits for: the whole plot
// redrawn (the sigmoid of 4000 segments at width 3 among it) and repainted, on the screen of
// the argument's ratio in per cent. "x_floor" is its time over ThetaFloor's at that ratio,
// both timed alternately in this run (see floor_ratio.h).
static void BM_SigmoidThetaKeystroke(benchmark::State& state) {
    const qreal ratio = static_cast<qreal>(state.range(0)) / 100;
    const std::unique_ptr<kv::frmDecisionAnalogModel> owned(kv::BuildWindow<kv::frmDecisionAnalogModel>());
    auto& window = *owned;
    auto* plot = window.findChild<kv::PlotSurface*>("Picture1");
    ThetaFloor floor(*plot, ratio);
    if (!kv::bench::ShowAtRatio(window, ratio) || !floor.shown()) {
        state.SkipWithError("no offscreen screen at this ratio: run with bench_main's platform");
        return;
    }
    const auto keystroke = [&](int i) {
        TypeTheta(window, i);
        plot->repaint();
    };
    int i = 0;
    for (auto _ : state) keystroke(i++);
    const auto m = kv::bench::MeasureFloor(keystroke, [&](int k) { floor.draw(k); }, 200);
    state.counters["ms_floor"] = 1e3 * m.floor;
    state.counters["x_floor"] = m.ratio();
}
BENCHMARK(BM_SigmoidThetaKeystroke)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The floor alone, at 100 %.
static void BM_SigmoidThetaFloor(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecisionAnalogModel> owned(kv::BuildWindow<kv::frmDecisionAnalogModel>());
    ThetaFloor floor(*owned->findChild<kv::PlotSurface*>("Picture1"), 1);
    int i = 0;
    for (auto _ : state) floor.draw(i++);
    state.counters["pixels"] = static_cast<double>(floor.pixels());
}
BENCHMARK(BM_SigmoidThetaFloor)->Unit(benchmark::kMillisecond);
