// Learning the one parameter a of y = a x from five samples by gradient steps on the sum
// of squared errors: once per pass (batch) or after each sample (sequential), and the
// phases of the automatic run that repeats the learning.
#pragma once

#include <array>

namespace kv::linear {

struct Sample {
    double x = 0, y = 0;
};
inline constexpr int kSampleCount = 5;
using Samples = std::array<Sample, kSampleCount>;

enum class Update { Batch, Sequential };

// What a learning step did.
struct LearnMove {
    enum class Outcome {
        Learnt,
        Diverged,   // a or E is beyond a double: nothing changed
        CountFull,  // the step count would pass 32767: nothing changed
    };
    Outcome outcome = Outcome::Learnt;
    double aOld = 0, aNew = 0;
    double error = 0;      // E after the step
    int count = 0;         // steps since Initialise, this one included
    bool atLimit = false;  // set by this step or an earlier one since Initialise
};

class LinearLearner {
public:
    static constexpr double kLimit = 1e-7;   // a change of E below this ends the learning
    static constexpr int kMaxCount = 32767;  // the step count is a 16-bit number

    explicit LinearLearner(Update rule) : rule_(rule) {}

    // a = 0 and a fresh count; the error of the previous run stays, as the reference of
    // the next step's change.
    void Initialise(const Samples& samples, double eps);
    LearnMove LearnStep();

    // E = sum (y_i - a x_i)^2, plain (neither halved nor averaged).
    static double ErrorOf(const Samples& samples, double a);

    double ParamA() const { return paramA_; }
    double Eps() const { return eps_; }
    double ErrorSum() const { return errorSum_; }
    int TrainCount() const { return trainCount_; }
    bool AtLimit() const { return atLimit_; }
    const Samples& TrainData() const { return trainData_; }

private:
    Update rule_;
    Samples trainData_{};
    double paramA_ = 0;
    double eps_ = 0;
    double errorSum_ = 0;
    int trainCount_ = 0;
    bool atLimit_ = false;
};

// The automatic run's cycle: one tick initialises, five pause, each further tick learns
// until the error settles, then the final line blinks for 49 ticks at 5 ms and the cycle
// starts again at the learner's interval.
class AutoRun {
public:
    enum class Phase { Initialise, Pause, Learning, Blink };
    // What the window does on a tick.
    enum class Action {
        Initialise,     // initialise and draw the line on the axis
        Pause,          // nothing
        Learn,          // one learning step; report the outcome with Learnt()
        Blink,          // draw the final line once more in the blinking colour
        Restart,        // back to the learner's interval; the next tick initialises
    };
    static constexpr int kPauseTicks = 5;
    static constexpr int kBlinkTicks = 49;
    static constexpr int kBlinkInterval = 5;  // ms

    void Reset() { phase_ = Phase::Initialise; }
    Action Tick();
    // After a Learn action: a step that reached the limit starts the blinking (the window
    // removes the line and sets the 5 ms interval).
    void Learnt(bool atLimit);
    // The window could not take the learner's interval at Restart: the same tick comes
    // again.
    void RestartRefused();

    Phase CurrentPhase() const { return phase_; }

private:
    Phase phase_ = Phase::Initialise;
    int phaseCount_ = 0;
};

}  // namespace kv::linear
