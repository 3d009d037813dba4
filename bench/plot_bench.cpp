#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>

#include <cmath>

#include "floor_ratio.h"
#include "plot_floor.h"
#include "plot/PlotSurface.h"

namespace {

constexpr QSize kPlotSize(360, 250);  // the neuron windows' plot

// A curve across the whole surface in 4000 segments, as a plotted function is drawn:
// two periods of a sine between y = -1 and 1.
constexpr int kCurveSegments = 4000;
double CurveY(int k) { return std::sin(4 * M_PI * k / kCurveSegments); }

void DrawCurve(kv::PlotSurface& s) {
    s.Cls();
    s.setDrawWidth(3);
    s.Line(0, CurveY(0), 0, CurveY(0), kv::kBlack);
    for (int k = 1; k <= kCurveSegments; ++k) s.LineTo(double(k) / kCurveSegments, CurveY(k), kv::kBlack);
    benchmark::DoNotOptimize(s.image().constBits());
}

// The floor: the image filled and the same curve drawn at width 3 once through its distinct
// pixels, worked out from the same points.
class CurveFloor {
public:
    explicit CurveFloor(const kv::PlotSurface& s) : surface_(s), image_(kPlotSize, QImage::Format_RGB32), pixels_(1) {}
    void draw() {
        pixels_.clear();
        for (int k = 0; k <= kCurveSegments; ++k)
            pixels_.add(surface_.toPixel(float(double(k) / kCurveSegments), float(CurveY(k))));
        image_.fill(Qt::white);
        QPainter p(&image_);
        QPen pen(Qt::black);
        pen.setWidth(3);
        p.setPen(pen);
        p.drawPolyline(pixels_.points());
    }

private:
    const kv::PlotSurface& surface_;
    QImage image_;
    kv::bench::DistinctPixels pixels_;
};

void ScaleForCurve(kv::PlotSurface& s) { kv::SetPlotScale(s, -0.05, 1.2, 1.05, -1.2); }

// A marker moved by one step: the filled XOR circle erased and drawn again elsewhere.
void MoveMarker(kv::PlotSurface& s, int i) {
    s.Circle(0.3 + 0.01 * (i % 2), 0, 0.03, kv::kBlue);
    s.Circle(0.3 + 0.01 * ((i + 1) % 2), 0, 0.03, kv::kBlue);
    benchmark::DoNotOptimize(s.image().constBits());
}

// Its floor: the same two filled circles painted in copy mode with a plain painter.
class MarkerFloor {
public:
    explicit MarkerFloor(const kv::PlotSurface& s)
        : image_(kPlotSize, QImage::Format_RGB32),
          a_(s.toPixel(0.3f, 0)),
          b_(s.toPixel(0.31f, 0)),
          r_(0.03 / s.scaleWidth() * kPlotSize.width()) {
        image_.fill(Qt::white);
    }
    void draw() {
        QPainter p(&image_);
        p.setPen(Qt::blue);
        p.setBrush(Qt::cyan);
        p.drawEllipse(a_, r_, r_);
        p.drawEllipse(b_, r_, r_);
    }

private:
    QImage image_;
    QPointF a_, b_;
    double r_;
};

void PrepareMarker(kv::PlotSurface& s) {
    ScaleForCurve(s);
    s.setDrawMode(kv::DrawMode::Xor);
    s.setFillStyle(kv::FillStyle::Solid);
    s.setFillColor(kv::kCyan);
    s.Circle(0.3, 0, 0.03, kv::kBlue);
}

}  // namespace

// The plot surface alone: Cls and a 4000-segment curve at width 3, read back.
static void BM_PlotSurfaceCurve(benchmark::State& state) {
    kv::PlotSurface surface(nullptr, kPlotSize);
    ScaleForCurve(surface);
    CurveFloor floor(surface);
    for (auto _ : state) DrawCurve(surface);
    state.counters["x_floor"] = kv::bench::FloorRatio([&](int) { DrawCurve(surface); }, [&](int) { floor.draw(); });
}
BENCHMARK(BM_PlotSurfaceCurve)->Unit(benchmark::kMicrosecond);

static void BM_PlotCurveDistinctPixelFloor(benchmark::State& state) {
    kv::PlotSurface surface(nullptr, kPlotSize);
    ScaleForCurve(surface);
    CurveFloor floor(surface);
    for (auto _ : state) floor.draw();
}
BENCHMARK(BM_PlotCurveDistinctPixelFloor)->Unit(benchmark::kMicrosecond);

// A filled XOR marker moved by one step, each pixel inverted once per figure.
static void BM_PlotXorFilledCircleMove(benchmark::State& state) {
    kv::PlotSurface surface(nullptr, kPlotSize);
    PrepareMarker(surface);
    MarkerFloor floor(surface);
    int i = 0;
    for (auto _ : state) MoveMarker(surface, i++);
    state.counters["x_floor"] =
        kv::bench::FloorRatio([&](int k) { MoveMarker(surface, k); }, [&](int) { floor.draw(); }, 200);
}
BENCHMARK(BM_PlotXorFilledCircleMove)->Unit(benchmark::kMicrosecond);

static void BM_PlotFilledCircleCopyFloor(benchmark::State& state) {
    kv::PlotSurface surface(nullptr, kPlotSize);
    PrepareMarker(surface);
    MarkerFloor floor(surface);
    for (auto _ : state) floor.draw();
}
BENCHMARK(BM_PlotFilledCircleCopyFloor)->Unit(benchmark::kMicrosecond);
