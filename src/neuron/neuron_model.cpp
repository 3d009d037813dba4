#include "neuron/neuron_model.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "core/kernels.h"
#include "plot/random.h"

namespace kv::neuron {

double StepOutput(double s, double theta) { return s >= theta ? 1.0 : 0.0; }

double AnalogOutput(double s, double theta, double alpha) { return Sigmoid(s - theta, alpha); }

double StochasticOutput(double s, double theta, double alpha) {
    const double p = AnalogOutput(s, theta, alpha);
    return Rnd() < p ? 1.0 : 0.0;
}

bool TimeEvolution::StepSizeConverges(double epsilon) { return epsilon > kMinStepSize && epsilon < kMaxStepSize; }

void TimeEvolution::Start(double epsilon) {
    stateU_ = 0;
    stepSize_ = epsilon;
    earlier_ = std::numeric_limits<double>::quiet_NaN();
}

std::optional<TimeEvolution::Step> TimeEvolution::Advance(double sum) {
    const double dS = (sum - stateU_) * stepSize_;
    const double Snew = dS + stateU_;
    if (!std::isfinite(sum) || !std::isfinite(Snew)) return std::nullopt;
    // Far from 0 the doubles are spaced wider than the settle margin, so the state can stop
    // moving, or swing between two neighbours, without ever passing the test.
    if (sum != lastSum_) earlier_ = std::numeric_limits<double>::quiet_NaN();
    const bool stalled = Snew == stateU_ || Snew == earlier_;
    const Step step{stateU_, dS, Snew, std::fabs(dS) < stepSize_ * 0.00001 || stalled};
    earlier_ = stateU_;
    lastSum_ = sum;
    stateU_ = Snew;
    return step;
}

}  // namespace kv::neuron
