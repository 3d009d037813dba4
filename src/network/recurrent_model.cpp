#include "network/recurrent_model.h"

#include <cmath>
#include <stdexcept>

#include "core/kernels.h"

namespace kv::network {

std::optional<RecurrentNetwork::Unit> RecurrentNetwork::UpdateUnit(int u, const Reader& read) {
    if (u < 1 || u > kUnits) throw std::out_of_range("RecurrentNetwork::UpdateUnit: no such unit");
    // omega_j times the output of unit `from`, or nothing when either cannot be read.
    auto term = [&read](int j, int from) -> std::optional<double> {
        const auto w = read(Value::kW, j);
        if (!w) return std::nullopt;
        const auto x = read(Value::kX, from - 1);
        if (!x) return std::nullopt;
        return *w * *x;
    };
    std::optional<double> s;
    switch (u) {
        case 1: s = read(Value::kIn, 0); break;
        case 2: {
            const auto a = term(7, 5), in2 = read(Value::kIn, 1);
            if (a && in2) s = *a + 1 * *in2;  // an external input enters with the constant weight 1
            break;
        }
        case 3: {
            const auto a = term(1, 2), c = term(0, 1);
            if (a && c) s = *a + *c;
            break;
        }
        case 4: {
            const auto a = term(6, 5), c = term(3, 2), d = term(2, 1);
            if (a && c && d) s = *a + (*c + *d);
            break;
        }
        default: {
            const auto a = term(5, 4), c = term(4, 3);
            if (a && c) s = *a + *c;
            break;
        }
    }
    if (!s || !std::isfinite(*s)) return std::nullopt;
    const auto theta = read(Value::kTheta, u - 1);
    if (!theta) return std::nullopt;
    return Unit{*s, u == 1 ? StepOutput(*s, *theta) : StepOutputTolerant(*s, *theta)};
}

}  // namespace kv::network
