// The learning curve: a redraw of a curve of 32767 points next to one point per pixel
// column (the same view) and next to those columns drawn plainly; and what a curve costs
// each batch that feeds one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "boltzmann/boltzmann_learning_model.h"
#include "floor_ratio.h"
#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "kit/batch_runner.h"
#include "kit/curve_view.h"
#include "kit/registry.h"
#include "learning/backprop_model.h"
#include "learning/frmFeedFowardLearning.h"
#include "learning/frmUnitLearning.h"
#include "learning/unit_learning_model.h"
#include "plot/random.h"
#include "som/frmSOM.h"
#include "som/som_model.h"

namespace {

using kv::CurveView;

// A view whose plot is about 440 pixel columns wide.
constexpr QSize kView(500, 320);
constexpr int kColumns = 440;

// A curve shown in a window of its own, as the companion shows it.
struct ShownCurve {
    ShownCurve() {
        view = new CurveView(&host, {.title = QStringLiteral("誤差"),
                                     .xTitle = QStringLiteral("学習回数"),
                                     .series = {{QStringLiteral("誤差"), kv::kBlue, kv::kFixed6}}});
        view->setGeometry(QRect(QPoint(0, 0), kView));
        host.resize(kView);
        host.show();
        QApplication::processEvents();
    }
    QWidget host;
    CurveView* view;
};

// A falling, ragged error.
double Wave(int s) { return (1 + 0.3 * std::sin(s * 0.7)) / (1 + 0.01 * s); }

void Fill(CurveView& v, int n) {
    v.clear();
    for (int s = 1; s <= n; ++s) v.add({Wave(s)});
    v.refresh();
}

void Render(CurveView& v, QImage& image) {
    v.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

// The columns drawn plainly: one polyline of a point per column, with the curve's pen.
void Plain(QImage& image, const std::vector<QPointF>& points) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::blue, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    p.drawPolyline(points.data(), static_cast<int>(points.size()));
    benchmark::DoNotOptimize(image.constBits());
}

// The floor at its plainest: a picture of the frame, grid and labels made once (title,
// axis title, five numbered ticks each way), copied, and the 440 columns of the 32767 values
// drawn on it without antialiasing, each its span as a bar of whole pixels, with a hairline
// on to the next.
struct PlainColumns {
    explicit PlainColumns(const QFont& font) : background(kView, QImage::Format_ARGB32_Premultiplied) {
        const int per = (CurveView::kMaxPoints + kColumns - 1) / kColumns;
        for (int c = 0; c < kColumns; ++c) {
            double lo = 1e300, hi = -1e300;
            for (int s = 1 + c * per; s <= std::min(CurveView::kMaxPoints, (c + 1) * per); ++s) {
                lo = std::min(lo, Wave(s));
                hi = std::max(hi, Wave(s));
            }
            const double x = plot.left() + c + 0.5;
            bars.emplace_back(x - 0.8, plot.bottom() - plot.height() * hi / 1.4, 1.6, plot.height() * (hi - lo) / 1.4 + 1.6);
            if (c > 0) joins.emplace_back(QPointF(x - 1, bars[c - 1].bottom() - 0.8), QPointF(x, bars[c].top() + 0.8));
        }
        background.fill(Qt::white);
        QPainter p(&background);
        p.setFont(font);
        p.drawText(QPointF(4, 16), QStringLiteral("誤差"));
        p.drawText(QPointF(230, 314), QStringLiteral("学習回数"));
        for (int i = 0; i <= 4; ++i) {
            const int x = plot.left() + i * plot.width() / 4, y = plot.bottom() - i * plot.height() / 4;
            p.setPen(QColor(220, 220, 220));
            p.drawLine(x, plot.top(), x, plot.bottom());
            p.drawLine(plot.left(), y, plot.right(), y);
            p.setPen(Qt::black);
            p.drawText(QPointF(x - 12, plot.bottom() + 16), QString::number(i * 10000));
            p.drawText(QPointF(6, y + 4), QString::number(i * 0.35, 'f', 2));
        }
        p.drawRect(plot);
    }
    void draw(QImage& image) const {
        std::memcpy(image.bits(), background.constBits(), static_cast<std::size_t>(background.sizeInBytes()));
        QPainter p(&image);
        for (const QRectF& bar : bars) p.fillRect(bar.toRect(), Qt::blue);
        p.setPen(QPen(Qt::blue, 0));
        p.drawLines(joins.data(), static_cast<int>(joins.size()));
        benchmark::DoNotOptimize(image.constBits());
    }
    QRect plot{44, 40, kColumns, 240};
    QImage background;
    std::vector<QRectF> bars;
    std::vector<QLineF> joins;
};

}  // namespace

