#include "logic/logic_model.h"

#include <cmath>

#include "core/kernels.h"

namespace kv::logic {

std::optional<UnitResult> Unit(double x1, double x2, double w1, double w2, double theta) {
    const double s = w2 * x2 + w1 * x1;
    if (!std::isfinite(s)) return std::nullopt;
    // "S > theta or within the tolerance" fires for the same sums as StepOutputTolerant's
    // "S >= theta or within": S = theta lies within the tolerance.
    return UnitResult{s, StepOutputTolerant(s, theta)};
}

std::optional<UnitResult> ExorOutput(const UnitResult& a, const UnitResult& b, double wA, double wB, double theta) {
    return Unit(a.Y, b.Y, wA, wB, theta);
}

double Toggle(double x) { return 1 - x; }

}  // namespace kv::logic
