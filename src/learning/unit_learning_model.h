// One sigmoid neuron with two inputs and a fixed input of 1 (whose weight acts as the
// threshold) learning six patterns by the gradient rule, in forward and update phases.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace kv::learning {

// Input 1, input 2 and the teacher's output of one training pattern.
struct UnitPattern {
    double input1 = 0.0;
    double input2 = 0.0;
    double teacher = 0.0;
};

inline constexpr int kUnitPatternCount = 6;

// The training set the window starts with.
inline constexpr std::array<UnitPattern, kUnitPatternCount> kDefaultUnitPatterns = {{
    {0, 1, 0}, {1, 0, 0}, {0, 0, 0}, {1, 3, 1}, {2, 1, 1}, {1.5, 2, 1},
}};

// Pattern k of the training set, or nothing when it cannot be read (the caller has told
// the learner why).
using UnitPatternSource = std::function<std::optional<UnitPattern>(int k)>;

// What one press of sequential learning did.
struct UnitStep {
    enum Outcome {
        kForward,     // forward phase of `pattern`
        kUpdate,      // update phase of `pattern`
        kUnread,      // the source gave no pattern; nothing changed
        kOverflow,    // the arithmetic left the range of a double; nothing changed
    };
    Outcome outcome = kForward;
    int pattern = 0;
    bool passFinished = false;  // this update ended a pass through the six patterns
    double passError = 0.0;     // ErrSum of that pass
};

// What a batch run did.
struct UnitBatch {
    long passes = 0;          // passes completed
    long forwards = 0;        // forward phases performed
    long updates = 0;         // update phases performed
    bool stopped = false;     // ended early at `pattern` (unread or overflow)
    bool overflow = false;
    int pattern = 0;
};

class UnitLearningModel {
public:
    // A batch of more passes than this is refused: nobody waits for it, the neuron has
    // long settled.
    static constexpr double kMaxPasses = 1'000'000;

    UnitLearningModel() { Initialise(); }

    // Weights 0 and the counters at pattern 0, forward phase. Keeps X1, X2, Y, T and Delta.
    void Initialise();

    // Forward phase of `p`: sets X1, X2, X3 = 1, T, Y and Delta. False (nothing changed)
    // when a result would not be a finite double.
    bool ForwardStep(const UnitPattern& p);

    // Update phase with what the last forward phase or normal run left; adds (y - t)^2 to
    // ErrSum. False (nothing changed) on overflow.
    bool UpdateWeights();

    // One press of sequential learning: the forward phase of the current pattern, or its
    // update phase, after which the next pattern follows and a pass may end.
    UnitStep Step(const UnitPatternSource& source);

    // The number of passes a typed count asks for: passes r = 1, 2, ... while r <= n.
    // Nothing for a negative count or one above kMaxPasses.
    static std::optional<long> PassCount(double n);

    // `passes` passes, each clearing ErrSum and learning patterns 0..5 in turn, and told
    // to `passEnd` with its ErrSum. Leaves TrainIndex at the last pattern used and StepPhase
    // as it was.
    UnitBatch Batch(long passes, const UnitPatternSource& source, const std::function<void(double errSum)>& passEnd = {});

    // Output for the given inputs and weights (the learned W is not used); overwrites X1,
    // X2, X3 and Y, which the next update phase then uses. Nothing on overflow.
    std::optional<double> NormalRun(double in1, double in2, const std::array<double, 3>& w);

    // W(1), W(2), W(3); W(0) stays 0.
    double W(int i) const { return W_.at(static_cast<std::size_t>(i)); }
    std::int16_t TrainIndex() const { return TrainIndex_; }
    std::int16_t StepPhase() const { return StepPhase_; }
    double X1() const { return X1_; }
    double X2() const { return X2_; }
    double X3() const { return X3_; }
    double Y() const { return Y_; }
    double T() const { return T_; }
    double Delta() const { return Delta_; }
    double ErrSum() const { return ErrSum_; }

private:
    std::array<double, 4> W_{};
    double Gain_ = 2.0;
    double LearnRate_ = 0.5;
    std::int16_t TrainIndex_ = 0;
    std::int16_t StepPhase_ = 0;
    double X1_ = 0.0, X2_ = 0.0, X3_ = 1.0;
    double Y_ = 0.0, T_ = 0.0, Delta_ = 0.0;
    double ErrSum_ = 0.0;
};

}  // namespace kv::learning
