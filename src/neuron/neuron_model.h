// The single neuron with its inputs, weights and output functions.
#pragma once

#include <limits>
#include <optional>

namespace kv::neuron {

// 1 when s reaches the threshold (equality fires), else 0.
double StepOutput(double s, double theta);

// The analog neuron's output: Sigmoid(s - theta, alpha).
double AnalogOutput(double s, double theta, double alpha);

// 1 with probability AnalogOutput(s, theta, alpha), else 0: draws exactly one Rnd.
double StochasticOutput(double s, double theta, double alpha);

// The neuron whose internal state moves towards the weighted sum by a fraction StepSize of
// the gap at each step.
class TimeEvolution {
public:
    struct Step {
        double previous;  // the state before the step
        double dS;
        double Snew;
        bool settled;  // |dS| < StepSize * 0.00001, or the state has stalled: the run is over
    };

    // Step sizes for which the state converges to the sum: kMinStepSize < epsilon < kMaxStepSize.
    static constexpr double kMinStepSize = 0, kMaxStepSize = 2;
    static bool StepSizeConverges(double epsilon);

    // Back to S = 0 with a new step size.
    void Start(double epsilon);

    // One step towards `sum`. Nothing, and the state unchanged, when the sum or the new
    // state is beyond a double.
    std::optional<Step> Advance(double sum);

    double StateU() const { return stateU_; }
    double StepSize() const { return stepSize_; }

private:
    double stateU_ = 0;
    double stepSize_ = 0;
    // For the stall test: the state before StateU and the sum of the last step.
    double earlier_ = std::numeric_limits<double>::quiet_NaN();
    double lastSum_ = 0;
};

}  // namespace kv::neuron
