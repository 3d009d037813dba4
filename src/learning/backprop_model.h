// The 3-5-1 sigmoid network that learns six patterns by error back-propagation, one
// pattern at a time. Learning can be taken one small operation at a time (the model knows
// which operation comes next), run as whole passes until the largest pattern error falls
// below an allowed error, or the network can simply be run on three inputs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

namespace kv::learning {

class BackpropNetwork {
public:
    static constexpr int kPatterns = 6;
    static constexpr int kInputs = 3;     // input 3 is the constant 1 that carries the thresholds
    static constexpr int kHidden = 5;     // hidden unit 5 is the constant 1 for the output threshold
    static constexpr int kTableSize = 200;
    static constexpr double kGain = 2.0;
    static constexpr double kLearnRate = 0.05;
    static constexpr int kProgressEvery = 20;
    // Pass counts stay below the top of a 16-bit counter, which a loop stepping past its
    // last pass would overflow.
    static constexpr std::int16_t kMaxPasses = std::numeric_limits<std::int16_t>::max() - 1;

    // Training values beyond this size would, over enough passes, drive the weights past a
    // double; within it they stay finite for any number of passes a learner can run.
    static constexpr double kMaxTrainingMagnitude = 1e6;
    static bool TrainingValueFits(double v);  // true within -kMaxTrainingMagnitude .. kMaxTrainingMagnitude

    struct TrainingSet {
        std::array<std::array<double, kInputs>, kPatterns> x;
        std::array<double, kPatterns> t;
    };

    static constexpr TrainingSet kDefaultTraining = {
        {{{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 0, 1}}},
        {0, 1, 1, 0, 1, 1},
    };

    // The table entry that stands for a weighted sum: the sum rounded to a multiple of 0.1
    // (halves upward) and clamped to -10.0 .. 9.9. A sum that is not a number (weights that
    // overflowed) takes the lowest entry.
    static int TableIndex(double u);

    // The whole passes a typed count n asks for (r = 1, 2, ... while r <= n; none below 1), or
    // nothing when n is negative, no number, or above kMaxPasses.
    static std::optional<std::int16_t> PassCount(double n);

    // How far a batch of n passes (n as read, at least 1) is when pass `pass` begins, in percent.
    static double ProgressPercent(std::int16_t pass, double n);

    // The operations of one pattern, in the order the step-by-step learning performs them.
    enum class Stage : std::int16_t {
        kLoadPattern = 0,
        kForwardHidden = 1,        // once per hidden unit
        kForwardOutput = 2,
        kComputeError = 3,
        kBackpropOutput = 4,
        kUpdateInputWeights = 5,   // once per input, the threshold input last
        kEndPattern = 6,
    };

    // What one step did: the stage, and the pattern, hidden unit or input it worked on
    // (for the end of a pattern, the pattern counter as it stood: 6 right after a batch).
    struct Step {
        Stage stage;
        std::int16_t index;
        // Pattern 0 begins and a batch or a run came between it and the pattern before:
        // what the screen shows may be theirs, not the step-by-step learning's.
        bool restarted;
    };

    // Batch learning reports through these; any may be left empty.
    struct BatchObserver {
        std::function<void(std::int16_t pass, double n)> progress;            // before every 20th pass
        std::function<void(double patError)> patternError;                    // after each pattern's error
        std::function<void(double maxError)> passEnd;                         // after each pass
    };

    BackpropNetwork();  // initialised with the default training set

    // Fresh weights, cleared errors, and step-by-step learning back at pattern 0.
    void Initialise(const TrainingSet& training);

    // Performs the next operation of step-by-step learning and says which it was.
    // A batch leaves the pattern, hidden-unit and input counters one past their ranges, a
    // run the hidden-unit counter: a stage that would read such a counter starts the
    // step-by-step learning over at pattern 0; any other stage carries on where it was.
    Step Advance();

    // Batch learning taken one pass at a time, for a caller that does other work between
    // passes (shows progress, lets the learner act). The network must outlive it.
    class Batch {
    public:
        // The passes of PassCount(n), until a pass's largest pattern error is below
        // `limitError`.
        Batch(BackpropNetwork& net, double n, double limitError);
        // Learns the next pass; false once the batch has ended (at once when it has no pass).
        bool Next(const BatchObserver& observer = {});
        bool Ended() const { return ended_; }
        std::int16_t Pass() const { return pass_; }  // passes learnt so far
        // What the progress report says before the next pass: the last pass divisible by
        // kProgressEvery up to that one (0 before the first such pass).
        std::int16_t ProgressPass() const {
            const int next = pass_ + 1;
            return static_cast<std::int16_t>(next - next % kProgressEvery);
        }
        double N() const { return n_; }
        // The pass that got below the limit, or n as given when none did (also when there
        // was no pass).
        double Result() const { return result_; }

    private:
        BackpropNetwork& net_;
        double n_, limitError_, result_;
        std::int16_t passes_, pass_ = 0;
        bool ended_ = false;
    };

    // A whole batch (see Batch). Returns its result.
    double LearnBatch(double n, double limitError, const BatchObserver& observer = {});

    // The forward pass for three given inputs; weights and errors stay as they are.
    void Run(const std::array<double, kInputs>& inputs);

    double Lookup(double u) const { return sigTable_[static_cast<std::size_t>(TableIndex(u))]; }
    double SigTable(int i) const { return sigTable_.at(static_cast<std::size_t>(i)); }

    double X(int k) const { return x_.at(static_cast<std::size_t>(k)); }
    double W1(int k, int h) const { return w1_.at(static_cast<std::size_t>(k)).at(static_cast<std::size_t>(h)); }
    double W2(int h) const { return w2_.at(static_cast<std::size_t>(h)); }
    double H(int h) const { return h_.at(static_cast<std::size_t>(h)); }
    double O() const { return o_; }
    double D1(int h) const { return d1_.at(static_cast<std::size_t>(h)); }
    double D2() const { return d2_; }
    double PatError() const { return patError_; }
    double MaxError() const { return maxError_; }
    Stage CurrentStage() const { return stage_; }
    std::int16_t PatIndex() const { return patIndex_; }

private:
    void SetInputs(const std::array<double, kInputs>& inputs);
    void LoadPattern();
    void ForwardHidden();
    void ForwardOutput();
    void Forward();
    void ComputeError();
    void BackpropOutput();
    void UpdateInputWeights();
    void UpdateMaxError();
    void LearnPattern(const BatchObserver& observer);
    void Restart();
    bool StageCountersInRange() const;

    std::array<double, kTableSize> sigTable_{};
    TrainingSet train_{};
    std::array<double, kInputs + 1> x_{};
    std::array<std::array<double, kHidden>, kInputs + 1> w1_{};
    std::array<double, kHidden + 1> h_{};
    std::array<double, kHidden + 1> w2_{};
    std::array<double, kHidden + 1> d1_{};
    double o_ = 0, d2_ = 0;
    double patError_ = 0, maxError_ = 0;

    Stage stage_ = Stage::kLoadPattern;
    std::int16_t patIndex_ = 0, hidIndex_ = 0, inIndex_ = 0;
    bool interrupted_ = false;  // a batch or a run came since the current pattern began
};

}  // namespace kv::learning
