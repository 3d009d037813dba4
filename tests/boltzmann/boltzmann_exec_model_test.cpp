#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>

#include "boltzmann/boltzmann_exec_model.h"
#include "plot/random.h"

using kv::boltzmann::BoltzmannExec;

namespace {

constexpr BoltzmannExec::Weights kDefault = {5, 5, 5, -2, -2, -2};

BoltzmannExec Machine(const BoltzmannExec::Weights& w, double t) {
    BoltzmannExec m;
    m.SetWeights(w);
    EXPECT_TRUE(m.Initialise(t));
    return m;
}

TEST(BoltzmannExecModel, WeightMatrixIsSymmetricWithZeroDiagonal) {
    BoltzmannExec m;
    m.SetWeights({1, 2, 3, 4, 5, 6});
    const double expected[4][4] = {{0, 1, 2, 3}, {1, 0, 4, 5}, {2, 4, 0, 6}, {3, 5, 6, 0}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(m.W(i, j), expected[i][j]) << i << "," << j;
}

TEST(BoltzmannExecModel, EnergiesByHand) {
    BoltzmannExec m;
    m.SetWeights(kDefault);
    // No unit on, one, two, three on.
    const double byDefault[8] = {0, -5, -5, -8, -5, -8, -8, -9};
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(m.StateEnergy(k), byDefault[k]) << k;

    // Thresholds 1, 2, 3; pair weights W21 = 4, W31 = 5, W32 = 6.
    m.SetWeights({1, 2, 3, 4, 5, 6});
    const double distinct[8] = {0, -1, -2, -7, -3, -9, -11, -21};
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(m.StateEnergy(k), distinct[k]) << k;
}

TEST(BoltzmannExecModel, FiringProbability) {
    EXPECT_DOUBLE_EQ(BoltzmannExec::FireProbability(0, 0.5), 0.5);
    EXPECT_NEAR(BoltzmannExec::FireProbability(1, 1), 0.7310585786300049, 1e-15);
    EXPECT_NEAR(BoltzmannExec::FireProbability(-1, 0.5), 1 / (1 + std::exp(2.0)), 1e-15);
    // -u/T reaching 100 never fires; just below it almost never.
    EXPECT_EQ(BoltzmannExec::FireProbability(-50, 0.5), 0.0);
    EXPECT_EQ(BoltzmannExec::FireProbability(-1e300, 1e-300), 0.0);
    EXPECT_GT(BoltzmannExec::FireProbability(-49.9, 0.5), 0.0);
    EXPECT_EQ(BoltzmannExec::FireProbability(1e300, 1e-300), 1.0);
}

TEST(BoltzmannExecModel, TheoryIsTheBoltzmannDistribution) {
    // Straight from exp(-E/T) / Z at the default temperature, without any shift.
    const double e[8] = {0, -5, -5, -8, -5, -8, -8, -9};
    double z = 0;
    for (double ek : e) z += std::exp(-ek / 0.5);
    const BoltzmannExec m = Machine(kDefault, 0.5);
    double sum = 0;
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(m.StateTheory(k), std::exp(-e[k] / 0.5) / z, 1e-15) << k;
        sum += m.StateTheory(k);
    }
    EXPECT_NEAR(sum, 1, 1e-15);
    EXPECT_NEAR(m.StateTheory(7), 0.711, 0.0005);
    EXPECT_NEAR(m.StateTheory(3), 0.096, 0.0005);

    // So cold that exp(9/T) is far beyond a double: all weight on the lowest state.
    const BoltzmannExec cold = Machine(kDefault, 1e-3);
    EXPECT_DOUBLE_EQ(cold.StateTheory(7), 1.0);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(cold.StateTheory(k), 0.0);
    // So hot that every state is nearly equally likely.
    const BoltzmannExec hot = Machine(kDefault, 1e6);
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(hot.StateTheory(k), 0.125, 1e-5);

    // Energies beyond a double: no distribution can be formed.
    BoltzmannExec huge;
    huge.SetWeights({1e308, 1e308, 1e308, 1e308, 1e308, 1e308});
    EXPECT_FALSE(huge.Initialise(1));
}

TEST(BoltzmannExecModel, SweepUpdatesUnitsInOrderWithOneDrawEach) {
    // All weights 0: each unit fires when its draw is below 1/2.
    kv::SeedRandomForTest(11);
    float r[6];
    for (float& v : r) v = kv::Rnd();
    kv::SeedRandomForTest(11);
    BoltzmannExec m = Machine({0, 0, 0, 0, 0, 0}, 1);
    EXPECT_EQ(m.ExecuteStep(1), (r[0] < 0.5f) + 2 * (r[1] < 0.5f) + 4 * (r[2] < 0.5f));
    EXPECT_EQ(m.ExecuteStep(1), (r[3] < 0.5f) + 2 * (r[4] < 0.5f) + 4 * (r[5] < 0.5f));

    // Node 1 can never fire, yet it still takes its draw: Nodes 2 and 3 see draws 2 and 3.
    kv::SeedRandomForTest(11);
    m = Machine({-1000, 0, 0, 0, 0, 0}, 1);
    EXPECT_EQ(m.ExecuteStep(1), 2 * (r[1] < 0.5f) + 4 * (r[2] < 0.5f));

    // Node 1 always fires, and Node 2 sees its new state in the same sweep: W21 = -1000
    // keeps it off, W31 = +1000 turns Node 3 on.
    m = Machine({1000, 0, 0, -1000, 1000, 0}, 1);
    EXPECT_EQ(m.ExecuteStep(1), 1 + 4);
    EXPECT_EQ(m.X(0), 1);
}

TEST(BoltzmannExecModel, LongBatchFollowsTheTheory) {
    kv::SeedRandomForTest(2024);
    BoltzmannExec m;
    m.SetWeights(kDefault);
    ASSERT_TRUE(m.Batch(BoltzmannExec::kMaxCount, 0.5));
    EXPECT_EQ(m.StepCount(), BoltzmannExec::kMaxCount);
    double counted = 0;
    for (int k = 0; k < 8; ++k) {
        counted += m.StateCount(k);
        // One binomial standard deviation at n = 32767 is at most 0.0028; successive
        // sweeps are correlated (a state tends to stay), so allow 0.02, about seven of them.
        EXPECT_NEAR(m.StateFrequency(k), m.StateTheory(k), 0.02) << k;
        EXPECT_DOUBLE_EQ(m.StateFrequency(k), m.StateCount(k) / BoltzmannExec::kMaxCount);
    }
    EXPECT_EQ(counted, BoltzmannExec::kMaxCount);
    EXPECT_FALSE(m.CanStep());  // the step counter is full
}

TEST(BoltzmannExecModel, StepsCarryOnFromABatchAndStopAtTheCounterTop) {
    kv::SeedRandomForTest(5);
    BoltzmannExec m;
    m.SetWeights(kDefault);
    m.Batch(100, 0.5);
    for (int s = 0; s < 3; ++s) m.ExecuteStep(0.5);
    EXPECT_EQ(m.StepCount(), 103);
    double total = 0, freq = 0;
    for (int k = 0; k < 8; ++k) {
        total += m.StateCount(k);
        freq += m.StateFrequency(k);
        EXPECT_LE(m.StateFrequency(k), 1.0);
    }
    EXPECT_EQ(total, 103);
    EXPECT_NEAR(freq, 1, 1e-12);

    m.Batch(BoltzmannExec::kMaxCount - 1, 0.5);
    EXPECT_TRUE(m.CanStep());
    m.ExecuteStep(0.5);
    EXPECT_FALSE(m.CanStep());
    const double before = m.StateCount(m.X(1) + 2 * m.X(2) + 4 * m.X(3));
    m.ExecuteStep(0.5);  // refused: nothing moves
    EXPECT_EQ(m.StepCount(), BoltzmannExec::kMaxCount);
    EXPECT_EQ(m.StateCount(m.X(1) + 2 * m.X(2) + 4 * m.X(3)), before);

    // Initialise starts over.
    ASSERT_TRUE(m.Initialise(0.5));
    EXPECT_EQ(m.StepCount(), 0);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(m.StateCount(k), 0);
    EXPECT_EQ(m.X(1) + m.X(2) + m.X(3), 0);
}

TEST(BoltzmannExecModel, BatchMakesTheDrawsOfTheSweepAsDescribed) {
    // The batch compares each draw with a threshold formed once per state; the sweep as
    // described forms the net input and the probability afresh and compares the float draw.
    // Same seed, same states and counts, also where probabilities are exactly 0 or 1.
    const std::pair<BoltzmannExec::Weights, double> cases[] = {
        {kDefault, 0.5}, {{0.3, -0.7, 1.1, 2.5, -1.9, 0.4}, 1.7}, {{1000, -1000, 40, -2, 60, -80}, 0.9}};
    std::uint32_t seed = 31;
    for (const auto& [w, t] : cases) {
        kv::SeedRandomForTest(seed);
        BoltzmannExec m;
        m.SetWeights(w);
        m.Batch(3000, t);
        kv::SeedRandomForTest(seed++);
        int x[4] = {1, 0, 0, 0};
        double count[8] = {};
        for (int s = 0; s < 3000; ++s) {
            for (int i = 1; i < 4; ++i) {
                double u = 0;
                for (int j = 0; j < 4; ++j) u += m.W(i, j) * x[j];
                x[i] = kv::Rnd() < BoltzmannExec::FireProbability(u, t) ? 1 : 0;
            }
            count[x[1] + 2 * x[2] + 4 * x[3]] += 1;
        }
        for (int k = 0; k < 8; ++k) EXPECT_EQ(m.StateCount(k), count[k]) << "T " << t << ", state " << k;
        for (int i = 1; i < 4; ++i) EXPECT_EQ(m.X(i), x[i]) << "T " << t;
    }
}

}  // namespace
