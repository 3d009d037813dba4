#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "neuron/neuron_model.h"
#include "plot/numtext.h"
#include "plot/random.h"

using namespace kv::neuron;

TEST(AnalogNeuron, OutputIsTheSigmoidOfSMinusTheta) {
    EXPECT_EQ(kv::GeneralText(AnalogOutput(0.7, 0.5, 5)), "0.731058578630005");  // t = -1
    EXPECT_EQ(AnalogOutput(0.5, 0.5, 5), 0.5);
    EXPECT_EQ(AnalogOutput(1, 0.5, 1000), 1.0);
}

TEST(StochasticNeuron, OneDrawPerCallFiringWithProbabilityP) {
    kv::SeedRandomForTest(11);
    const float r1 = kv::Rnd(), r2 = kv::Rnd();
    kv::SeedRandomForTest(11);
    EXPECT_EQ(StochasticOutput(0.7, 0.5, 5), r1 < AnalogOutput(0.7, 0.5, 5) ? 1.0 : 0.0);
    EXPECT_EQ(kv::Rnd(), r2);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(StochasticOutput(0, 0.5, 1000), 0.0);  // P = 0
        ASSERT_EQ(StochasticOutput(1, 0.5, 1000), 1.0);  // P = 1, and r < 1
    }
    // Over n = 100000 calls the share's standard deviation is at most 0.0016; five of them
    // pass a sound neuron almost surely and fail a comparison turned round (share 1 - P).
    const int n = 100000;
    for (double s : {0.7, 0.1}) {
        double ones = 0;
        for (int i = 0; i < n; ++i) ones += StochasticOutput(s, 0.5, 5);
        EXPECT_NEAR(ones / n, AnalogOutput(s, 0.5, 5), 0.008) << "S " << s;
    }
}

TEST(TimeEvolution, StepsTowardsTheSumUntilSettled) {
    TimeEvolution m;
    m.Start(0.02);
    auto step = m.Advance(0.7);
    EXPECT_EQ(kv::Format(step->Snew, "#0.0000"), "0.0140");
    EXPECT_EQ(kv::Format(AnalogOutput(step->Snew, 0.5, 5), "#0.000000"), "0.080913");
    int steps = 1;
    for (; !step->settled && steps < 10000; ++steps) step = m.Advance(0.7);
    EXPECT_EQ(steps, 554);
    EXPECT_EQ(kv::Format(m.StateU(), "#0.0000"), "0.7000");
    EXPECT_EQ(kv::Format(AnalogOutput(m.StateU(), 0.5, 5), "#0.000000"), "0.731049");

    m.Start(0.02);
    EXPECT_TRUE(m.Advance(0)->settled);  // dS = 0 at once
    m.Start(1.5);  // overshoots the sum at every step, and still settles
    EXPECT_EQ(m.Advance(-1)->Snew, -1.5);
    EXPECT_EQ(m.Advance(-1)->Snew, -0.75);
    for (int more = 0; !m.Advance(-1)->settled;) ASSERT_LT(++more, 100);
    EXPECT_NEAR(m.StateU(), -1, 0.00001);
}

TEST(TimeEvolution, SettlesWhereDoublesAreCoarserThanTheMargin) {
    // Near 1e10 the state stops short of the sum; near 1e12 with a large step it swings
    // between two neighbours. Neither gap ever falls below 0.00001.
    const std::pair<double, double> runs[] = {{1e10, 0.02}, {1e12, 1.9}, {-3e11, 1.9}};
    for (const auto& [sum, epsilon] : runs) {
        TimeEvolution m;
        m.Start(epsilon);
        int steps = 1;
        while (!m.Advance(sum)->settled) ASSERT_LT(++steps, 100000) << sum;
        EXPECT_NEAR(m.StateU(), sum, std::fabs(sum) * 1e-13) << sum;
    }
    // A state that returns to an earlier value only because the sum changed has not stalled.
    TimeEvolution m;
    m.Start(1);
    EXPECT_FALSE(m.Advance(0.7)->settled);
    EXPECT_FALSE(m.Advance(0)->settled);
    EXPECT_TRUE(m.Advance(0)->settled);
}

TEST(TimeEvolution, RefusesDivergentStepSizesAndStatesBeyondADouble) {
    for (double e : {0.0, -0.02, 2.0}) EXPECT_FALSE(TimeEvolution::StepSizeConverges(e)) << e;
    for (double e : {0.02, 1.999}) EXPECT_TRUE(TimeEvolution::StepSizeConverges(e)) << e;
    TimeEvolution m;
    m.Start(1.9);
    EXPECT_FALSE(m.Advance(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(m.Advance(1e308));  // 1.9e308 is beyond a double
    EXPECT_EQ(m.StateU(), 0.0);
}
