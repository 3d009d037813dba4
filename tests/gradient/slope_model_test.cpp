#include <gtest/gtest.h>

#include <cmath>

#include "gradient/slope_model.h"

using kv::gradient::Cubic;
using kv::gradient::Derivative;
using kv::gradient::DerivativeSearch;
using kv::gradient::Quadratic;
using kv::gradient::SearchMove;
using kv::gradient::SimplestSearch;

namespace {
const Cubic kDefault{{0, 2, -6, 7}};  // 2x^2 - 6x + 7, lowest at (1.5, 2.5)

// Steps until the search reports convergence; -1 when it has not within `limit`.
template <typename Search, typename... Args>
int StepsToConverge(Search& s, int limit, const Args&... args) {
    for (int n = 1; n <= limit; ++n)
        if (s.Step(args...).converged) return n;
    return -1;
}
}  // namespace

TEST(Polynomial, EvaluatesEachPowerAndItsDerivative) {
    EXPECT_DOUBLE_EQ((Cubic{{1, 0, 0, 0}})(2), 8);
    EXPECT_DOUBLE_EQ((Cubic{{0, 1, 0, 0}})(-3), 9);
    EXPECT_DOUBLE_EQ((Cubic{{0, 0, 1, 0}})(-3), -3);
    EXPECT_DOUBLE_EQ((Cubic{{0, 0, 0, 5}})(100), 5);
    EXPECT_DOUBLE_EQ(kDefault(1.5), 2.5);
    EXPECT_DOUBLE_EQ((Quadratic{{3, 4, -6}})(2), 14);
    const Quadratic g = Derivative(Cubic{{1, 2, -6, 7}});
    EXPECT_EQ(g.B, (std::array<double, 3>{3, 4, -6}));
    EXPECT_EQ(Derivative(kDefault).B, (std::array<double, 3>{0, 4, -6}));
}

TEST(SimplestSearch, WalksToTheMinimumThenHalvesUntilConverged) {
    SimplestSearch s;
    s.Start(0, kDefault, 0.01);
    for (int n = 0; n < 150; ++n) EXPECT_FALSE(s.Step(kDefault).converged);
    EXPECT_NEAR(s.PosX(), 1.5, 1e-9);
    // The next 14 steps only halve: 0.01 / 2^14 is the first width below 1e-6.
    for (int n = 0; n < 14; ++n) {
        const SearchMove m = s.Step(kDefault);
        EXPECT_FALSE(m.converged);
        EXPECT_EQ(m.toX, m.fromX);
    }
    EXPECT_DOUBLE_EQ(s.DeltaX(), 0.01 / 16384);
    const SearchMove last = s.Step(kDefault);  // step 165
    EXPECT_TRUE(last.converged);
    EXPECT_TRUE(s.Converged());
    EXPECT_NEAR(last.fromF, 2.5, 1e-9);
    // A further step reports convergence again at the same point.
    EXPECT_TRUE(s.Step(kDefault).converged);
    EXPECT_NEAR(s.PosX(), 1.5, 1e-9);
}

TEST(SimplestSearch, FlatFunctionAndNegativeWidth) {
    SimplestSearch flat;
    flat.Start(0.7, Cubic{}, 0.01);
    EXPECT_EQ(StepsToConverge(flat, 100, Cubic{}), 15);
    EXPECT_EQ(flat.PosX(), 0.7);

    // A negative width tries the left first, moves right, and is never halved: the first
    // stall (at 1.5, after 150 moves) is the converged step.
    SimplestSearch neg;
    neg.Start(0, kDefault, -0.01);
    const SearchMove first = neg.Step(kDefault);
    EXPECT_DOUBLE_EQ(first.toX, 0.01);
    EXPECT_EQ(StepsToConverge(neg, 1000, kDefault), 150);
    EXPECT_EQ(neg.DeltaX(), -0.01);
}

TEST(SimplestSearch, EqualNeighbourIsNotTakenAndStoredValueIsCompared) {
    // f = 1 everywhere: both neighbours equal the stored value, so the width halves.
    SimplestSearch s;
    s.Start(0, Cubic{{0, 0, 0, 1}}, 0.5);
    const SearchMove m = s.Step(Cubic{{0, 0, 0, 1}});
    EXPECT_EQ(m.toX, 0);
    EXPECT_EQ(s.DeltaX(), 0.25);
    // Coefficients edited between steps: the new values are compared with the stored 1.
    // f = x: the right neighbour, tried first, gives 0.25 < 1 and is taken.
    const SearchMove m2 = s.Step(Cubic{{0, 0, 1, 0}});
    EXPECT_EQ(m2.toX, 0.25);
    EXPECT_EQ(m2.toF, 0.25);
}

TEST(SimplestSearch, ARunAwayBeyondADoubleStopsWithTheLastPoint) {
    SimplestSearch s;
    const Cubic down{{-1, 0, 0, 0}};  // f = -x^3 falls for ever
    s.Start(0, down, 3e102);
    EXPECT_FALSE(s.Step(down).diverged);  // -2.7e307 is still a double
    const SearchMove m = s.Step(down);    // -(6e102)^3 is not
    EXPECT_TRUE(m.diverged);
    EXPECT_EQ(s.PosX(), 3e102);
    EXPECT_DOUBLE_EQ(s.PosF(), -2.7e307);
    EXPECT_FALSE(s.Converged());
}

TEST(DerivativeSearch, StepsAgainstTheSlopeUntilBothChangesAreTiny) {
    DerivativeSearch s;
    const Quadratic g = Derivative(kDefault);
    s.Start(0, kDefault);
    const SearchMove first = s.Step(kDefault, g, 0.01);
    EXPECT_DOUBLE_EQ(first.toX, 0.06);
    EXPECT_DOUBLE_EQ(s.Step(kDefault, g, 0.01).toX, 0.96 * 0.06 + 0.06);
    EXPECT_EQ(StepsToConverge(s, 1000, kDefault, g, 0.01), 271 - 2);
    // The result is the point before the last move.
    EXPECT_NEAR(s.PosX(), 1.5, 1e-4);
}

TEST(DerivativeSearch, OscillatesOrStandsStillAsTheSlopeSays) {
    DerivativeSearch s;
    const Quadratic g = Derivative(kDefault);
    s.Start(0, kDefault);
    for (int n = 0; n < 20; ++n) {
        const SearchMove m = s.Step(kDefault, g, 0.5);
        EXPECT_FALSE(m.converged);
        EXPECT_DOUBLE_EQ(m.toX, n % 2 == 0 ? 3 : 0);
    }
    DerivativeSearch still;
    still.Start(0.3, kDefault);
    const SearchMove m = still.Step(kDefault, Quadratic{}, 0.01);
    EXPECT_TRUE(m.converged);
    EXPECT_EQ(m.toX, 0.3);

    DerivativeSearch wild;
    wild.Start(1, kDefault);
    EXPECT_TRUE(wild.Step(kDefault, Quadratic{{0, 0, 1e300}}, 1e300).diverged);
    EXPECT_EQ(wild.PosX(), 1);
}
