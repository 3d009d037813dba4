#include "plot/random.h"

#include <chrono>
#include <optional>
#include <random>

namespace kv {
namespace {

std::mt19937& Engine() {
    static std::mt19937 engine{0x6b76u};
    return engine;
}

std::optional<std::uint32_t>& FixedSeed() {
    static std::optional<std::uint32_t> seed;
    return seed;
}

}  // namespace

float Rnd() {
    // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(Engine()() >> 8) * (1.0f / 16777216.0f);
}

void Randomize() {
    if (FixedSeed()) {
        Engine().seed(*FixedSeed());
        return;
    }
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    Engine().seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

void SeedRandomForTest(std::uint32_t seed) { Engine().seed(seed); }

void FixRandomizeForTools(std::uint32_t seed) { FixedSeed() = seed; }

}  // namespace kv
