#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "floor_ratio.h"
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

// The analog window's sigmoid drawn the ordinary Qt way: the same pixel points, worked
// out beforehand, as one polyline with a width-3 pen into an image the size of the plot:
// the yardstick for the keystroke redraw, which does the same and more.
class SigmoidFloor {
public:
    explicit SigmoidFloor(const kv::PlotSurface& plot) : image_(plot.image().size(), QImage::Format_RGB32) {
        image_.fill(Qt::white);
        for (std::size_t k = 0; k < kThetas.size(); ++k) {
            double x = kv::neuron::kXMin;
            points_[k].push_back(plot.toPixel(float(x), float(kv::neuron::AnalogOutput(x, kThetas[k], kAlpha))));
            while (x < kv::neuron::kXMax) {
                x = x + 0.001;
                points_[k].push_back(plot.toPixel(float(x), float(kv::neuron::AnalogOutput(x, kThetas[k], kAlpha))));
            }
        }
    }
    void draw(int i) {
        const auto& points = points_[static_cast<std::size_t>(i % 2)];
        QPainter p(&image_);
        QPen pen(Qt::black);
        pen.setWidth(3);
        p.setPen(pen);
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    std::size_t segments() const { return points_[0].size() - 1; }

private:
    QImage image_;
    std::array<std::vector<QPointF>, 2> points_;
};

}  // namespace

// The binary neuron window: a step of a few segments.
static void BM_BinaryNeuronThetaRedraw(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecision2Model> owned(kv::BuildWindow<kv::frmDecision2Model>());
    auto& window = *owned;
    TypeTheta(state, window);
}
BENCHMARK(BM_BinaryNeuronThetaRedraw)->Unit(benchmark::kMicrosecond);

// The analog neuron window: a theta keystroke redraws the whole plot and repaints it, the sigmoid of about
// 4000 segments at width 3 among it. "x_floor" is its time over the floor's, both timed
// alternately in this run (see floor_ratio.h).
static void BM_SigmoidThetaRedraw(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecisionAnalogModel> owned(kv::BuildWindow<kv::frmDecisionAnalogModel>());
    auto& window = *owned;
    auto* plot = window.findChild<kv::PlotSurface*>("Picture1");
    SigmoidFloor floor(*plot);
    // Shown, so that the keystroke's repaint really paints: the learner waits for both.
    window.show();
    QApplication::processEvents();
    const auto keystroke = [&](int i) {
        TypeTheta(window, i);
        plot->repaint();
    };
    int i = 0;
    for (auto _ : state) keystroke(i++);
    state.counters["x_floor"] = kv::bench::FloorRatio(keystroke, [&](int k) { floor.draw(k); });
}
BENCHMARK(BM_SigmoidThetaRedraw)->Unit(benchmark::kMillisecond);

// The floor alone: the same sigmoid as one QPainter::drawPolyline.
static void BM_SigmoidPolylineFloor(benchmark::State& state) {
    const std::unique_ptr<kv::frmDecisionAnalogModel> owned(kv::BuildWindow<kv::frmDecisionAnalogModel>());
    auto& window = *owned;
    SigmoidFloor floor(*window.findChild<kv::PlotSurface*>("Picture1"));
    int i = 0;
    for (auto _ : state) floor.draw(i++);
    state.counters["segments"] = static_cast<double>(floor.segments());
}
BENCHMARK(BM_SigmoidPolylineFloor)->Unit(benchmark::kMillisecond);
