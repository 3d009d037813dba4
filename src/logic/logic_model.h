// Logic gates made of binary units: one unit computes OR, one AND, and a two-layer network
// of three units the exclusive or, which no single unit can.
#pragma once

#include <optional>

namespace kv::logic {

struct UnitResult {
    double S;
    double Y;  // 0 or 1
};

// A unit with two inputs: S = w2 x2 + w1 x1 (in this order), Y = 1 when S > theta or
// |S - theta| < 0.00001, so a sum that equals the threshold up to rounding fires. Nothing
// when S is beyond a double.
std::optional<UnitResult> Unit(double x1, double x2, double w1, double w2, double theta);

// The EXOR network's output unit, fed by the outputs just decided for the hidden units A
// and B (never re-read): S = wB YB + wA YA.
std::optional<UnitResult> ExorOutput(const UnitResult& a, const UnitResult& b, double wA, double wB, double theta);

// A clicked input: 1 - x, so 1 and 0 swap and anything else x becomes 1 - x.
double Toggle(double x);

}  // namespace kv::logic