// A redraw of a curve that keeps the most points a run can give, next to the same view
// with one point per column and next to a plain polyline of the columns.
static void BM_CurveRedraw32767(benchmark::State& state) {
    ShownCurve full, few;
    Fill(*full.view, CurveView::kMaxPoints);
    Fill(*few.view, kColumns);
    QImage image(kView, QImage::Format_ARGB32_Premultiplied);
    std::vector<QPointF> points;
    for (int c = 0; c < kColumns; ++c) points.emplace_back(40 + c, 300 - 250 * Wave(c * 74));
    for (auto _ : state) Render(*full.view, image);
    state.counters["x_440_points"] = kv::bench::FloorRatio([&](int) { Render(*full.view, image); },
                                                           [&](int) { Render(*few.view, image); }, 200);
    state.counters["x_plain_440"] = kv::bench::FloorRatio([&](int) { Render(*full.view, image); },
                                                          [&](int) { Plain(image, points); }, 200);
    const PlainColumns columns(full.view->font());
    state.counters["x_columns_floor"] =
        kv::bench::FloorRatio([&](int) { Render(*full.view, image); }, [&](int) { columns.draw(image); }, 200);
}
BENCHMARK(BM_CurveRedraw32767)->Unit(benchmark::kMicrosecond);

// A point added to a full curve, which moves every column, and the redraw.
static void BM_CurveAddAndRedraw32767(benchmark::State& state) {
    ShownCurve full, few;
    Fill(*full.view, CurveView::kMaxPoints);
    Fill(*few.view, kColumns);
    QImage image(kView, QImage::Format_ARGB32_Premultiplied);
    int s = CurveView::kMaxPoints;
    auto add = [&](CurveView& v) {
        ++s;
        v.add({Wave(s)});
        Render(v, image);
    };
    for (auto _ : state) add(*full.view);
    state.counters["x_440_points"] =
        kv::bench::FloorRatio([&](int) { add(*full.view); }, [&](int) { Render(*few.view, image); }, 200);
}
BENCHMARK(BM_CurveAddAndRedraw32767)->Unit(benchmark::kMicrosecond);

// ---- Batches with their curve, next to the same batches without one ----
//
// The batch's speed: the model's loop, through the runner as the window runs it, adding
// every pass's value to a curve on screen that is drawn at the batch's progress moments,
// next to the same loop with no curve ("with/without"). And the window's whole press, with
// its curve shown, next to the same press with the curve hidden ("shown/hidden"): beside the
// speed, the one drawing of the curve when the batch begins and ends.

namespace {

struct Runner {
    QWidget host;
    kv::BatchRunner runner;
    explicit Runner(kv::BatchRunner::Events events) : runner(&host, events) {
        host.show();
        QApplication::processEvents();
    }
    void run(int n, const std::function<double()>& step, CurveView* curve) {
        int i = 0;
        runner.run(
            [&] {
                const double v = step();
                if (curve) curve->add(v);
                return ++i < n;
            },
            [&] {
                if (curve) curve->refresh();
            });
    }
};

// A curve that is kept but never drawn.
struct HiddenCurve {
    HiddenCurve() : view(nullptr, {.title = QStringLiteral("誤差"), .series = {{QStringLiteral("誤差"), kv::kBlue}}}) {}
    CurveView view;
};

std::optional<kv::learning::UnitPattern> DefaultPattern(int k) {
    return kv::learning::kDefaultUnitPatterns[static_cast<std::size_t>(k)];
}

void Press(QWidget* w, const char* slot) { QMetaObject::invokeMethod(w, slot, Qt::DirectConnection); }

// `press` with the window's curve shown (its companion open) and hidden, alternately.
double ShownOverHidden(QWidget* window, const std::function<void()>& press, int rounds) {
    if (auto* b = window->findChild<QPushButton*>("cmdCurve")) b->click();
    QApplication::processEvents();
    auto* curve = window->findChild<CurveView*>("Curve1");
    auto shown = [&](int) {
        curve->show();
        press();
        QApplication::processEvents();
    };
    auto hidden = [&](int) {
        curve->hide();
        press();
        QApplication::processEvents();
    };
    const double ratio = kv::bench::FloorRatio(shown, hidden, rounds);
    curve->show();
    return ratio;
}

template <typename W>
std::unique_ptr<W> ShownWindow() {
    std::unique_ptr<W> w(kv::BuildWindow<W>());
    w->show();
    QApplication::processEvents();
    return w;
}

}  // namespace

// The single neuron's "一括学習" (it holds the thread, with no runner): 100000 passes, each
// reported to the curve, next to the batch without a report; and the press of the default
// 100 passes with the curve beside it drawn and hidden.
static void BM_CurveBatchUnitLearning(benchmark::State& state) {
    HiddenCurve curve;
    auto with = [&](int) {
        curve.view.clear();
        kv::learning::UnitLearningModel m;
        benchmark::DoNotOptimize(m.Batch(100000, DefaultPattern, [&](double e) { curve.view.add(e); }));
        curve.view.refresh();
    };
    auto without = [](int) {
        kv::learning::UnitLearningModel m;
        benchmark::DoNotOptimize(m.Batch(100000, DefaultPattern));
    };
    for (auto _ : state) with(0);
    state.counters["with/without"] = kv::bench::FloorRatio(with, without, 30);
    const auto w = ShownWindow<kv::frmUnitLearning>();
    state.counters["shown/hidden"] = ShownOverHidden(w.get(), [&] {
        Press(w.get(), "Command1_Click");
        Press(w.get(), "Command5_Click");
    }, 100);
}
BENCHMARK(BM_CurveBatchUnitLearning)->Unit(benchmark::kMillisecond);

