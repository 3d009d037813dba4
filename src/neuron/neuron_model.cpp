#include "neuron/neuron_model.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "plot/random.h"

namespace kv::neuron {

double WeightedSum(std::span<const double> x, std::span<const double> w) {
    double s = 0;
    for (std::size_t j = 0; j < x.size() && j < w.size(); ++j) s = s + w[j] * x[j];
    return s;
}

double StepOutput(double s, double theta) { return s >= theta ? 1.0 : 0.0; }

double Sigmoid(double z, double alpha) {
    // 0 * infinity would be NaN; a flat sigmoid is 0.5 everywhere.
    const double t = alpha == 0 ? 0.0 : -alpha * z;
    if (t >= 100) return 0;  // e^t would overflow
    return 1 / (1 + std::exp(t));
}

double AnalogOutput(double s, double theta, double alpha) { return Sigmoid(s - theta, alpha); }

double StochasticOutput(double s, double theta, double alpha) {
    const double p = AnalogOutput(s, theta, alpha);
    return Rnd() < p ? 1.0 : 0.0;
}

bool TimeEvolution::StepSizeConverges(double epsilon) { return epsilon > 0 && epsilon < 2; }

void TimeEvolution::Start(double epsilon) {
    StateU = 0;
    StepSize = epsilon;
    earlier_ = std::numeric_limits<double>::quiet_NaN();
}

std::optional<TimeEvolution::Step> TimeEvolution::Advance(double sum) {
    const double dS = (sum - StateU) * StepSize;
    const double Snew = dS + StateU;
    if (!std::isfinite(sum) || !std::isfinite(Snew)) return std::nullopt;
    // Far from 0 the doubles are spaced wider than the settle margin, so the state can stop
    // moving, or swing between two neighbours, without ever passing the test.
    if (sum != lastSum_) earlier_ = std::numeric_limits<double>::quiet_NaN();
    const bool stalled = Snew == StateU || Snew == earlier_;
    const Step step{StateU, dS, Snew, std::fabs(dS) < StepSize * 0.00001 || stalled};
    earlier_ = StateU;
    lastSum_ = sum;
    StateU = Snew;
    return step;
}

}  // namespace kv::neuron
