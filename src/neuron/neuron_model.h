// The single neuron with its inputs, weights and output functions.
#pragma once

#include <span>

namespace kv::neuron {

// S = sum of w[j] * x[j], added in index order.
double WeightedSum(std::span<const double> x, std::span<const double> w);

// 1 when s reaches the threshold (equality fires), else 0.
double StepOutput(double s, double theta);

}  // namespace kv::neuron
