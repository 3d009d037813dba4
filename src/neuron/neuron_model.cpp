#include "neuron/neuron_model.h"

#include <cstddef>

namespace kv::neuron {

double WeightedSum(std::span<const double> x, std::span<const double> w) {
    double s = 0;
    for (std::size_t j = 0; j < x.size() && j < w.size(); ++j) s = s + w[j] * x[j];
    return s;
}

double StepOutput(double s, double theta) { return s >= theta ? 1.0 : 0.0; }

}  // namespace kv::neuron
