#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>

#include "plot/random.h"
#include "plot/rounding.h"

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(kv::RoundToShort(0.5), 0);
    EXPECT_EQ(kv::RoundToShort(1.5), 2);
    EXPECT_EQ(kv::RoundToShort(2.5), 2);
    EXPECT_EQ(kv::RoundToShort(-1.5), -2);
    EXPECT_EQ(kv::RoundToShort(-0.5), 0);
    EXPECT_EQ(kv::RoundToShort(2.4999), 2);
    EXPECT_EQ(kv::RoundToLong(50.5), 50);
    EXPECT_EQ(kv::RoundToLong(51.5), 52);
}

TEST(Rounding, ResultsOutsideTheTargetAreOverflows) {
    EXPECT_EQ(kv::RoundToShort(32767.4), 32767);
    EXPECT_FALSE(kv::RoundToShort(32767.5).has_value());  // rounds to 32768
    EXPECT_EQ(kv::RoundToShort(-32768.5), -32768);         // even neighbour stays in range
    EXPECT_FALSE(kv::RoundToShort(-32769).has_value());
    EXPECT_EQ(kv::RoundToLong(2147483647.0), 2147483647);
    EXPECT_FALSE(kv::RoundToLong(2147483647.5).has_value());
    EXPECT_FALSE(kv::RoundToLong(NAN).has_value());
    EXPECT_FALSE(kv::RoundToLong(INFINITY).has_value());
}

TEST(Rounding, IntIsTheFloor) {
    EXPECT_EQ(kv::Int(2.7), 2);
    EXPECT_EQ(kv::Int(-2.3), -3);
    EXPECT_EQ(kv::Int(-2), -2);
}

TEST(Random, StaysInTheUnitIntervalAndRepeatsOnlyWhenSeededAlike) {
    kv::SeedRandomForTest(7);
    double sum = 0;
    std::set<float> seen;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        const float r = kv::Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
        seen.insert(r);
    }
    // Mean of n uniform draws: standard deviation sqrt(1/12/n) ~ 0.0009; allow 5 of them.
    EXPECT_NEAR(sum / n, 0.5, 0.0046);
    EXPECT_GT(seen.size(), n * 9 / 10u);

    kv::SeedRandomForTest(42);
    const float a = kv::Rnd(), b = kv::Rnd();
    kv::SeedRandomForTest(42);
    EXPECT_EQ(kv::Rnd(), a);
    EXPECT_EQ(kv::Rnd(), b);
}

TEST(Random, ThresholdSplitsTheDrawsExactlyWhereRndMeetsP) {
    // Draws below the threshold are those with Rnd() < p: check the two draws either side.
    constexpr double kStep = 1.0 / 16777216;
    const double ps[] = {-1, 0, 1e-300, kStep, std::nextafter(kStep, 1.0), 1.0 / 3, std::nextafter(0.5, 0.0), 0.5,
                         std::nextafter(0.5, 1.0), 1 - kStep, std::nextafter(1.0, 0.0), 1, 2, NAN, INFINITY};
    for (double p : ps) {
        const std::uint32_t t = kv::RndThreshold(p);
        ASSERT_LE(t, 1u << 24) << p;
        if (t > 0) EXPECT_TRUE(static_cast<float>(t - 1) * static_cast<float>(kStep) < p) << p;
        if (t < 1u << 24) EXPECT_FALSE(static_cast<float>(t) * static_cast<float>(kStep) < p) << p;
    }
    // Rnd is the 24-bit draw scaled.
    kv::SeedRandomForTest(5);
    const float r = kv::Rnd();
    kv::SeedRandomForTest(5);
    EXPECT_EQ(r, static_cast<float>(kv::SharedRandom().Next24()) * static_cast<float>(kStep));
}
