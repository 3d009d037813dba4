#include <gtest/gtest.h>

#include <optional>

#include "logic/logic_model.h"

using kv::logic::ExorOutput;
using kv::logic::Toggle;
using kv::logic::Unit;
using kv::logic::UnitResult;

namespace {

// The gates with the window's default weights and thresholds.
double Or(double x1, double x2) { return Unit(x1, x2, 1, 1, 1)->Y; }
double And(double x1, double x2) { return Unit(x1, x2, 1, 1, 1.5)->Y; }
double Exor(double x1, double x2) {
    const UnitResult a = *Unit(x1, x2, 1, -1, 0.5);
    const UnitResult b = *Unit(x1, x2, -1, 1, 0.5);
    return ExorOutput(a, b, 1, 1, 0.5)->Y;
}

}  // namespace

TEST(LogicModel, TruthTablesWithTheDefaultWeights) {
    const double pairs[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const double orTable[] = {0, 1, 1, 1}, andTable[] = {0, 0, 0, 1}, exorTable[] = {0, 1, 1, 0};
    for (int p = 0; p < 4; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(Or(pairs[p][0], pairs[p][1]), orTable[p]);
        EXPECT_EQ(And(pairs[p][0], pairs[p][1]), andTable[p]);
        EXPECT_EQ(Exor(pairs[p][0], pairs[p][1]), exorTable[p]);
    }
}

TEST(LogicModel, SumsOfTheDefaultInputs) {
    // x1 = 1, x2 = 0: OR sums to its threshold 1 and fires; the hidden EXOR units give 1 and -1.
    const auto orUnit = Unit(1, 0, 1, 1, 1);
    EXPECT_EQ(orUnit->S, 1);
    EXPECT_EQ(orUnit->Y, 1);
    const UnitResult a = *Unit(1, 0, 1, -1, 0.5), b = *Unit(1, 0, -1, 1, 0.5);
    EXPECT_EQ(a.S, 1);
    EXPECT_EQ(b.S, -1);
    EXPECT_EQ(b.Y, 0);
    // The output unit takes the decided outputs, not the hidden sums: 1 * 1 + 1 * 0.
    const auto out = ExorOutput(a, b, 1, 1, 0.5);
    EXPECT_EQ(out->S, 1);
    EXPECT_EQ(ExorOutput(a, b, 0.25, 3, 0.5)->S, 0.25);
}

TEST(LogicModel, ASumJustBelowTheThreshold) {
    EXPECT_EQ(Unit(1, 0, 1, 0, 1.000009)->Y, 1);  // less than 0.00001 short: fires
    EXPECT_EQ(Unit(1, 0, 1, 0, 1.00002)->Y, 0);   // 0.00002 short: does not
    EXPECT_EQ(Unit(1, 0, 0.3, 0, 0.3)->Y, 1);
    EXPECT_EQ(Unit(0.1, 0.2, 1, 1, 0.3)->Y, 1);   // 0.2 + 0.1 overshoots 0.3 by a rounding
    EXPECT_EQ(Unit(1, 0, 1, 0, 0.99)->Y, 1);
}

TEST(LogicModel, ToggleAndOverflow) {
    EXPECT_EQ(Toggle(1), 0);
    EXPECT_EQ(Toggle(0), 1);
    EXPECT_EQ(Toggle(0.3), 0.7);
    EXPECT_EQ(Toggle(-2), 3);
    EXPECT_FALSE(Unit(1e300, 0, 1e300, 1, 0));
    EXPECT_FALSE(Unit(1, 1e308, 1, 1e308, 0));
}
