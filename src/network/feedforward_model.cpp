#include "network/feedforward_model.h"

#include <cmath>
#include <stdexcept>

#include "core/kernels.h"

namespace kv::network {

std::optional<FeedForwardNetwork::Unit> FeedForwardNetwork::ComputeUnit(int L, int m, const Reader& read) {
    if (L < 0 || L >= kLayers || m < 0 || m >= kUnits) throw std::out_of_range("FeedForwardNetwork: no such unit");
    const int b = 3 * L;
    // weight(k) * X(k), or nothing when either cannot be read.
    auto term = [&read](Value weight, int k) -> std::optional<double> {
        const auto w = read(weight, k);
        if (!w) return std::nullopt;
        const auto x = read(Value::kX, k);
        if (!x) return std::nullopt;
        return *w * *x;
    };
    std::optional<double> s;
    switch (m) {
        case 0: {
            const auto a = term(Value::kOmega0, b + 1), c = term(Value::kOmega1, b);
            if (a && c) s = *a + *c;
            break;
        }
        case 1: {
            const auto a = term(Value::kOmega0, b + 2), c = term(Value::kOmega1, b + 1), d = term(Value::kOmega2, b);
            if (a && c && d) s = *a + (*c + *d);
            break;
        }
        default: {
            const auto a = term(Value::kOmega1, b + 2), c = term(Value::kOmega2, b + 1);
            if (a && c) s = *a + *c;
            break;
        }
    }
    if (!s || !std::isfinite(*s)) return std::nullopt;
    const auto theta = read(Value::kTheta, b + m);
    if (!theta) return std::nullopt;
    return Unit{*s, StepOutput(*s, *theta)};
}

std::optional<FeedForwardNetwork::Layer> FeedForwardNetwork::ComputeLayer(int L, const Reader& read, int* failedUnit) {
    Layer layer{};
    for (int m = 0; m < kUnits; ++m) {
        const auto unit = ComputeUnit(L, m, read);
        if (!unit) {
            if (failedUnit) *failedUnit = m;
            return std::nullopt;
        }
        layer[m] = *unit;
    }
    return layer;
}

bool FeedForwardNetwork::Advance() {
    if (++layerIndex_ <= kOutputStep) return false;
    layerIndex_ = 0;
    return true;
}

}  // namespace kv::network