// Back-propagation: 5000 passes that all run, holding the thread; and the default press
// (500 passes and an allowed error of 0.01, reached at pass 131, from fresh weights).
static void BM_CurveBatchBackprop(benchmark::State& state) {
    ShownCurve curve;
    Runner batch(kv::BatchRunner::Events::kHold);
    auto run = [&](CurveView* c) {
        if (c) c->clear();
        kv::learning::BackpropNetwork net;
        kv::learning::BackpropNetwork::Batch passes(net, 5000, 0);
        batch.run(5000, [&] {
            passes.Next();
            return net.MaxError();
        }, c);
            };
    for (auto _ : state) run(curve.view);
    state.counters["with/without"] = kv::bench::FloorRatio([&](int) { run(curve.view); }, [&](int) { run(nullptr); }, 30);
    const auto w = ShownWindow<kv::frmFeedFowardLearning>();
    state.counters["shown/hidden"] = ShownOverHidden(w.get(), [&] {
        Press(w.get(), "Command1_Click");
        Press(w.get(), "Command5_Click");
    }, 40);
}
BENCHMARK(BM_CurveBatchBackprop)->Unit(benchmark::kMillisecond);

// The Boltzmann machine's learning, its default 5000 iterations, events let through now
// and then.
static void BM_CurveBatchBoltzmannLearning(benchmark::State& state) {
    using kv::boltzmann::BoltzmannLearning;
    ShownCurve curve;
    Runner batch(kv::BatchRunner::Events::kProcessByTime);
    auto run = [&](CurveView* c) {
        if (c) c->clear();
        kv::SeedRandomForTest(7);
        BoltzmannLearning m;
        m.InitialiseLearning(BoltzmannLearning::kDefaultTraining);
        batch.run(BoltzmannLearning::kDefaultNumLearn, [&] {
            m.SetNumOfLearn(m.NumOfLearn() + 1);
            m.LearnIteration();
            return m.LearnError();
        }, c);
            };
    for (auto _ : state) run(curve.view);
    state.counters["with/without"] = kv::bench::FloorRatio([&](int) { run(curve.view); }, [&](int) { run(nullptr); }, 9);
    const auto w = ShownWindow<kv::frmBoltzmannMachineLearning>();
    state.counters["shown/hidden"] = ShownOverHidden(w.get(), [&] { Press(w.get(), "Command3_Click"); }, 9);
}
BENCHMARK(BM_CurveBatchBoltzmannLearning)->Unit(benchmark::kMillisecond)->Iterations(1);

// The self-organising map's default 200 steps, events let through before every step.
static void BM_CurveBatchSom(benchmark::State& state) {
    ShownCurve curve;
    Runner batch(kv::BatchRunner::Events::kProcess);
    auto run = [&](CurveView* c) {
        if (c) c->clear();
        kv::som::SomMap map;
        map.MapInit(kv::som::InitMethod::kRandomAndAnimals, kv::som::kDefaultAnimals, 0.3, 4, 200);
        batch.run(200, [&] { return map.MapStep(kv::som::kDefaultAnimals).meanDistance; }, c);
            };
    for (auto _ : state) run(curve.view);
    state.counters["with/without"] = kv::bench::FloorRatio([&](int) { run(curve.view); }, [&](int) { run(nullptr); }, 20);
    const auto w = ShownWindow<kv::frmSOM>();
    state.counters["shown/hidden"] = ShownOverHidden(w.get(), [&] { Press(w.get(), "Command3_Click"); }, 20);
}
BENCHMARK(BM_CurveBatchSom)->Unit(benchmark::kMillisecond);

// What the map's step gained for the curve: the sixteen winner searches that also give
// their distance, summed as distances, next to the same searches alone.
static void BM_SomWinnerSearchWithDistance(benchmark::State& state) {
    kv::som::SomMap map;
    map.MapInit(kv::som::InitMethod::kRandomAndAnimals, kv::som::kDefaultAnimals, 0.3, 4, 200);
    auto with = [&](int) {
        double sum = 0;
        for (const auto& animal : kv::som::kDefaultAnimals) {
            double d2 = 0;
            benchmark::DoNotOptimize(map.FindWinner(animal, &d2));
            sum += std::sqrt(d2);
        }
        benchmark::DoNotOptimize(sum);
    };
    auto without = [&](int) {
        for (const auto& animal : kv::som::kDefaultAnimals) benchmark::DoNotOptimize(map.FindWinner(animal));
    };
    for (auto _ : state) with(0);
    state.counters["with/without"] = kv::bench::MeasureFloor(with, without, 2000).ratio();
}
BENCHMARK(BM_SomWinnerSearchWithDistance)->Unit(benchmark::kMicrosecond);
