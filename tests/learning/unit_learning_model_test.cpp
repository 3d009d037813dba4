#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "learning/unit_learning_model.h"

using kv::learning::UnitBatch;
using kv::learning::UnitLearningModel;
using kv::learning::UnitPattern;
using kv::learning::UnitStep;

namespace {

constexpr UnitPattern kDefaults[6] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 0}, {1, 3, 1}, {2, 1, 1}, {1.5, 2, 1}};

std::optional<UnitPattern> Defaults(int k) { return kDefaults[k]; }

void ExpectWeights(const UnitLearningModel& m, double w1, double w2, double w3) {
    EXPECT_NEAR(m.W(1), w1, 5e-7);
    EXPECT_NEAR(m.W(2), w2, 5e-7);
    EXPECT_NEAR(m.W(3), w3, 5e-7);
    EXPECT_EQ(m.W(0), 0.0);
}

}  // namespace

TEST(UnitLearningModel, NormalRunUsesTheGivenWeightsAndTheGain) {
    UnitLearningModel m;
    m.Batch(3, Defaults);  // learned weights must not take part
    EXPECT_DOUBLE_EQ(*m.NormalRun(5, -7, {0, 0, 0}), 0.5);
    // u = 0.5 * 1 + 0.25 * 2 - 1.5 = -0.5; gain 2 gives 1 / (e^1 + 1).
    EXPECT_NEAR(*m.NormalRun(1, 2, {0.5, 0.25, -1.5}), 1 / (std::exp(1.0) + 1), 1e-15);
    // -Gain u = 100 is where the output is cut to exactly 0.
    EXPECT_EQ(*m.NormalRun(0, 0, {0, 0, -50}), 0.0);
    EXPECT_GT(*m.NormalRun(0, 0, {0, 0, -49.99}), 0.0);
}

// Hand-worked: all weights 0 give y = 0.5 and Delta = 0.5 * (0.5 * 0.5) * 2.
TEST(UnitLearningModel, SequentialLearningWalksPhasesAndPatterns) {
    UnitLearningModel m;
    UnitStep s = m.Step(Defaults);
    EXPECT_EQ(s.outcome, UnitStep::kForward);
    EXPECT_EQ(s.pattern, 0);
    EXPECT_DOUBLE_EQ(m.Y(), 0.5);
    EXPECT_DOUBLE_EQ(m.Delta(), 0.25);
    EXPECT_EQ(m.X3(), 1.0);
    EXPECT_EQ(m.StepPhase(), 1);
    ExpectWeights(m, 0, 0, 0);  // a forward phase learns nothing yet

    s = m.Step(Defaults);
    EXPECT_EQ(s.outcome, UnitStep::kUpdate);
    ExpectWeights(m, 0, -0.125, -0.125);
    EXPECT_DOUBLE_EQ(m.ErrSum(), 0.25);  // (y - t)^2, not halved
    EXPECT_EQ(m.TrainIndex(), 1);
    EXPECT_EQ(m.StepPhase(), 0);

    // Pattern 1 (1, 0 -> 0): u = -0.125, y = 1 / (e^0.25 + 1).
    m.Step(Defaults);
    EXPECT_NEAR(m.Y(), 0.437823, 5e-7);
    EXPECT_NEAR(m.Delta(), 0.215527, 5e-7);

    for (int press = 4; press <= 11; ++press) EXPECT_FALSE(m.Step(Defaults).passFinished) << press;
    s = m.Step(Defaults);
    EXPECT_TRUE(s.passFinished);
    EXPECT_EQ(s.pattern, 5);
    EXPECT_NEAR(s.passError, 1.537528, 5e-7);
    ExpectWeights(m, 0.270900, 0.370078, -0.073660);
    EXPECT_EQ(m.TrainIndex(), 0);
    EXPECT_EQ(m.ErrSum(), 0.0);

    s = m.Step(Defaults);
    EXPECT_EQ(s.outcome, UnitStep::kForward);
    EXPECT_EQ(s.pattern, 0);
}

TEST(UnitLearningModel, BatchLearnsLikeSequentialPasses) {
    UnitLearningModel batch, steps;
    batch.Step(Defaults);  // between the phases of pattern 0: a batch must not change the phase
    const UnitBatch b = batch.Batch(2, Defaults);
    EXPECT_EQ(b.passes, 2);
    EXPECT_FALSE(b.stopped);
    EXPECT_EQ(batch.TrainIndex(), 5);
    EXPECT_EQ(batch.StepPhase(), 1);
    EXPECT_NEAR(batch.ErrSum(), 0.983597, 5e-7);  // the last pass only

    for (int press = 0; press < 24; ++press) steps.Step(Defaults);
    for (int i = 1; i <= 3; ++i) EXPECT_DOUBLE_EQ(batch.W(i), steps.W(i)) << i;

    UnitLearningModel hundred;
    hundred.Batch(100, Defaults);
    ExpectWeights(hundred, 1.355276, 1.158173, -2.528062);
    EXPECT_NEAR(hundred.ErrSum(), 0.016745, 5e-7);

}

