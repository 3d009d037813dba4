// The colour triples in use across the program; windows name these, never raw triples.
#pragma once

#include <cstdint>

namespace kv {

struct Rgb {
    int r = 0, g = 0, b = 0;
    constexpr bool operator==(const Rgb&) const = default;
    // Packed as r + 256 g + 65536 b.
    constexpr std::uint32_t packed() const {
        return static_cast<std::uint32_t>(r) + 256u * static_cast<std::uint32_t>(g) +
               65536u * static_cast<std::uint32_t>(b);
    }
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kLightBlue{200, 200, 255};
inline constexpr Rgb kLightRed{255, 200, 200};
inline constexpr Rgb kLightGreen{200, 255, 200};
inline constexpr Rgb kSalmon{255, 128, 128};
inline constexpr Rgb kMidGreen{128, 255, 128};
inline constexpr Rgb kPaleYellow{255, 255, 125};
inline constexpr Rgb kCrimson{255, 0, 63};
inline constexpr Rgb kSkyBlue{0, 200, 255};
inline constexpr Rgb kNavy{0, 0, 155};
inline constexpr Rgb kPaleGreen{192, 255, 192};  // the strip behind the update rule
// Lines of the learning curves, and their grid.
inline constexpr Rgb kDarkGreen{0, 140, 0};
inline constexpr Rgb kPurple{140, 0, 170};
inline constexpr Rgb kGridGray{215, 215, 215};
// The map's bands from white through yellow to red.
inline constexpr Rgb kYellowPale{255, 255, 191};
inline constexpr Rgb kYellowLight{255, 255, 127};
inline constexpr Rgb kYellowStrong{255, 255, 63};
inline constexpr Rgb kAmber{255, 191, 0};
inline constexpr Rgb kOrange{255, 127, 0};
inline constexpr Rgb kRedOrange{255, 63, 0};

}  // namespace kv
