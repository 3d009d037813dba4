// A Boltzmann machine of three stochastic binary units and a threshold unit that is always
// on, sampled at a fixed temperature: it tallies how often each of the eight states of
// units 1 to 3 occurs, next to the Boltzmann distribution at that temperature.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "plot/random.h"

namespace kv::boltzmann {

class BoltzmannExec {
public:
    static constexpr int kUnits = 4;    // unit 0 is the threshold unit, always 1
    static constexpr int kStates = 8;   // states of units 1..3: X(1) + 2 X(2) + 4 X(3)
    static constexpr int kWeights = 6;  // the weight boxes, in the order of Weights
    // Update and step counts are 16-bit counters.
    static constexpr int kMaxCount = std::numeric_limits<std::int16_t>::max();

    // W(1,0), W(2,0), W(3,0), W(2,1), W(3,1), W(3,2).
    using Weights = std::array<double, kWeights>;
    static constexpr Weights kDefaultWeights = {5, 5, 5, -2, -2, -2};
    // The pair (i, j), i > j, that each weight of Weights fills (and mirrors).
    static constexpr std::array<std::array<int, 2>, kWeights> kWeightPairs = {
        {{1, 0}, {2, 0}, {3, 0}, {2, 1}, {3, 1}, {3, 2}}};

    // 1 / (1 + e^(-u/T)); exactly 0 once -u/T reaches 100 (also where the exponential
    // would overflow).
    static double FireProbability(double u, double temperature);

    // Reads the weight matrix; states, tallies and theory are left alone.
    void SetWeights(const Weights& w);

    // E(k) = -sum over i, j of W(i,j)/2 x_i x_j, over the full matrix, x_0 = 1.
    double StateEnergy(int k) const;

    // Clears the tallies, the step counter and the states (X(0) = 1) and computes the
    // theoretical distribution at `temperature`, which must be positive. Returns whether
    // the distribution could be formed (every probability finite); otherwise it holds
    // whatever could be computed and must not be shown.
    bool Initialise(double temperature);

    // One update of units 1, 2, 3 in this order with its tally; the state reached.
    int Sweep();

    // Clears the tallies and states, takes `loopCount` sweeps (1..kMaxCount) at
    // `temperature` (positive) and computes frequencies and theory. The step counter
    // carries on from the batch's count, so that later steps keep every frequency <= 1.
    // Returns whether the theory could be formed, as Initialise does.
    bool Batch(int loopCount, double temperature);

    // Whether another step fits the 16-bit step counter.
    bool CanStep() const { return stepCount_ < kMaxCount; }
    // One step at `temperature` (positive) while CanStep(): the state reached. The theory
    // is not recomputed.
    int ExecuteStep(double temperature);

    double W(int i, int j) const { return w_.at(i).at(j); }
    int X(int i) const { return x_.at(i); }
    int StepCount() const { return stepCount_; }
    double StateCount(int k) const { return count_.at(k); }
    double StateFrequency(int k) const { return frequency_.at(k); }
    double StateTheory(int k) const { return theory_.at(k); }
    // Whether the last Initialise or Batch could form the theory (StateTheory is shown).
    bool TheoryFormed() const { return theoryFormed_; }

private:
    // For each unit and each state of the three units, the threshold (RndThreshold) that
    // unit's draw is compared with at the current weights and temperature.
    void BuildThresholds();
    int Sweep(RandomStream& random);
    bool ComputeTheory();
    void Reset();
    void UpdateFrequencies();

    std::array<std::array<double, kUnits>, kUnits> w_{};
    std::array<std::int16_t, kUnits> x_{1, 0, 0, 0};
    double temperature_ = 0;
    std::int16_t stepCount_ = 0;
    std::array<double, kStates> count_{};
    std::array<double, kStates> frequency_{};
    std::array<double, kStates> theory_{};
    bool theoryFormed_ = false;
    std::array<std::array<std::uint32_t, kStates>, kUnits> thresholds_{};
};

}  // namespace kv::boltzmann
