#include "plot/random.h"

#include <chrono>
#include <optional>

namespace kv {
namespace {

constexpr double kTwo24 = 16777216.0;

std::uint64_t SplitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

std::optional<std::uint32_t>& FixedSeed() {
    static std::optional<std::uint32_t> seed;
    return seed;
}

}  // namespace

void RandomStream::Seed(std::uint64_t seed) {
    const std::uint64_t a = SplitMix64(seed), b = SplitMix64(seed);
    s0_ = static_cast<std::uint32_t>(a);
    s1_ = static_cast<std::uint32_t>(a >> 32);
    s2_ = static_cast<std::uint32_t>(b);
    s3_ = static_cast<std::uint32_t>(b >> 32);
}

RandomStream& SharedRandom() {
    static RandomStream stream{0x6b76u};
    return stream;
}

float Rnd() {
    // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(SharedRandom().Next24()) * static_cast<float>(1 / kTwo24);
}

std::uint32_t RndThreshold(double p) {
    if (!(p > 0)) return 0;
    if (p >= 1) return static_cast<std::uint32_t>(kTwo24);
    // A draw d gives Rnd() = d 2^-24 exactly; d 2^-24 < p  <=>  d < p 2^24  <=>  d < ceil(p 2^24),
    // formed here from the truncation, exact below 2^24.
    const double scaled = p * kTwo24;
    const auto whole = static_cast<std::uint32_t>(scaled);
    return whole + (whole < scaled ? 1 : 0);
}

void Randomize() {
    if (FixedSeed()) {
        SharedRandom().Seed(*FixedSeed());
        return;
    }
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    SharedRandom().Seed(static_cast<std::uint64_t>(ticks));
}

void SeedRandomForTest(std::uint32_t seed) { SharedRandom().Seed(seed); }

void FixRandomizeForTools(std::uint32_t seed) { FixedSeed() = seed; }

}  // namespace kv
