#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "../tests/boltzmann/reference_learning.h"
#include "boltzmann/boltzmann_exec_model.h"
#include "boltzmann/boltzmann_learning_model.h"
#include "boltzmann/frmBoltzmannMachineExec.h"
#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "floor_ratio.h"
#include "kit/registry.h"
#include "plot/random.h"

namespace {

using kv::boltzmann::BoltzmannExec;

void ExecModelBatch() {
    BoltzmannExec m;
    m.SetWeights(BoltzmannExec::kDefaultWeights);
    benchmark::DoNotOptimize(m.Batch(BoltzmannExec::kMaxCount, 0.5));
}

}  // namespace

// The three-unit machine alone: a batch of 32767 updates at the default temperature.
static void BM_BoltzmannExecModelBatch(benchmark::State& state) {
    kv::SeedRandomForTest(1);
    for (auto _ : state) ExecModelBatch();
}
BENCHMARK(BM_BoltzmannExecModelBatch)->Unit(benchmark::kMicrosecond);

// "一括実行" with 32767 updates as the learner waits for it: the press and the repaint of
// the window, next to the model's batch alone (the floor); the ratio of the medians.
static void BM_BoltzmannExecWindowBatch(benchmark::State& state) {
    const std::unique_ptr<kv::frmBoltzmannMachineExec> owned(kv::BuildWindow<kv::frmBoltzmannMachineExec>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit*>("txtLoop")->setText("32767");
    auto press = [&](int) {
        window.Command1_Click();
        window.repaint();
    };
    for (auto _ : state) press(0);
    state.counters["press/model"] = kv::bench::FloorRatio(press, [](int) { ExecModelBatch(); }, 20);
}
BENCHMARK(BM_BoltzmannExecWindowBatch)->Unit(benchmark::kMicrosecond);

// ---- The ten-unit machine's learning ----

namespace {

using kv::boltzmann::BoltzmannLearning;

// The default batch learning from cleared weights: 5000 iterations of 400 sweeps in each
// of the two phases, then the execution check.
void LearningModelBatch() {
    kv::SeedRandomForTest(7);
    BoltzmannLearning m;
    m.InitialiseLearning(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) {
        m.SetNumOfLearn(n);
        m.LearnIteration();
    }
    benchmark::DoNotOptimize(m.ExecutionCheck());
}

// The same iterations written straight from the description: dense net inputs, every pair
// tallied at every sweep.
void ReferenceBatch() {
    kv::SeedRandomForTest(7);
    kv::boltzmann::reference::Machine m(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) m.LearnIteration();
    benchmark::DoNotOptimize(m.w);
}

// The default batch and its execution check as a strong engineer writes it from scratch,
// drawing 24-bit numbers from `draw` (copied into the loops, so that a small generator's
// state stays in registers): in each iteration the 10 hidden and 32 output fields
// are turned once into thresholds, each draw is one integer compare, and the pair statistics
// come from per-unit on-counts. The same algorithm as the program's, so a floor for the
// program's overhead only.
template <typename Draw>
struct ThresholdLoop {
    static constexpr int kN = BoltzmannLearning::kUnits, kHidden = 5, kOut = 9;
    const BoltzmannLearning::Training& t = BoltzmannLearning::kDefaultTraining;
    Draw draw;
    double w[kN][kN] = {};
    int x[kN] = {1};
    std::array<int, 8> outOn{};

    float Rnd() { return static_cast<float>(draw()) * (1.0f / 16777216.0f); }
    // The joined units that are on, in increasing order: a hidden unit is joined to the
    // threshold unit, the inputs and the output (last).
    double HiddenField(int i) const {
        double u = 0;
        for (int j = 0; j < 4; ++j)
            if (x[j]) u += w[i][j];
        return u;
    }
    static std::uint32_t Threshold(double u) { return kv::RndThreshold(-u >= 709 ? 0.0 : 1 / (1 + std::exp(-u))); }

    // n sweeps; with `free` the output moves too. on[h]: sweeps hidden unit h was on; with[h]:
    // and the output too; the result: sweeps the output was on. Counted by configuration, one
    // increment a sweep.
    int Phase(int n, bool free, int out, std::array<int, kHidden>& on, std::array<int, kHidden>& with) {
        std::uint32_t th[2][kHidden] = {}, to[32] = {};
        for (int h = 0; h < kHidden; ++h) {
            const double u = HiddenField(4 + h);
            th[0][h] = free || out == 0 ? Threshold(u) : 0;
            th[1][h] = free || out == 1 ? Threshold(u + w[4 + h][kOut]) : 0;
        }
        if (free) {
            // The output is joined to the threshold unit and the hidden units: a configuration
            // adds its highest hidden unit last.
            double u[32] = {w[kOut][0]};
            for (int c = 1; c < 32; ++c) {
                const int top = std::bit_width(static_cast<unsigned>(c)) - 1;
                u[c] = u[c ^ (1 << top)] + w[kOut][4 + top];
            }
            for (int c = 0; c < 32; ++c) to[c] = Threshold(u[c]);
        }
        int seen[64] = {};  // sweeps that ended in each configuration: hidden bits, output bit 5
        Draw d = draw;
        for (int s = 0; s < n; ++s) {
            int c = 0;
            for (int h = 0; h < kHidden; ++h) c |= static_cast<int>(d() < th[out][h]) << h;
            if (free) out = d() < to[c];
            ++seen[c | out << 5];
        }
        draw = d;
        int outputOn = 0;
        for (int c = 0; c < 64; ++c) {
            outputOn += (c >> 5) * seen[c];
            for (int h = 0; h < kHidden; ++h) {
                on[h] += ((c >> h) & 1) * seen[c];
                with[h] += ((c >> h) & (c >> 5) & 1) * seen[c];
            }
        }
        x[kOut] = out;
        return outputOn;
    }

    void Batch() {
        const int n = t.numUpdate;
        double inCum[9] = {};
        for (int k = 0; k < 8; ++k) inCum[k + 1] = inCum[k] + t.inputProb[k];
        for (int it = 0; it < BoltzmannLearning::kDefaultNumLearn; ++it) {
            float r = Rnd();
            int k = 7;
            for (int c = 0; c < 8; ++c)
                if (inCum[c] <= r && r < inCum[c + 1] && t.inputProb[c] != 0) {
                    k = c;
                    break;
                }
            for (int i = 1; i <= 3; ++i) x[i] = (k >> (i - 1)) & 1;
            r = Rnd();
            const auto& q = t.targetProb[k];
            const int b = 0 <= r && r < q[0] && q[0] != 0 ? 0 : 1;  // 1 also where the draw falls past q0 + q1
            std::array<double, kN> pos[kN] = {}, neg[kN] = {};
            auto stats = [&](std::array<double, kN>* stat, const auto& on, const auto& with, int outputOn) {
                for (int h = 0; h < kHidden; ++h) {
                    for (int j = 0; j < 4; ++j) stat[j][4 + h] = x[j] ? on[h] : 0;
                    stat[4 + h][kOut] = with[h];
                }
                stat[0][kOut] = outputOn;
            };
            std::array<int, kHidden> on{}, with{};
            const int clampedOn = Phase(n, false, b, on, with);
            stats(pos, on, with, clampedOn);
            on = {};
            with = {};
            const int freeOn = Phase(n, true, b, on, with);
            stats(neg, on, with, freeOn);
            for (int i = 0; i < kN; ++i)
                for (int j = 0; j < i; ++j)
                    if (BoltzmannLearning::Connection(i, j)) w[i][j] = w[j][i] = w[j][i] + (pos[j][i] - neg[j][i]) * t.epsilon / n;
        }
        for (int k = 0; k < 8; ++k) {
            for (int i = 1; i <= 3; ++i) x[i] = (k >> (i - 1)) & 1;
            std::array<int, kHidden> on{}, with{};
            outOn[k] = Phase(n, true, x[kOut], on, with);
        }
    }
};

// The threshold loop with the program's own random source, seeded as LearningModelBatch is.
auto ProgramSourceLoop() {
    struct Draws {
        kv::RandomStream stream;
        std::uint32_t operator()() { return stream.Next24(); }
    };
    kv::SeedRandomForTest(7);
    ThresholdLoop<Draws> loop{.draw = {kv::SharedRandom()}};
    loop.Batch();
    benchmark::DoNotOptimize(loop.w);
    return loop;
}

// The same loop drawing from std::mt19937, which the random source used before.
void Mt19937Loop() {
    struct Draws {
        std::mt19937* engine;  // 5 kB of state: only its address is copied
        std::uint32_t operator()() { return static_cast<std::uint32_t>((*engine)() >> 8); }
    };
    std::mt19937 engine(7);
    ThresholdLoop<Draws> loop{.draw = {&engine}};
    loop.Batch();
    benchmark::DoNotOptimize(loop.w);
}

// What no program drawing from the random source can beat: the 22 029 200 draws of the
// default batch and its check, each used.
void DrawsAlone() {
    constexpr long kDraws = BoltzmannLearning::kDefaultNumLearn * (2 + 400 * 5 + 400 * 6) + 8 * 400 * 6;
    kv::RandomStream stream = kv::SharedRandom();
    std::uint32_t below = 0;
    for (long d = 0; d < kDraws; ++d) below += stream.Next24() < 0x800000u;
    benchmark::DoNotOptimize(below);
}

}  // namespace

static void BM_BoltzmannLearningModelBatch(benchmark::State& state) {
    for (auto _ : state) LearningModelBatch();
    state.counters["reference/model"] =
        kv::bench::FloorRatio([](int) { ReferenceBatch(); }, [](int) { LearningModelBatch(); }, 9);
    state.counters["thresholdLoop/model"] =
        kv::bench::FloorRatio([](int) { ProgramSourceLoop(); }, [](int) { LearningModelBatch(); }, 15);
}
BENCHMARK(BM_BoltzmannLearningModelBatch)->Unit(benchmark::kMillisecond)->Iterations(3);

// "一括学習" with the defaults as the learner waits for it (debug and step display off): the
// press and the paint it leaves to the event loop (the boxes it changed), next to
//  - the draws alone, the true floor;
//  - the threshold loop with the program's random source: the same algorithm, so the ratio
//    is the press's overhead only;
//  - that loop drawing from std::mt19937.
// The press followed by a repaint of the whole window is also timed against the loop, as a
// stricter figure. The loop is first checked to end with the model's very weights.
static void BM_BoltzmannLearningWindowBatch(benchmark::State& state) {
    kv::SeedRandomForTest(7);
    BoltzmannLearning m;
    m.InitialiseLearning(BoltzmannLearning::kDefaultTraining);
    for (int n = 1; n <= BoltzmannLearning::kDefaultNumLearn; ++n) m.LearnIteration();
    const auto check = m.ExecutionCheck();
    const auto loop = ProgramSourceLoop();
    for (int i = 0; i < BoltzmannLearning::kUnits; ++i)
        for (int j = 0; j < BoltzmannLearning::kUnits; ++j)
            if (loop.w[i][j] != m.W(i, j)) return state.SkipWithError("the threshold loop does not learn the model's weights");
    for (int k = 0; k < 8; ++k)
        if (loop.outOn[k] != m.OutCount(k, 1) || check.outProb[k][1] != m.OutProb(k, 1))
            return state.SkipWithError("the threshold loop does not check as the model does");

    const std::unique_ptr<kv::frmBoltzmannMachineLearning> owned(kv::BuildWindow<kv::frmBoltzmannMachineLearning>());
    auto& window = *owned;
    window.show();
    QApplication::processEvents();
    auto press = [&](int) {
        window.Command3_Click();
        QApplication::processEvents();
    };
    auto pressAndRepaint = [&](int) {
        window.Command3_Click();
        window.repaint();
    };
    for (auto _ : state) press(0);
    constexpr int kRounds = 15;
    const auto programLoop = [](int) { ProgramSourceLoop(); };
    state.counters["overheadOnly:press/thresholdLoop"] = kv::bench::FloorRatio(press, programLoop, kRounds);
    state.counters["overheadOnly:pressAndRepaint/thresholdLoop"] = kv::bench::FloorRatio(pressAndRepaint, programLoop, kRounds);
    state.counters["press/drawsAlone"] = kv::bench::FloorRatio(press, [](int) { DrawsAlone(); }, kRounds);
    state.counters["press/mt19937Loop"] = kv::bench::FloorRatio(press, [](int) { Mt19937Loop(); }, kRounds);
}
BENCHMARK(BM_BoltzmannLearningWindowBatch)->Unit(benchmark::kMillisecond)->Iterations(3);
