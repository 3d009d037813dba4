#include "boltzmann/boltzmann_exec_model.h"

#include <algorithm>
#include <cmath>

#include "core/kernels.h"
#include "plot/random.h"

namespace kv::boltzmann {

double BoltzmannExec::FireProbability(double u, double temperature) {
    const double a = -u / temperature;
    if (a >= 100) return 0;
    return 1 / (1 + std::exp(a));
}

void BoltzmannExec::SetWeights(const Weights& w) {
    for (auto& row : w_) row.fill(0);  // the diagonal stays 0
    for (int n = 0; n < kWeights; ++n) {
        const auto [i, j] = kWeightPairs[n];
        w_.at(i).at(j) = w_.at(j).at(i) = w.at(n);
    }
    BuildThresholds();
}

void BoltzmannExec::BuildThresholds() {
    // A unit's net input depends only on the states of the others: its probability is
    // formed once per state, not once per draw. Each is the sum and the probability Sweep
    // would form, and the draw is compared as Rnd() < p would be.
    CleanVectorState();  // the window may have drawn just before
    for (int i = 1; i < kUnits; ++i)
        for (int k = 0; k < kStates; ++k) {
            const std::array<int, kUnits> x = {1, k & 1, (k >> 1) & 1, (k >> 2) & 1};
            double u = 0;
            for (int j = 0; j < kUnits; ++j) u += w_[i][j] * x[j];
            thresholds_[i][k] = RndThreshold(FireProbability(u, temperature_));
        }
}

double BoltzmannExec::StateEnergy(int k) const {
    const std::array<int, kUnits> x = {1, k & 1, (k >> 1) & 1, (k >> 2) & 1};
    double e = 0;
    for (int i = 0; i < kUnits; ++i)
        for (int j = 0; j < kUnits; ++j) e -= (w_[i][j] / 2) * x[i] * x[j];
    return e;
}

void BoltzmannExec::Reset() {
    stepCount_ = 0;
    count_.fill(0);
    frequency_.fill(0);
    x_ = {1, 0, 0, 0};
}

bool BoltzmannExec::ComputeTheory() {
    // Each exponent is shifted by the lowest energy, so that the largest term is exactly 1:
    // no temperature makes the sum overflow or vanish.
    std::array<double, kStates> e{};
    for (int k = 0; k < kStates; ++k) e[k] = StateEnergy(k);
    const double lowest = *std::min_element(e.begin(), e.end());
    double z = 0;
    for (int k = 0; k < kStates; ++k) {
        theory_[k] = std::exp(-(e[k] - lowest) / temperature_);
        z += theory_[k];
    }
    theoryFormed_ = z > 0 && std::isfinite(z);
    if (!theoryFormed_) return false;
    for (double& t : theory_) t /= z;
    theoryFormed_ = std::all_of(theory_.begin(), theory_.end(), [](double t) { return std::isfinite(t); });
    return theoryFormed_;
}

bool BoltzmannExec::Initialise(double temperature) {
    Reset();
    temperature_ = temperature;
    BuildThresholds();
    return ComputeTheory();
}

int BoltzmannExec::Sweep() { return Sweep(SharedRandom()); }

int BoltzmannExec::Sweep(RandomStream& random) {
    int k = x_[1] + 2 * x_[2] + 4 * x_[3];
    for (int i = 1; i < kUnits; ++i) {
        const int bit = 1 << (i - 1);
        k = random.Next24() < thresholds_[i][k] ? k | bit : k & ~bit;  // one draw per unit, always
    }
    for (int i = 1; i < kUnits; ++i) x_[i] = static_cast<std::int16_t>((k >> (i - 1)) & 1);
    count_[k] += 1;
    return k;
}

void BoltzmannExec::UpdateFrequencies() {
    for (int k = 0; k < kStates; ++k) frequency_[k] = count_[k] / stepCount_;
}

bool BoltzmannExec::Batch(int loopCount, double temperature) {
    Reset();
    temperature_ = temperature;
    BuildThresholds();
    const int n = std::clamp(loopCount, 0, kMaxCount);
    RandomStream random = SharedRandom();  // in registers through the loop
    for (int s = 0; s < n; ++s) Sweep(random);
    SharedRandom() = random;
    stepCount_ = static_cast<std::int16_t>(n);
    if (n > 0) UpdateFrequencies();
    return ComputeTheory();
}

int BoltzmannExec::ExecuteStep(double temperature) {
    if (!CanStep()) return x_[1] + 2 * x_[2] + 4 * x_[3];
    if (temperature != temperature_) {
        temperature_ = temperature;
        BuildThresholds();
    }
    ++stepCount_;
    const int k = Sweep();
    UpdateFrequencies();
    return k;
}

}  // namespace kv::boltzmann
