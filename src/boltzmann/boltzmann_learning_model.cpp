#include "boltzmann/boltzmann_learning_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "core/kernels.h"
#include "plot/numtext.h"
#include "plot/random.h"

namespace kv::boltzmann {
namespace {

using Model = BoltzmannLearning;

bool IsInput(int u) { return u >= Model::kFirstInput && u < Model::kFirstHidden; }
bool IsHidden(int u) { return u >= Model::kFirstHidden && u < Model::kOutput; }

struct Pair {
    int j, i;  // j < i
};

// The joined pairs j < i in the order of the weight update: i = 0..9, then j = 0..i-1.
const std::vector<Pair>& JoinedPairs() {
    static const std::vector<Pair> pairs = [] {
        std::vector<Pair> p;
        for (int i = 0; i < Model::kUnits; ++i)
            for (int j = 0; j < i; ++j)
                if (Model::Connection(i, j)) p.push_back({j, i});
        return p;
    }();
    return pairs;
}

constexpr int kHidden = Model::kOutput - Model::kFirstHidden;

// For each unit, the units joined to it in increasing order.
struct Neighbours {
    std::array<int, Model::kUnits> n{};
    std::array<std::array<int, Model::kUnits>, Model::kUnits> of{};
};
Neighbours MakeNeighbours() {
    Neighbours t;
    for (int i = 0; i < Model::kUnits; ++i)
        for (int j = 0; j < Model::kUnits; ++j)
            if (Model::Connection(i, j)) t.of[i][t.n[i]++] = j;
    return t;
}
// Built once at start: the fields read it without a guard.
const Neighbours kJoinedTo = MakeNeighbours();

using States = std::array<std::int16_t, Model::kUnits>;
using Weights = std::array<std::array<double, Model::kUnits>, Model::kUnits>;

// The net input of unit i: the weights of its joined units that are on, added in increasing
// order. That is the sum of all ten terms in order, since the others add exact zeros.
double Field(const Weights& w, const States& x, int i) {
    const Neighbours& nb = kJoinedTo;
    double u = 0;
    for (int n = 0; n < nb.n[i]; ++n) {
        const int j = nb.of[i][n];
        if (x[j]) u += w[i][j];
    }
    return u;
}

// Above this e^(-u) overflows a double.
constexpr double kExpLimit = 709.0;

double FireProbability(double u) { return -u >= kExpLimit ? 0.0 : 1 / (1 + std::exp(-u)); }

// n sweeps over the hidden units and, with kMovingOutput, the output: each draw compared
// with its unit's threshold, each configuration reached (hidden units' bits, the output's
// above them) counted in `tally`. `out` and `config` carry the states in and out.
template <bool kMovingOutput>
void Sweeps(int n, RandomStream& stream, const std::uint32_t (&hidden)[2][kHidden], const std::uint32_t* output, int& out,
            int& config, int* tally) {
    RandomStream random = stream;  // in registers through the loop
    int o = out, c = config;
    for (int s = 0; s < n; ++s) {
        const std::uint32_t* const t = hidden[o];
        c = 0;
        for (int h = 0; h < kHidden; ++h) c |= static_cast<int>(random.Next24() < t[h]) << h;
        if constexpr (kMovingOutput) o = random.Next24() < output[c] ? 1 : 0;
        ++tally[c | o << kHidden];
    }
    stream = random;
    out = o;
    config = c;
}

// The sweeps of a phase that ended with the output on (the top bit of a configuration).
int OutputOnCount(const std::array<int, 1 << (Model::kUnits - Model::kFirstHidden)>& seen) {
    int on = 0;
    for (std::size_t c = seen.size() / 2; c < seen.size(); ++c) on += seen[c];
    return on;
}

std::string PadLeft(const std::string& s, std::size_t width) {
    const std::string padded = std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
    return padded.substr(padded.size() - width);
}

}  // namespace

bool BoltzmannLearning::Connection(int i, int j) {
    if (i == j || i < 0 || j < 0 || i >= kUnits || j >= kUnits) return false;
    if (i > j) std::swap(i, j);
    if (i == kThreshold) return j >= kFirstHidden;
    if (IsInput(i)) return IsHidden(j);
    return IsHidden(i) && j == kOutput;
}

int BoltzmannLearning::WeightBoxIndex(int i, int j) {
    if (i > j) std::swap(i, j);
    if (!Connection(i, j)) return -1;
    if (i == kThreshold) return j - 4;
    if (IsInput(i)) return 5 * (i - 1) + j + 2;
    return i + 17;
}

std::string BoltzmannLearning::PatternText(int k) {
    return {static_cast<char>('0' + ((k >> 2) & 1)), static_cast<char>('0' + ((k >> 1) & 1)),
            static_cast<char>('0' + (k & 1))};
}

int BoltzmannLearning::SampleUnit(double u) { return Rnd() < FireProbability(u) ? 1 : 0; }

void BoltzmannLearning::InitialiseLearning(const Training& training) {
    training_ = training;
    inputCum_[0] = 0;
    for (int k = 0; k < kPatterns; ++k) {
        inputCum_[k + 1] = inputCum_[k] + training.inputProb[k];
        const auto& q = training.targetProb[k];
        targetCum_[k] = {0, q[0], q[0] + q[1]};
    }
    for (auto& row : w_) row.fill(0);
    numOfLearn_ = 0;
}

void BoltzmannLearning::SetInputs(int k) {
    x_[1] = static_cast<std::int16_t>(k & 1);
    x_[2] = static_cast<std::int16_t>((k >> 1) & 1);
    x_[3] = static_cast<std::int16_t>((k >> 2) & 1);
}

int BoltzmannLearning::DrawPattern() {
    const double r = Rnd();
    for (int k = 0; k < kPatterns; ++k)
        if (inputCum_[k] <= r && r < inputCum_[k + 1] && training_.inputProb[k] != 0) return k;
    return kPatterns - 1;
}

int BoltzmannLearning::DrawTarget(int k) {
    const double r = Rnd();
    for (int b = 0; b < 2; ++b)
        if (targetCum_[k][b] <= r && r < targetCum_[k][b + 1] && training_.targetProb[k][b] != 0) return b;
    return 1;
}

void BoltzmannLearning::RunPhase(int n, bool free, Seen& seen) {
    // With the inputs held, a hidden unit's field takes one value for each output state and
    // the output's one for each configuration of the hidden units (no hidden unit is joined
    // to another): 10 + 32 fields, each turned once into the threshold its draws are
    // compared with, rather than an exponential for each of the phase's 2000 or 2400 draws.
    // Every draw and every comparison is the one SampleUnit would make, in the same order.
    CleanVectorState();  // the window may have drawn since the last phase
    // Each field is summed as Field sums it, over the joined units that are on in increasing
    // order: a hidden unit's adds the output's weight last, and the output's for a
    // configuration adds the weight of its highest hidden unit last, to the sum for the
    // configuration without it. Plain arrays: the sweeps run in the sanitizer tests' debug
    // build too.
    States x = x_;
    x[kOutput] = 0;
    const int held = x_[kOutput];
    std::uint32_t hidden[2][kHidden] = {};
    for (int h = 0; h < kHidden; ++h) {
        const int i = kFirstHidden + h;
        const double u = Field(w_, x, i);
        for (int v = 0; v < 2; ++v)
            if (free || v == held) hidden[v][h] = RndThreshold(FireProbability(v ? u + w_[i][kOutput] : u));
    }
    std::uint32_t output[1 << kHidden] = {};
    if (free) {
        double u[1 << kHidden];
        for (int h = 0; h < kHidden; ++h) x[kFirstHidden + h] = 0;
        u[0] = Field(w_, x, kOutput);
        for (int c = 1; c < 1 << kHidden; ++c) {
            const int top = std::bit_width(static_cast<unsigned>(c)) - 1;
            u[c] = u[c ^ (1 << top)] + w_[kOutput][kFirstHidden + top];
        }
        for (int c = 0; c < 1 << kHidden; ++c) output[c] = RndThreshold(FireProbability(u[c]));
    }

    int out = x_[kOutput], config = 0;
    for (int h = 0; h < kHidden; ++h) config |= x_[kFirstHidden + h] << h;
    if (free)
        Sweeps<true>(n, SharedRandom(), hidden, output, out, config, seen.data());
    else
        Sweeps<false>(n, SharedRandom(), hidden, output, out, config, seen.data());
    for (int h = 0; h < kHidden; ++h) x_[kFirstHidden + h] = static_cast<std::int16_t>((config >> h) & 1);
    x_[kOutput] = static_cast<std::int16_t>(out);
}

void BoltzmannLearning::Tally(const Seen& seen, std::array<std::array<double, kUnits>, kUnits>& stat) const {
    // A joined pair is a held unit (threshold, input) with another, or a hidden unit with
    // the output: per-unit on-counts and per-hidden-unit counts with the output on cover
    // every pair. Whole counts, so the sums are those of adding 1 per sweep.
    int on[kFree] = {}, withOutput[kHidden] = {};
    for (int c = 0; c < kConfigs; ++c) {  // masks rather than branches: the compiler vectorises it
        for (int u = 0; u < kFree; ++u) on[u] += seen[c] & -((c >> u) & 1);
        for (int h = 0; h < kHidden; ++h) withOutput[h] += seen[c] & -((c >> h) & (c >> kHidden) & 1);
    }
    for (const Pair& p : JoinedPairs()) {
        const int total = p.j < kFirstHidden ? (x_[p.j] ? on[p.i - kFirstHidden] : 0) : withOutput[p.j - kFirstHidden];
        stat[p.j][p.i] = static_cast<double>(total);
    }
}

void BoltzmannLearning::LearnIteration(const Observer& observer) {
    const int k = DrawPattern();
    inputIndex_ = k;
    SetInputs(k);
    x_[kThreshold] = 1;
    for (auto& row : pos_) row.fill(0);
    for (auto& row : neg_) row.fill(0);
    outCount_[k] = {0, 0};
    outProb_[k] = {0, 0};

    const int b = DrawTarget(k);
    targetValue_ = outputValue_ = b;
    x_[kOutput] = static_cast<std::int16_t>(b);

    const int n = training_.numUpdate;
    Seen seen{};
    RunPhase(n, false, seen);  // the output is held: only the hidden units move
    Tally(seen, pos_);
    if (observer.clamped) observer.clamped();

    seen.fill(0);
    RunPhase(n, true, seen);
    Tally(seen, neg_);
    outputValue_ = x_[kOutput];
    const int outputOn = OutputOnCount(seen);
    outCount_[k] = {static_cast<std::int16_t>(n - outputOn), static_cast<std::int16_t>(outputOn)};
    for (int v = 0; v < 2; ++v) outProb_[k][v] = static_cast<double>(outCount_[k][v]) / n;

    for (const Pair& p : JoinedPairs()) {
        w_[p.j][p.i] = w_[p.j][p.i] + (pos_[p.j][p.i] - neg_[p.j][p.i]) * training_.epsilon / n;
        w_[p.i][p.j] = w_[p.j][p.i];
    }
    if (observer.updated) observer.updated();

    double e = 0;
    for (int v = 0; v < 2; ++v) {
        const double q = training_.targetProb[k][v];
        if (q != 0) e += q * std::log(q / (outProb_[k][v] + 0.00001));
    }
    learnError_ = e;
}

BoltzmannLearning::CheckResult BoltzmannLearning::ExecutionCheck() {
    for (auto& c : outCount_) c = {0, 0};
    for (auto& p : outProb_) p = {0, 0};
    const int n = training_.numUpdate;
    for (int k = 0; k < kPatterns; ++k) {
        SetInputs(k);
        // Hidden units and output carry their states over from the pattern before.
        Seen seen{};
        RunPhase(n, true, seen);
        const int outputOn = OutputOnCount(seen);
        outCount_[k] = {static_cast<std::int16_t>(n - outputOn), static_cast<std::int16_t>(outputOn)};
    }
    CheckResult result{};
    result.expectedError = 0;
    for (int k = 0; k < kPatterns; ++k) {
        double e = 0;
        for (int v = 0; v < 2; ++v) {
            outProb_[k][v] = static_cast<double>(outCount_[k][v]) / n;
            result.outProb[k][v] = outProb_[k][v];
            const double q = training_.targetProb[k][v];
            if (q != 0) e += q * std::log(q / (outProb_[k][v] + 0.000001));
        }
        result.expectedError += training_.inputProb[k] * e;
    }
    return result;
}

std::string ConnectionTableText() {
    std::string t = "    0 1 2 3 4 5 6 7 8 9\r\n--+--------------------";
    for (int i = 0; i < Model::kUnits; ++i) {
        t += "\r\n ";
        t += static_cast<char>('0' + i);
        t += '|';
        for (int j = 0; j < Model::kUnits; ++j) {
            t += ' ';
            t += Model::Connection(i, j) ? '1' : '0';
        }
    }
    return t;
}

std::string DebugReportText(const BoltzmannLearning& m) {
    const int k = m.InputIndex();
    std::string t = GeneralText(m.NumOfLearn()) + "回目　WP 出力　" + std::to_string(m.TargetValue()) + " 入力 " +
                    std::to_string(k) + " (" + Model::PatternText(k) + ")";
    auto block = [&](auto value, std::size_t width) {
        for (int i = 0; i < Model::kUnits; ++i) {
            t += "\r\n";
            for (int j = 0; j < i; ++j) t += PadLeft(value(j, i), width);
        }
    };
    block([&](int j, int i) { return GeneralText(m.PosStat(j, i)); }, 5);
    t += "\r\n\r\n WN ";
    block([&](int j, int i) { return GeneralText(m.NegStat(j, i)); }, 5);
    t += "\r\n\r\n W ";
    // A weight is printed whole, with its sign: every column is as wide as the widest
    // weight and a blank, so that no figure is cut and no two run together.
    auto weight = [&](int j, int i) { return Format(m.W(j, i), kFraction5); };
    std::size_t width = 8;
    for (int i = 0; i < Model::kUnits; ++i)
        for (int j = 0; j < i; ++j) width = std::max(width, weight(j, i).size() + 1);
    block(weight, width);
    return t;
}

}  // namespace kv::boltzmann
