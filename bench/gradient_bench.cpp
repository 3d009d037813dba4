#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPen>

#include <array>
#include <memory>

#include "floor_ratio.h"
#include "plot_floor.h"
#include "gradient/frmSlopeMethod1.h"
#include "gradient/slope_model.h"
#include "kit/registry.h"
#include "linear/frmLinearSystem1.h"
#include "linear/linear_model.h"
#include "plot/PlotSurface.h"
#include "plot/msgbox.h"

namespace {

constexpr std::array<const char*, 2> kA1Texts{"2", "3"};
constexpr std::array<double, 2> kA1{2, 3};

// The floor of a coefficient keystroke: the frame, grid and labels drawn with QPainter, the
// cubic evaluated at the window's thousand points and drawn at width 3 once through its
// distinct device pixels (a piece with an end outside the frame left out), the XOR marker,
// and a bare widget repainted with the image.
class CurveFloor {
public:
    explicit CurveFloor(const kv::PlotSurface& plot) : plot_(plot, 1), pixels_(1) {}
    void draw(int i) {
        const double maxX = 3, maxY = 10, ux = maxX * 0.001, uy = maxY * 0.001;
        const kv::gradient::Cubic f{{0, kA1[static_cast<std::size_t>(i % 2)], -6, 7}};
        QPainter& p = plot_.begin();
        plot_.frame(maxX, maxY);
        const auto inside = [&](double v) { return v >= -3 * uy && v <= maxY; };
        pixels_.clear();
        double x = -2 * ux, fx = f(x);
        while (x < maxX) {
            const double x1 = ux + x, f1 = f(x1);
            if (inside(fx) && inside(f1)) {
                pixels_.add(plot_.at(x, fx));
                pixels_.add(plot_.at(x1, f1));
            } else if (!pixels_.points().isEmpty()) {
                plot_.curve(pixels_, Qt::blue, 3);
                pixels_.clear();
            }
            x = x1;
            fx = f1;
        }
        plot_.curve(pixels_, Qt::blue, 3);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(Qt::white);
        p.setBrush(Qt::cyan);
        const double r = 0.02 * maxX / plot_.unitsPerPixel();
        p.drawEllipse(plot_.at(0, 7), r, r);
        plot_.show();
    }

private:
    kv::bench::PlotFloor plot_;
    kv::bench::DistinctPixels pixels_;
};

// The floor of "再表示" in the batch linear-system window, its frame at the default maxima:
// the frame, the five samples as filled circles and the XOR model line at width 5, then a
// bare widget repainted with the image.
class LinearRedrawFloor {
public:
    explicit LinearRedrawFloor(const kv::frmLinearSystem1& window)
        : window_(window), plot_(*window.findChild<kv::PlotSurface*>("Picture1"), 1) {}
    void draw() {
        const double maxX = 6, maxY = 10;
        QPainter& p = plot_.begin();
        plot_.frame(maxX, maxY);
        p.setPen(Qt::white);
        p.setBrush(Qt::red);
        const double r = 0.02 * maxX / plot_.unitsPerPixel();
        for (const auto& s : window_.model().TrainData()) p.drawEllipse(plot_.at(s.x, s.y), r, r);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const double a = window_.model().ParamA();
        plot_.line(0, 0, maxX, a * maxX, QPen(Qt::yellow, 5));
        plot_.show();
    }

private:
    const kv::frmLinearSystem1& window_;
    kv::bench::PlotFloor plot_;
};

}  // namespace

// A coefficient keystroke in the gradient window, what the learner waits for: frame, grid,
// labels, the ~1000-piece curve at width 3 and the marker, then the repaint. "x_floor" is its
// time over CurveFloor's, both timed alternately in this run.
static void BM_SlopeCoefficientKeystroke(benchmark::State& state) {
    const std::unique_ptr<kv::frmSlopeMethod1> owned(kv::BuildWindow<kv::frmSlopeMethod1>());
    auto& window = *owned;
    auto* plot = window.findChild<kv::PlotSurface*>("Picture1");
    auto* box = window.findChild<QLineEdit*>("txtA(1)");
    CurveFloor floor(*plot);
    window.show();
    QApplication::processEvents();
    const auto keystroke = [&](int i) {
        box->setText(kA1Texts[static_cast<std::size_t>(i % 2)]);
        plot->repaint();
    };
    int i = 0;
    for (auto _ : state) keystroke(i++);
    const auto m = kv::bench::MeasureFloor(keystroke, [&](int k) { floor.draw(k); }, 200);
    state.counters["ms_floor"] = 1e3 * m.floor;
    state.counters["x_floor"] = m.ratio();
}
BENCHMARK(BM_SlopeCoefficientKeystroke)->Unit(benchmark::kMillisecond);

// "再表示" in the batch linear-system window: frame, grid, labels, the five samples and the
// model line, then the repaint. "x_floor" is its time over LinearRedrawFloor's.
static void BM_LinearRedisplay(benchmark::State& state) {
    const std::unique_ptr<kv::frmLinearSystem1> owned(kv::BuildWindow<kv::frmLinearSystem1>());
    auto& window = *owned;
    auto* plot = window.findChild<kv::PlotSurface*>("Picture1");
    LinearRedrawFloor floor(window);
    window.show();
    QApplication::processEvents();
    const auto press = [&](int) {
        window.Command1_Click();
        plot->repaint();
    };
    for (auto _ : state) press(0);
    const auto m = kv::bench::MeasureFloor(press, [&](int) { floor.draw(); }, 200);
    state.counters["ms_floor"] = 1e3 * m.floor;
    state.counters["x_floor"] = m.ratio();
}
BENCHMARK(BM_LinearRedisplay)->Unit(benchmark::kMillisecond);

// One learning step of the batch window by its button: the model step, the two result
// lines and the model line moved with the XOR pen, then the repaint. The floor is the
// plain model step with the same two width-5 lines XOR-drawn by QPainter.
static void BM_LinearLearnStep(benchmark::State& state) {
    kv::SetMsgBoxHook([](const QString&, kv::MsgButtons) { return kv::MsgAnswer::Ok; });
    const std::unique_ptr<kv::frmLinearSystem1> owned(kv::BuildWindow<kv::frmLinearSystem1>());
    auto& window = *owned;
    auto* plot = window.findChild<kv::PlotSurface*>("Picture1");
    window.show();
    QApplication::processEvents();
    const auto press = [&](int) {
        if (window.model().TrainCount() > 30000) window.Command2_Click();
        window.Command3_Click();
        plot->repaint();
    };
    kv::linear::LinearLearner model(kv::linear::Update::Batch);
    model.Initialise(window.model().TrainData(), 0.01);
    QImage image(plot->image().size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto floor = [&](int) {
        if (model.TrainCount() > 30000) model.Initialise(window.model().TrainData(), 0.01);
        const auto m = model.LearnStep();
        QPainter p(&image);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen pen(Qt::yellow);
        pen.setWidth(5);
        p.setPen(pen);
        p.drawLine(plot->toPixel(0, 0), plot->toPixel(6, float(6 * m.aOld)));
        p.drawLine(plot->toPixel(0, 0), plot->toPixel(6, float(6 * m.aNew)));
    };
    int i = 0;
    for (auto _ : state) press(i++);
    state.counters["x_floor"] = kv::bench::FloorRatio(press, floor);
    kv::SetMsgBoxHook({});
}
BENCHMARK(BM_LinearLearnStep)->Unit(benchmark::kMicrosecond);