TEST(UnitLearningModel, PassCountAcceptsOnlyCountableNumbers) {
    EXPECT_EQ(UnitLearningModel::PassCount(0), 0);
    EXPECT_EQ(UnitLearningModel::PassCount(0.9), 0);
    EXPECT_EQ(UnitLearningModel::PassCount(2.7), 2);  // r = 1, 2 stay within 2.7
    EXPECT_EQ(UnitLearningModel::PassCount(1'000'000), 1'000'000);
    EXPECT_FALSE(UnitLearningModel::PassCount(1'000'000.5));
    EXPECT_FALSE(UnitLearningModel::PassCount(-1));
    EXPECT_FALSE(UnitLearningModel::PassCount(-0.5));
    EXPECT_FALSE(UnitLearningModel::PassCount(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(UnitLearningModel::PassCount(std::numeric_limits<double>::quiet_NaN()));
}

TEST(UnitLearningModel, NormalRunFeedsTheNextUpdateAndInitialiseKeepsIt) {
    UnitLearningModel m;
    m.Step(Defaults);  // forward of pattern 0: t = 0, Delta = 0.25
    const auto y = m.NormalRun(2, 3, {1, 0, 0});
    ASSERT_TRUE(y);
    EXPECT_NEAR(*y, 1 / (std::exp(-4.0) + 1), 1e-15);
    EXPECT_DOUBLE_EQ(m.Delta(), 0.25);

    m.Step(Defaults);  // the update takes x = (2, 3) from the run, not the learned W
    ExpectWeights(m, -0.25, -0.375, -0.125);
    EXPECT_DOUBLE_EQ(m.ErrSum(), *y * *y);

    m.Initialise();
    ExpectWeights(m, 0, 0, 0);
    EXPECT_EQ(m.TrainIndex(), 0);
    EXPECT_EQ(m.StepPhase(), 0);
    EXPECT_EQ(m.ErrSum(), 0.0);
    EXPECT_EQ(m.X1(), 2.0);
    EXPECT_EQ(m.Y(), *y);
    EXPECT_EQ(m.Delta(), 0.25);
}

TEST(UnitLearningModel, OverflowChangesNothing) {
    UnitLearningModel m;
    EXPECT_FALSE(m.NormalRun(1e300, 0, {1e300, 0, 0}));
    EXPECT_EQ(m.X1(), 0.0);

    // A teacher of 1e300 makes the weight change and (y - t)^2 leave the doubles.
    const auto huge = [](int) { return std::optional<UnitPattern>(UnitPattern{1e300, 0, 1e300}); };
    EXPECT_EQ(m.Step(huge).outcome, UnitStep::kForward);
    EXPECT_EQ(m.Step(huge).outcome, UnitStep::kOverflow);
    ExpectWeights(m, 0, 0, 0);
    EXPECT_EQ(m.ErrSum(), 0.0);
    EXPECT_EQ(m.StepPhase(), 1);
    EXPECT_EQ(m.TrainIndex(), 0);

    // Weights of -1.25 on inputs near the largest double overflow the weighted sum.
    UnitLearningModel big;
    const auto ten = [](int) { return std::optional<UnitPattern>(UnitPattern{10, 10, 0}); };
    big.Step(ten);
    big.Step(ten);
    EXPECT_FALSE(big.ForwardStep({1e308, 1e308, 0}));
    EXPECT_EQ(big.X1(), 10.0);

    UnitLearningModel stops;
    const auto third = [](int k) { return k == 2 ? std::optional<UnitPattern>(UnitPattern{1e300, 0, 1e300}) : Defaults(k); };
    UnitBatch b = stops.Batch(3, third);
    EXPECT_TRUE(b.stopped && b.overflow);
    EXPECT_EQ(b.pattern, 2);
    EXPECT_EQ(b.passes, 0);
    EXPECT_EQ(b.forwards, 3);
    EXPECT_EQ(b.updates, 2);

    const auto unread = [](int k) { return k == 4 ? std::nullopt : Defaults(k); };
    b = UnitLearningModel().Batch(3, unread);
    EXPECT_TRUE(b.stopped);
    EXPECT_FALSE(b.overflow);
    EXPECT_EQ(b.pattern, 4);
}
