#include "plot/rounding.h"

#include <cmath>
#include <limits>

namespace kv {
namespace {

template <typename T>
std::optional<T> RoundInto(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);  // the default rounding mode sends halves to even
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

}  // namespace

std::optional<std::int16_t> RoundToShort(double value) { return RoundInto<std::int16_t>(value); }
std::optional<std::int32_t> RoundToLong(double value) { return RoundInto<std::int32_t>(value); }

double Int(double value) { return std::floor(value); }

}  // namespace kv
