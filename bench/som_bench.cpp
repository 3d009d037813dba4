// What the learner waits for in the map windows: opening one (256 table boxes), a step, a
// 200-step batch and a drawing of the map, each next to its floor, and how soon a stop
// ends a batch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "floor_ratio.h"
#include "kit/registry.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "som/frmLVQ.h"
#include "som/frmSOM.h"
#include "som/som_model.h"

namespace {

using kv::som::kDefaultAnimals;

void Press(QWidget* w, const char* slot) { QMetaObject::invokeMethod(w, slot, Qt::DirectConnection); }

// Opening: built with its defaults, loaded (the first map drawn) and shown.
void OpenSom() {
    const std::unique_ptr<kv::frmSOM> w(kv::BuildWindow<kv::frmSOM>());
    w->show();
    w->repaint();
}

// The floor of opening: a bare window with 256 boxes, shown.
void OpenBareBoxes() {
    QWidget w;
    for (int i = 0; i < 256; ++i) {
        auto* b = new QLineEdit(QStringLiteral("0"), &w);
        b->setGeometry(i % 16 * 52, i / 16 * 20, 50, 20);
    }
    w.show();
    w.repaint();
}

void ModelBatch200() {
    kv::som::SomMap map;
    map.MapInit(kv::som::InitMethod::kRandomAndAnimals, kDefaultAnimals, 0.3, 4, 200);
    for (int s = 0; s < 200; ++s) benchmark::DoNotOptimize(map.MapStep(kDefaultAnimals));
}

void LvqModelBatch200() {
    kv::som::LvqMap map;
    map.MapInit(0.3, 200);
    for (int s = 0; s < 200; ++s) benchmark::DoNotOptimize(map.MapStep(kDefaultAnimals));
}

template <typename W = kv::frmSOM>
std::unique_ptr<W> Shown() {
    std::unique_ptr<W> w(kv::BuildWindow<W>());
    w->show();
    QApplication::processEvents();
    return w;
}

double Median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// "一括実行" with the default 200 steps, press to final paint, over the model's own 200
// steps: the batch lets events through and writes its counter only by the batch runner's
// clock, so a batch this short runs without a break and paints only its last map.
template <typename W, typename Floor>
void BatchAgainstFloor(benchmark::State& state, Floor floor) {
    const auto w = Shown<W>();
    auto press = [&] {
        Press(w.get(), "Command3_Click");
        QApplication::processEvents();
    };
    for (auto _ : state) press();
    const auto m = kv::bench::MeasureFloor([&](int) { press(); }, [&](int) { floor(); }, 60);
    state.counters["press_ms"] = m.subject * 1e3;
    state.counters["floor_ms"] = m.floor * 1e3;
    state.counters["x_floor"] = m.ratio();
}

}  // namespace

static void BM_SomWindowOpen(benchmark::State& state) {
    for (auto _ : state) OpenSom();
    state.counters["x_floor"] = kv::bench::FloorRatio([](int) { OpenSom(); }, [](int) { OpenBareBoxes(); }, 20);
}
BENCHMARK(BM_SomWindowOpen)->Unit(benchmark::kMillisecond);

static void BM_LvqWindowOpen(benchmark::State& state) {
    for (auto _ : state) {
        const std::unique_ptr<kv::frmLVQ> w(kv::BuildWindow<kv::frmLVQ>());
        w->show();
        w->repaint();
    }
}
BENCHMARK(BM_LvqWindowOpen)->Unit(benchmark::kMillisecond);

// "逐次実行": reading the table, one step over the sixteen animals and the drawing.
static void BM_SomWindowStep(benchmark::State& state) {
    const auto w = Shown();
    kv::som::SomMap map;
    map.MapInit(kv::som::InitMethod::kRandomAndAnimals, kDefaultAnimals, 0.3, 4, 30000);
    auto press = [&] {
        Press(w.get(), "Command2_Click");
        QApplication::processEvents();  // repaints what the step changed
    };
    for (auto _ : state) press();
    state.counters["x_floor"] = kv::bench::FloorRatio(
        [&](int) { press(); }, [&](int) { benchmark::DoNotOptimize(map.MapStep(kDefaultAnimals)); }, 100);
}
BENCHMARK(BM_SomWindowStep)->Unit(benchmark::kMicrosecond);

