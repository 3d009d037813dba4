// Whole numbers from doubles: rounding into integer variables, and Int.
#pragma once

#include <cstdint>
#include <optional>

namespace kv {

// Nearest integer, halves to the even neighbour (0.5 -> 0, 1.5 -> 2, -1.5 -> -2);
// nothing when the result does not fit (an overflow) or the value is not finite.
std::optional<std::int16_t> RoundToShort(double value);
std::optional<std::int32_t> RoundToLong(double value);

// Largest integer not greater than the value: Int(2.7) = 2, Int(-2.3) = -3.
double Int(double value);

}  // namespace kv
