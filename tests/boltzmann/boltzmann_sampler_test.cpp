// The sampler against the Boltzmann distribution, state by state: three weight sets at three
// temperatures, each run from a fixed seed of the program's random source.
//
// Sweeps follow one another as a Markov chain, so a state's frequency f over N sweeps
// spreads by σ = sqrt(v / N), v = Var 1_k + 2 Σ_{t≥1} Cov(1_k(X_0), 1_k(X_t)), summed here
// over the exact transition matrix of one sweep (v is 0.91..1.06 times p(1 − p) for these
// machines; exactly that for independent units). Each machine runs the least N with which a
// relative bias of 1 % on any state moves its frequency by at least (4 − 1.2816)σ, so the
// check |f − p| ≤ 4σ catches such a bias with probability ≥ 0.1 (1.47 % with ≥ 0.5, 2.33 %
// with ≥ 0.99). A sound sampler fails one of the 72 checks with probability about 0.5 %.
// N, by weight set and temperature 0.5 / 1 / 2:
//   thresholds only        1 080 517   738 181   615 983
//   mixed couplings        1 247 118   779 851   630 599
//   the window's pattern   2 087 139 1 013 134   718 741    (8.9 million sweeps in all)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "boltzmann/boltzmann_exec_model.h"
#include "plot/random.h"

using kv::boltzmann::BoltzmannExec;

namespace {

constexpr int kStates = 8;
using Dist = std::array<double, kStates>;

struct Machine {
    BoltzmannExec::Weights w;  // thresholds of units 1..3, then W21, W31, W32
    double temperature;

    double Weight(int i, int j) const {
        const double m[4][4] = {{0, w[0], w[1], w[2]},
                                {w[0], 0, w[3], w[4]},
                                {w[1], w[3], 0, w[5]},
                                {w[2], w[4], w[5], 0}};
        return m[i][j];
    }
    static int Bit(int k, int unit) { return unit == 0 ? 1 : (k >> (unit - 1)) & 1; }

    Dist Boltzmann() const {
        Dist p{};
        double z = 0;
        for (int k = 0; k < kStates; ++k) {
            double energy = 0;
            for (int i = 0; i < 4; ++i)
                for (int j = i + 1; j < 4; ++j) energy -= Weight(i, j) * Bit(k, i) * Bit(k, j);
            z += p[k] = std::exp(-energy / temperature);
        }
        for (double& q : p) q /= z;
        return p;
    }

    // P(from, to) of one sweep: units 1, 2, 3 in turn, each seeing the others' latest states.
    std::array<Dist, kStates> Transitions() const {
        std::array<Dist, kStates> t{};
        for (int from = 0; from < kStates; ++from)
            for (int to = 0; to < kStates; ++to) {
                int x[4] = {1, Bit(from, 1), Bit(from, 2), Bit(from, 3)};
                double prob = 1;
                for (int i = 1; i < 4; ++i) {
                    double u = 0;
                    for (int j = 0; j < 4; ++j) u += Weight(i, j) * x[j];
                    const double fire = 1 / (1 + std::exp(-u / temperature));
                    x[i] = Bit(to, i);
                    prob *= x[i] ? fire : 1 - fire;
                }
                t[from][to] = prob;
            }
        return t;
    }

    // v of each state, as above.
    Dist ChainVariance(const Dist& p) const {
        const auto t = Transitions();
        Dist v{};
        for (int k = 0; k < kStates; ++k) {
            Dist f{}, g{};
            for (int s = 0; s < kStates; ++s) g[s] = f[s] = (s == k) - p[k];
            double cov = 1;
            for (int lag = 0; lag < 10000 && std::abs(cov) > 1e-18; ++lag) {
                cov = 0;
                for (int s = 0; s < kStates; ++s) cov += p[s] * f[s] * g[s];
                v[k] += lag == 0 ? cov : 2 * cov;
                Dist next{};
                for (int s = 0; s < kStates; ++s)
                    for (int r = 0; r < kStates; ++r) next[s] += t[s][r] * g[r];
                g = next;
            }
        }
        return v;
    }
};

TEST(BoltzmannSampler, EveryStateFollowsTheBoltzmannDistribution) {
    constexpr double kSigmas = 4, kBias = 0.01;
    constexpr double kMissQuantile = 1.2815515655446004;  // 10 % of a normal lies below −this
    const BoltzmannExec::Weights sets[] = {
        {0.3, -0.2, 0.1, 0, 0, 0},            // thresholds only
        {0.25, -0.15, 0.1, -0.2, 0.3, 0.15},  // mixed couplings, all distinct
        {0.5, 0.5, 0.5, -0.2, -0.2, -0.2}};   // the window's pattern, a tenth as strong
    std::uint32_t seed = 1;
    for (int set = 0; set < 3; ++set)
        for (double temperature : {0.5, 1.0, 2.0}) {
            const BoltzmannExec::Weights& w = sets[set];
            const Machine machine{w, temperature};
            const Dist p = machine.Boltzmann();
            const Dist v = machine.ChainVariance(p);
            double worst = 0;  // the largest v / p², which sets N
            for (int k = 0; k < kStates; ++k) worst = std::max(worst, v[k] / (p[k] * p[k]));
            const double step = (kSigmas - kMissQuantile) / kBias;
            const auto n = static_cast<std::int64_t>(std::ceil(step * step * worst));

            kv::SeedRandomForTest(seed++);
            BoltzmannExec m;
            m.SetWeights(w);
            ASSERT_TRUE(m.Initialise(temperature));
            for (int s = 0; s < 100; ++s) m.Sweep();  // away from the all-off start
            std::array<std::int64_t, kStates> count{};
            for (std::int64_t s = 0; s < n; ++s) ++count.at(m.Sweep());

            for (int k = 0; k < kStates; ++k) {
                const double f = static_cast<double>(count[k]) / n;
                const double sigma = std::sqrt(v[k] / n);
                EXPECT_NEAR(m.StateTheory(k), p[k], 1e-12);
                EXPECT_LE(std::abs(f - p[k]), kSigmas * sigma)
                    << "weight set " << set << ", T " << temperature << ", state " << k << ": " << f
                    << " against " << p[k] << ", " << (f - p[k]) / sigma << " σ, N " << n;
            }
        }
}

}  // namespace
