// A Boltzmann machine of ten stochastic binary units (threshold, three inputs, five hidden
// units, one output) that learns a probabilistic mapping from a 3-bit input to a 1-bit
// output: each iteration draws a pattern and a target output, runs a clamped and a free
// phase, and moves every joined weight by the difference of their co-occurrence
// frequencies. The execution check runs the machine freely for every pattern.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace kv::boltzmann {

class BoltzmannLearning {
public:
    static constexpr int kUnits = 10;
    static constexpr int kThreshold = 0, kFirstInput = 1, kFirstHidden = 4, kOutput = 9;
    static constexpr int kPatterns = 8;
    static constexpr int kConnections = 26;
    // Sweep and iteration counts are 16-bit counters.
    static constexpr int kMaxCount = std::numeric_limits<std::int16_t>::max();

    struct Training {
        std::array<double, kPatterns> inputProb;                    // how often pattern k occurs
        std::array<std::array<double, 2>, kPatterns> targetProb;    // q0, q1 of pattern k
        int numUpdate;                                              // sweeps per phase, 1..kMaxCount
        double epsilon;                                             // weight correction coefficient
    };
    static constexpr Training kDefaultTraining = {
        {0.2, 0.2, 0, 0, 0.2, 0, 0.2, 0.2},
        {{{1, 0}, {0, 1}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {1, 0}, {0, 1}}},
        400,
        0.2,
    };
    static constexpr int kDefaultNumLearn = 5000;

    // Whether units i and j are joined (symmetric, never a unit with itself).
    static bool Connection(int i, int j);
    // The weight box of a joined pair i < j: 0..5 thresholds of units 4..9, 6..20 input to
    // hidden, 21..25 hidden to output; -1 for any other pair.
    static int WeightBoxIndex(int i, int j);
    // The three binary digits of pattern k, most significant first: "110" for 6.
    static std::string PatternText(int k);

    // What the window shows in the middle of an iteration, when it asks to.
    struct Observer {
        std::function<void()> clamped;  // after the clamped phase
        std::function<void()> updated;  // after the weight update, before the error
    };

    // Reads the training data and parameters, clears every weight and the iteration
    // counter. Unit states and the last output tallies are kept.
    void InitialiseLearning(const Training& training);

    // One learning iteration (the window counts it in NumOfLearn).
    void LearnIteration(const Observer& observer = {});

    struct CheckResult {
        std::array<std::array<double, 2>, kPatterns> outProb;
        double expectedError;
    };
    // The free runs of all eight patterns.
    CheckResult ExecutionCheck();

    // 1 with probability 1 / (1 + e^(-u)), one draw; never fires where e^(-u) would
    // overflow.
    static int SampleUnit(double u);

    double W(int i, int j) const { return w_.at(i).at(j); }
    int X(int i) const { return x_.at(i); }
    // Sums over the sweeps of the last iteration's phases, for j < i (0 elsewhere).
    double PosStat(int j, int i) const { return pos_.at(j).at(i); }
    double NegStat(int j, int i) const { return neg_.at(j).at(i); }
    double OutProb(int k, int v) const { return outProb_.at(k).at(v); }
    int OutCount(int k, int v) const { return outCount_.at(k).at(v); }
    int InputIndex() const { return inputIndex_; }
    int TargetValue() const { return targetValue_; }  // the output held in the clamped phase
    int OutputValue() const { return outputValue_; }
    double LearnError() const { return learnError_; }
    double NumOfLearn() const { return numOfLearn_; }
    void SetNumOfLearn(double n) { numOfLearn_ = n; }

private:
    static constexpr int kFree = kUnits - kFirstHidden;  // hidden units and output: 6
    static constexpr int kConfigs = 1 << kFree;
    // How often each configuration of the hidden units and the output (bit u - kFirstHidden
    // for unit u) ended a sweep of a phase.
    using Seen = std::array<int, kConfigs>;

    // `n` sweeps over the hidden units and, when `free`, the output, each tallied in `seen`;
    // the states end as the last sweep left them.
    void RunPhase(int n, bool free, Seen& seen);
    // stat(j, i) = sum over the phase's sweeps of x_j x_i, for joined pairs.
    void Tally(const Seen& seen, std::array<std::array<double, kUnits>, kUnits>& stat) const;
    int DrawPattern();
    int DrawTarget(int k);
    void SetInputs(int k);

    Training training_ = kDefaultTraining;
    std::array<double, kPatterns + 1> inputCum_{};
    std::array<std::array<double, 3>, kPatterns> targetCum_{};

    std::array<std::array<double, kUnits>, kUnits> w_{};
    std::array<std::int16_t, kUnits> x_{1};
    std::array<std::array<double, kUnits>, kUnits> pos_{}, neg_{};
    std::array<std::array<std::int16_t, 2>, kPatterns + 2> outCount_{};
    std::array<std::array<double, 2>, kPatterns + 2> outProb_{};
    int inputIndex_ = 0;
    int targetValue_ = 0;
    int outputValue_ = 0;
    double numOfLearn_ = 0;
    double learnError_ = 0;
};

// The connection matrix as 12 lines joined by CR LF: heads, rule, one line per unit.
std::string ConnectionTableText();

// The debug report of the last iteration: the clamped and free statistics and the weights.
std::string DebugReportText(const BoltzmannLearning& m);

}  // namespace kv::boltzmann
