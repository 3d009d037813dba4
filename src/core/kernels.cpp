#include "core/kernels.h"

#include <cmath>
#include <cstddef>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace kv {
namespace {

#if defined(__x86_64__) || defined(__i386__)
// Built for AVX alone, and only ever called where the processor has it.
__attribute__((target("avx"), noinline)) void ZeroUpperHalves() { _mm256_zeroupper(); }
const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();
#endif

}  // namespace

void CleanVectorState() {
#if defined(__x86_64__) || defined(__i386__)
    if (kHasAvx) ZeroUpperHalves();
#endif
}

double Sigmoid(double z, double alpha) {
    // 0 * infinity would be NaN; a flat sigmoid is 0.5 everywhere.
    const double t = alpha == 0 ? 0.0 : -alpha * z;
    if (t >= 100) return 0;  // e^t would overflow
    return 1 / (1 + std::exp(t));
}

double WeightedSum(std::span<const double> x, std::span<const double> w) {
    double s = 0;
    for (std::size_t j = 0; j < x.size() && j < w.size(); ++j) s = s + w[j] * x[j];
    return s;
}

double StepOutput(double s, double theta) { return s >= theta ? 1.0 : 0.0; }

double StepOutputTolerant(double s, double theta) {
    return s >= theta || std::fabs(s - theta) < kFiringTolerance ? 1.0 : 0.0;
}

bool AllFinite(std::initializer_list<double> values) { return AllFinite(std::span<const double>(values.begin(), values.size())); }

bool AllFinite(std::span<const double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace kv
