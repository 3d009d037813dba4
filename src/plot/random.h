// The program's one random sequence.
#pragma once

#include <cstdint>

namespace kv {

// Next number of the sequence: single precision, 0 <= r < 1.
float Rnd();

// Seeds the sequence from the clock.
void Randomize();

// Seeds the sequence with a fixed value. For tests only: the program never repeats a run.
void SeedRandomForTest(std::uint32_t seed);
// From now on Randomize seeds with `seed` rather than the clock: pictures of windows that
// randomize as they open (the maps) can then be compared run with run. Tools only.
void FixRandomizeForTools(std::uint32_t seed);

}  // namespace kv
