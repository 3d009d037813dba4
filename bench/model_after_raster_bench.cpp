// Whether drawing just before a model's loop slows the loop. Qt's raster code can leave the
// upper halves of the AVX registers dirty; on some processors every exp then called from the
// program's SSE2 code pays two state transitions, about thirty times the exponential itself.
// The models clear that state before their loops of exponentials. Each model batch here is
// timed right after a QImage is filled and drawn on with QPainter, and with nothing before
// it, alternately: the ratio of the medians is 1 when the model is immune. A bare loop of
// 4001 exponentials that nothing clears shows whether this processor pays for the state at all.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "boltzmann/boltzmann_exec_model.h"
#include "boltzmann/boltzmann_learning_model.h"
#include "learning/unit_learning_model.h"
#include "plot/random.h"

namespace {

using kv::boltzmann::BoltzmannExec;
using kv::boltzmann::BoltzmannLearning;

// What a window's paint does: a plot filled, a thick smooth curve and a label drawn.
void Raster() {
    static QImage image(440, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(QPointF(10, 290), QPointF(430, 10));
    p.drawText(QPointF(20, 20), QStringLiteral("1"));
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The median time of `model` right after Raster over its median with nothing before it.
template <typename Model>
double AfterRasterRatio(Model model, int rounds) {
    std::vector<double> after, alone;
    for (int i = 0; i < rounds; ++i) {
        Raster();
        double start = ThreadSeconds();
        model();
        after.push_back(ThreadSeconds() - start);
        start = ThreadSeconds();
        model();
        alone.push_back(ThreadSeconds() - start);
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return median(after) / median(alone);
}

void LearningBatch() {
    kv::SeedRandomForTest(7);
    BoltzmannLearning m;
    m.InitialiseLearning(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) m.LearnIteration();
    benchmark::DoNotOptimize(m.ExecutionCheck());
}

void ExecBatch() {
    BoltzmannExec m;
    m.SetWeights(BoltzmannExec::kDefaultWeights);
    benchmark::DoNotOptimize(m.Batch(BoltzmannExec::kMaxCount, 0.5));
}

void UnitLearningBatch() {
    kv::learning::UnitLearningModel m;
    m.Initialise();
    benchmark::DoNotOptimize(
        m.Batch(500, [](int k) { return std::optional(kv::learning::kDefaultUnitPatterns[static_cast<std::size_t>(k)]); }));
}

// The sigmoid curve's 4001 exponentials with nothing cleared before them.
void BareExponentials() {
    double sum = 0;
    for (int i = 0; i <= 4000; ++i) sum += 1 / (1 + std::exp(-(i - 2000) * 0.001));
    benchmark::DoNotOptimize(sum);
}

}  // namespace

static void BM_ModelAfterRaster(benchmark::State& state) {
    for (auto _ : state) {
        Raster();
        LearningBatch();
    }
    state.counters["learningBatch:afterRaster/alone"] = AfterRasterRatio(LearningBatch, 15);
    state.counters["execBatch:afterRaster/alone"] = AfterRasterRatio(ExecBatch, 41);
    state.counters["unitLearning500:afterRaster/alone"] = AfterRasterRatio(UnitLearningBatch, 41);
    state.counters["bareExp4001:afterRaster/alone"] = AfterRasterRatio(BareExponentials, 101);
}
BENCHMARK(BM_ModelAfterRaster)->Unit(benchmark::kMillisecond)->Iterations(3);
