#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/kernels.h"

using kv::AllFinite;
using kv::Sigmoid;
using kv::WeightedSum;

TEST(Kernels, WeightedSumPairsEachInputWithItsWeight) {
    const std::vector<double> x{1, 0, 1}, w{0.5, 0.3, 0.2};
    EXPECT_DOUBLE_EQ(WeightedSum(x, w), 0.7);
    EXPECT_EQ(WeightedSum(std::vector<double>{}, std::vector<double>{}), 0);
    EXPECT_DOUBLE_EQ(WeightedSum(std::vector<double>{2, -1}, std::vector<double>{0.25, 3}), -2.5);
}

TEST(Kernels, SigmoidGuardAndGain) {
    EXPECT_EQ(Sigmoid(-1, 100), 0.0);  // t = 100 exactly: the guard
    EXPECT_GT(Sigmoid(-0.99, 100), 0.0);
    EXPECT_EQ(Sigmoid(std::numeric_limits<double>::infinity(), 0), 0.5);  // not 0 * inf
    EXPECT_DOUBLE_EQ(Sigmoid(0.3, -5), Sigmoid(-0.3, 5));
    EXPECT_EQ(Sigmoid(0, 2), 0.5);
}

TEST(Kernels, AllFiniteRefusesInfinityAndNaN) {
    EXPECT_TRUE(AllFinite({0.0, -1e308, 5e-324}));
    EXPECT_FALSE(AllFinite({1.0, std::numeric_limits<double>::infinity()}));
    EXPECT_FALSE(AllFinite({std::nan(""), 1.0}));
    const std::vector<double> v{1, 2, -std::numeric_limits<double>::infinity()};
    EXPECT_FALSE(AllFinite(v));
    EXPECT_TRUE(AllFinite(std::vector<double>{}));
}

TEST(Kernels, StepOutputFiresFromTheThresholdUp) {
    using kv::StepOutput;
    EXPECT_EQ(StepOutput(0.4, 0.4), 1);
    EXPECT_EQ(StepOutput(0.3 + (0.5 - 0.4), 0.4), 0);  // 0.39999999999999997: the exact rule misses it
    EXPECT_EQ(StepOutput(-0.5, -0.6), 1);
    EXPECT_EQ(StepOutput(0, 1e-300), 0);
}

// Units that forgive rounding fire up to (not including) 0.00001 below the threshold, and
// the tolerance is symmetric: |S - theta| < 0.00001 holds above the threshold too, where
// S > theta already fires, so "S > theta" and "S >= theta" give the same set with it.
TEST(Kernels, StepOutputTolerantAbsorbsRoundingBelowTheThreshold) {
    using kv::StepOutputTolerant;
    EXPECT_EQ(StepOutputTolerant(0.3 + (0.5 - 0.4), 0.4), 1);
    EXPECT_EQ(StepOutputTolerant(0.4, 0.4), 1);
    EXPECT_EQ(StepOutputTolerant(0.5, 0.4), 1);
    EXPECT_EQ(StepOutputTolerant(1 - 0.000005, 1), 1);
    EXPECT_EQ(StepOutputTolerant(1 - 0.00002, 1), 0);
    EXPECT_EQ(StepOutputTolerant(-0.4 - 0.0000099, -0.4), 1);
    EXPECT_EQ(StepOutputTolerant(0.3, 0.4), 0);
    // Just outside and just inside the tolerance, clear of rounding at the boundary.
    EXPECT_EQ(StepOutputTolerant(1.5 - 0.0000101, 1.5), 0);
    EXPECT_EQ(StepOutputTolerant(1.5 - 0.0000099, 1.5), 1);
}
