#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPen>

#include <array>
#include <memory>
#include <vector>

#include "floor_ratio.h"
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

// The gradient window's curve drawn the ordinary Qt way: the same pixel points, worked out
// beforehand, as one polyline with a width-3 pen: the yardstick for the redraw.
class CurveFloor {
public:
    explicit CurveFloor(const kv::PlotSurface& plot) : image_(plot.image().size(), QImage::Format_RGB32) {
        image_.fill(Qt::white);
        const double ux = 0.003;  // the default maximum 3, a thousandth of it
        for (std::size_t k = 0; k < kA1.size(); ++k) {
            const kv::gradient::Cubic f{{0, kA1[k], -6, 7}};
            for (double x = -2 * ux; x < 3; x += ux) points_[k].push_back(plot.toPixel(float(x), float(f(x))));
        }
    }
    void draw(int i) {
        const auto& points = points_[static_cast<std::size_t>(i % 2)];
        QPainter p(&image_);
        QPen pen(Qt::blue);
        pen.setWidth(3);
        p.setPen(pen);
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }

private:
    QImage image_;
    std::array<std::vector<QPointF>, 2> points_;
};

}  // namespace

// A coefficient keystroke in the gradient window: frame, grid, labels, the ~1000-piece curve
// at width 3 and the marker, then the repaint. "x_floor" is its time over the floor's.
static void BM_SlopeCoefficientRedraw(benchmark::State& state) {
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
    state.counters["x_floor"] = kv::bench::FloorRatio(keystroke, [&](int k) { floor.draw(k); });
}
BENCHMARK(BM_SlopeCoefficientRedraw)->Unit(benchmark::kMillisecond);

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
