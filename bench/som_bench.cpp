// What the learner waits for in the map windows: opening one (256 table boxes), a step, a
// 200-step batch and a drawing of the map, each next to its floor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>

#include <algorithm>
#include <memory>
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

std::unique_ptr<kv::frmSOM> Shown() {
    std::unique_ptr<kv::frmSOM> w(kv::BuildWindow<kv::frmSOM>());
    w->show();
    QApplication::processEvents();
    return w;
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

// "一括実行" with the default 200 steps, as the window runs it: events let through before
// every step, the counter repainted, the map drawn at the start and the end.
static void BM_SomWindowBatch200(benchmark::State& state) {
    const auto w = Shown();
    auto press = [&] {
        Press(w.get(), "Command3_Click");
        QApplication::processEvents();
    };
    for (auto _ : state) press();
    state.counters["x_floor"] = kv::bench::FloorRatio([&](int) { press(); }, [](int) { ModelBatch200(); }, 10);
}
BENCHMARK(BM_SomWindowBatch200)->Unit(benchmark::kMillisecond);

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
