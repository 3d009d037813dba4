// The program's one random sequence.
#pragma once

#include <cstdint>

namespace kv {

// The generator behind the sequence: xoshiro128+, 128 bits of state, period 2^128 - 1, a
// handful of adds, xors and shifts per draw. Its upper bits pass the large statistical
// batteries (BigCrush, PractRand); only its lowest few bits are weak (nearly linear), and a
// draw keeps the upper 24, the bits a float's mantissa holds. The period dwarfs the 22
// million draws of the longest batch, where a 24-bit congruential generator (period 2^24)
// would repeat itself within one. A seed is spread over the state by SplitMix64, so that
// neighbouring seeds (clock ticks, small test seeds) start far apart; its outputs are a
// bijection of its counter, so two of them are never both zero and the state never is.
class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed) { Seed(seed); }
    void Seed(std::uint64_t seed);

    // The next 24 bits, 0 .. 2^24 - 1: Rnd() is this times 2^-24. Inlined even in debug
    // builds, which the sanitizer tests run: a batch draws 22 million times.
    [[gnu::always_inline]] std::uint32_t Next24() {
        const std::uint32_t result = s0_ + s3_;
        const std::uint32_t t = s1_ << 9;
        s2_ ^= s0_;
        s3_ ^= s1_;
        s1_ ^= s2_;
        s0_ ^= s3_;
        s2_ ^= t;
        s3_ = (s3_ << 11) | (s3_ >> 21);
        return result >> 8;
    }

private:
    std::uint32_t s0_ = 0, s1_ = 0, s2_ = 0, s3_ = 0;
};

// The sequence every window draws from. A loop of many draws may copy it, draw from the copy
// and store it back, so that the state stays in registers; nothing else may draw meanwhile.
RandomStream& SharedRandom();

// Next number of the sequence: single precision, 0 <= r < 1.
float Rnd();

// The whole number below which a draw of Next24 falls exactly when Rnd() < p would hold
// for the same draw: ceil(p 2^24), 0 for p <= 0 or NaN (never), 2^24 for p >= 1 (always).
// p 2^24 is exact in a double, so the integer compare loses nothing.
std::uint32_t RndThreshold(double p);

// Seeds the sequence from the clock.
void Randomize();

// Seeds the sequence with a fixed value. For tests only: the program never repeats a run.
void SeedRandomForTest(std::uint32_t seed);
// From now on Randomize seeds with `seed` rather than the clock: pictures of windows that
// randomize as they open (the maps) can then be compared run with run. Tools only.
void FixRandomizeForTools(std::uint32_t seed);

}  // namespace kv