static void BM_SomWindowBatch200(benchmark::State& state) { BatchAgainstFloor<kv::frmSOM>(state, ModelBatch200); }
BENCHMARK(BM_SomWindowBatch200)->Unit(benchmark::kMillisecond);

static void BM_LvqWindowBatch200(benchmark::State& state) { BatchAgainstFloor<kv::frmLVQ>(state, LvqModelBatch200); }
BENCHMARK(BM_LvqWindowBatch200)->Unit(benchmark::kMillisecond);

// "一括実行停止" pressed while a batch of 30000 steps runs: the press is posted from another
// thread, as the display system delivers one, at moments spread over the runner's period;
// the time is from the post to the end of the batch with its last map painted. Counters:
// the median, the 90th percentile and the largest of 20 presses, in milliseconds (on a
// busy machine the largest also holds the time the program waited for a processor).
static void BM_SomBatchStopAnswer(benchmark::State& state) {
    const auto w = Shown();
    w->findChild<QLineEdit*>("txtLoop")->setText("30000");
    std::vector<double> answers;
    for (auto _ : state) {
        for (int k = 0; k < 20; ++k) {
            std::chrono::steady_clock::time_point pressed;
            std::thread presser([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(40 + 3 * k));
                pressed = std::chrono::steady_clock::now();
                QMetaObject::invokeMethod(w.get(), "Command6_Click", Qt::QueuedConnection);
            });
            Press(w.get(), "Command3_Click");
            QApplication::processEvents();
            const auto ended = std::chrono::steady_clock::now();
            presser.join();
            answers.push_back(std::chrono::duration<double, std::milli>(ended - pressed).count());
        }
    }
    std::sort(answers.begin(), answers.end());
    state.counters["median_ms"] = Median(answers);
    state.counters["p90_ms"] = answers[answers.size() * 9 / 10];
    state.counters["max_ms"] = *std::max_element(answers.begin(), answers.end());
}
BENCHMARK(BM_SomBatchStopAnswer)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_SomModelBatch200Floor(benchmark::State& state) {
    for (auto _ : state) ModelBatch200();
}
BENCHMARK(BM_SomModelBatch200Floor)->Unit(benchmark::kMillisecond);

// One drawing of the map (cells, dots, names, both boundaries) next to the 256 cells alone.
static void BM_SomMapDraw(benchmark::State& state) {
    const auto w = Shown();
    auto* surface = w->findChild<kv::PlotSurface*>("Picture1");
    auto draw = [&] {
        w->MapDraw();
        benchmark::DoNotOptimize(surface->image().constBits());
    };
    auto cells = [&] {
        surface->Cls();
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y) surface->FilledBox(x, y, x + 1, y + 1, (x + y) % 2 ? kv::kYellow : kv::kRed);
        benchmark::DoNotOptimize(surface->image().constBits());
    };
    for (auto _ : state) draw();
    state.counters["x_floor"] = kv::bench::FloorRatio([&](int) { draw(); }, [&](int) { cells(); }, 100);
}
BENCHMARK(BM_SomMapDraw)->Unit(benchmark::kMicrosecond);

// Reading the 256 table boxes, as every step does, against the step's arithmetic.
static void BM_SomReadTable(benchmark::State& state) {
    const auto w = Shown();
    std::vector<QLineEdit*> boxes;
    for (int i = 0; i < 256; ++i) boxes.push_back(w->findChild<QLineEdit*>(QStringLiteral("Text1(%1)").arg(i)));
    auto read = [&] {
        double sum = 0;
        for (QLineEdit* b : boxes) sum += *kv::PeekVal(b);
        benchmark::DoNotOptimize(sum);
    };
    kv::som::SomMap map;
    map.MapInit(kv::som::InitMethod::kRandomAndAnimals, kDefaultAnimals, 0.3, 4, 30000);
    for (auto _ : state) read();
    state.counters["x_step"] = kv::bench::FloorRatio(
        [&](int) { read(); }, [&](int) { benchmark::DoNotOptimize(map.MapStep(kDefaultAnimals)); }, 200);
}
BENCHMARK(BM_SomReadTable)->Unit(benchmark::kMicrosecond);
