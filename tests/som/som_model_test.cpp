#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "plot/random.h"
#include "reference_map.h"
#include "som/som_model.h"

namespace {

using namespace kv::som;

AnimalTable Zeros() { return AnimalTable{}; }

Attributes Basis(int a) {
    Attributes v{};
    v[a] = 1;
    return v;
}

std::vector<double> Weights(const UnitMap& map) {
    std::vector<double> w;
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y)
            for (int a = 0; a < kAttributes; ++a) w.push_back(map.W(x, y, a));
    return w;
}

TEST(SomTable, DefaultsAgreeWithTheTableAsTheWindowShowsIt) {
    const reference::Table typed = reference::DefaultTable();
    for (int n = 0; n < kAnimals; ++n)
        for (int a = 0; a < kAttributes; ++a) EXPECT_EQ(kDefaultAnimals[n][a], typed[n][a]) << n << "," << a;
}

TEST(SomInit, AnimalsOnTheDiagonalUnlessAllRandom) {
    SomMap map;
    kv::SeedRandomForTest(7);
    map.MapInit(InitMethod::kRandomAndAnimals, kDefaultAnimals, 0.3, 4, 200);
    const auto winners = map.Winners(kDefaultAnimals);
    for (int n = 0; n < kAnimals; ++n) EXPECT_EQ(winners[n], (Unit{15 - n, n})) << n;
    EXPECT_EQ(map.MapCount(), 0);
    EXPECT_EQ(map.MapLoop(), 200);

    // All random: the weights are the sequence itself, x outer and a innermost, and no
    // animal is written over them.
    kv::SeedRandomForTest(11);
    map.MapInit(InitMethod::kRandom, kDefaultAnimals, 0.3, 4, 200);
    kv::SeedRandomForTest(11);
    const std::vector<double> w = Weights(map);
    for (std::size_t i = 0; i < w.size(); ++i) ASSERT_EQ(w[i], static_cast<double>(kv::Rnd())) << i;

    map.MapInit(InitMethod::kOneAndAnimals, Zeros(), 0.3, 4, 200);
    EXPECT_EQ(map.W(15, 0, 3), 0.0);  // ハト's unit holds the (cleared) table
    EXPECT_EQ(map.W(14, 0, 3), 1.0);
}

TEST(SomWinner, TiesGoToTheSmallestColumnThenRow) {
    SomMap map;
    // Every unit 0: the first unit visited wins.
    map.MapInit(InitMethod::kZeroAndAnimals, Zeros(), 0.3, 4, 200);
    EXPECT_EQ(map.FindWinner(Attributes{}), (Unit{0, 0}));

    // Two equal units, (13, 2) and (2, 13): the smaller column wins although its row is larger.
    AnimalTable t;
    for (auto& row : t) row.fill(1);
    t[2].fill(0);
    t[13].fill(0);
    map.MapInit(InitMethod::kOneAndAnimals, t, 0.3, 4, 200);
    EXPECT_EQ(map.FindWinner(Attributes{}), (Unit{2, 13}));
    // A unit only a little nearer wins over the earlier one.
    t[2][0] = 0.001;
    t[13][0] = 0.002;
    map.MapInit(InitMethod::kOneAndAnimals, t, 0.3, 4, 200);
    EXPECT_EQ(map.FindWinner(Attributes{}), (Unit{13, 2}));
}

TEST(SomSchedule, RateAndRadiusFallLinearly) {
    const Schedule first = ScheduleAt(1, 200, 0.3, 4);
    EXPECT_DOUBLE_EQ(first.f, 1);
    EXPECT_DOUBLE_EQ(first.alpha, 0.3);
    EXPECT_DOUBLE_EQ(first.nc, 4);
    EXPECT_EQ(first.r, 4);

    const Schedule s51 = ScheduleAt(51, 200, 0.3, 4);
    EXPECT_DOUBLE_EQ(s51.nc, 3);
    EXPECT_DOUBLE_EQ(s51.alpha, 0.225);
    EXPECT_EQ(s51.r, 3);

    const Schedule last = ScheduleAt(200, 200, 0.3, 4);
    EXPECT_NEAR(last.alpha, 0.0015, 1e-15);  // 1 - 199/200 is not exactly 1/200 in doubles
    EXPECT_NEAR(last.nc, 0.02, 1e-15);
    EXPECT_EQ(last.r, 0);

    const Schedule beyond = ScheduleAt(201, 200, 0.3, 4);  // the extra tick of a timer run
    EXPECT_EQ(beyond.alpha, 0);
    EXPECT_EQ(beyond.nc, 0);
    EXPECT_EQ(ScheduleAt(1, 200, 0.3, 1e6).r, kSide);  // a huge radius covers the grid, no more
    EXPECT_THROW(ScheduleAt(1, 0, 0.3, 4), std::invalid_argument);
}

// Only animal 7 (on unit (8, 7)) differs from 0, so only its neighbourhood moves.
void ExpectNeighbourhood(double nc0, double alfa0) {
    AnimalTable t = Zeros();
    t[7] = Basis(0);
    SomMap map;
    map.MapInit(InitMethod::kZeroAndAnimals, t, alfa0, nc0, 200);
    const StepReport step = map.MapStep(t);
    ASSERT_EQ(step.outcome, StepOutcome::kDone);
    EXPECT_EQ(step.winners[7], (Unit{8, 7}));
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide; ++y) {
            const double d2 = (x - 8) * (x - 8) + (y - 7) * (y - 7);
            const double want = (x == 8 && y == 7) ? 1.0 : d2 <= nc0 * nc0 ? alfa0 : 0.0;
            EXPECT_DOUBLE_EQ(map.W(x, y, 0), want) << "nc0 " << nc0 << " unit " << x << "," << y;
            EXPECT_EQ(map.W(x, y, 1), 0.0);
        }
    }
}

TEST(SomStep, TheNeighbourhoodIsTheSquareCutByTheCircle) {
    ExpectNeighbourhood(4, 0.3);  // (12, 7) moves, (12, 8) and (11, 10) do not
    ExpectNeighbourhood(3, 0.225);
    ExpectNeighbourhood(2.5, 0.3);  // the circle of 2.5 itself: (10, 8) moves, (10, 9) not
    ExpectNeighbourhood(0.5, 0.3);  // below 1 only the winner, which already holds the animal
}

TEST(SomStep, EveryUpdateStartsFromTheWeightsBeforeTheStep) {
    AnimalTable t = Zeros();
    t[7] = Basis(0);  // unit (8, 7)
    t[8] = Basis(1);  // unit (7, 8)
    SomMap map;
    map.MapInit(InitMethod::kZeroAndAnimals, t, 0.3, 4, 200);
    const StepReport step = map.MapStep(t);
    EXPECT_EQ(step.winners[8], (Unit{7, 8}));  // still nearest after animal 7 moved it to (0.3, 0.7)
    // (8, 8) lies in both neighbourhoods: animal 8's result from 0 replaces animal 7's.
    EXPECT_DOUBLE_EQ(map.W(8, 8, 0), 0);
    EXPECT_DOUBLE_EQ(map.W(8, 8, 1), 0.3);
    // Animal 7's own unit, moved by animal 8 from where it started.
    EXPECT_DOUBLE_EQ(map.W(8, 7, 0), 0.7);
    EXPECT_DOUBLE_EQ(map.W(8, 7, 1), 0.3);
    EXPECT_DOUBLE_EQ(map.W(7, 8, 0), 0);
    EXPECT_DOUBLE_EQ(map.W(7, 8, 1), 1);
    // Only in animal 7's neighbourhood.
    EXPECT_DOUBLE_EQ(map.W(12, 7, 0), 0.3);
    EXPECT_DOUBLE_EQ(map.W(12, 7, 1), 0);
    EXPECT_EQ(map.MapCount(), 1);
}

TEST(SomStep, DeterministicRunsAgreeWithAPlainImplementation) {
    const reference::Table table = reference::DefaultTable();
    for (const auto& [method, fill] : {std::pair{InitMethod::kZeroAndAnimals, 0.0}, std::pair{InitMethod::kOneAndAnimals, 1.0}}) {
        SomMap map;
        map.MapInit(method, kDefaultAnimals, 0.3, 4, 200);
        for (int s = 0; s < 200; ++s) ASSERT_EQ(map.MapStep(kDefaultAnimals).outcome, StepOutcome::kDone);
        const auto want = reference::Run(fill, table, 0.3, 4, 200, 200);
        const auto got = map.Winners(kDefaultAnimals);
        for (int n = 0; n < kAnimals; ++n) {
            EXPECT_EQ(got[n].x, want[n].x) << "fill " << fill << " animal " << n;
            EXPECT_EQ(got[n].y, want[n].y) << "fill " << fill << " animal " << n;
        }
    }
    // Another schedule, so that agreement is not an accident of the defaults.
    SomMap map;
    map.MapInit(InitMethod::kOneAndAnimals, kDefaultAnimals, 0.5, 6, 50);
    for (int s = 0; s < 50; ++s) map.MapStep(kDefaultAnimals);
    const auto want = reference::Run(1, table, 0.5, 6, 50, 50);
    const auto got = map.Winners(kDefaultAnimals);
    for (int n = 0; n < kAnimals; ++n) EXPECT_TRUE(got[n].x == want[n].x && got[n].y == want[n].y) << n;
}

TEST(SomStep, RefusedStepsChangeNothing) {
    SomMap map;
    map.MapInit(InitMethod::kZeroAndAnimals, kDefaultAnimals, 0.3, 4, 0);
    EXPECT_EQ(map.MapStep(kDefaultAnimals).outcome, StepOutcome::kNoLoop);
    EXPECT_EQ(map.MapCount(), 0);

    AnimalTable t = kDefaultAnimals;
    t[0][0] = 3;  // 3 x 1e308 leaves the doubles
    map.MapInit(InitMethod::kZeroAndAnimals, t, 1e308, 4, 200);
    const std::vector<double> before = Weights(map);
    EXPECT_EQ(map.MapStep(t).outcome, StepOutcome::kNotFinite);
    EXPECT_EQ(Weights(map), before);
    EXPECT_EQ(map.MapCount(), 0);
}

TEST(SomColours, BandsOfTheSquaredLength) {
    EXPECT_EQ(NormColor(0), kv::kWhite);
    EXPECT_EQ(NormColor(0.099), kv::kWhite);
    EXPECT_EQ(NormColor(0.1), (kv::Rgb{255, 255, 191}));
    EXPECT_EQ(NormColor(0.25), (kv::Rgb{255, 255, 127}));
    EXPECT_EQ(NormColor(0.3), (kv::Rgb{255, 255, 63}));
    EXPECT_EQ(NormColor(0.45), (kv::Rgb{255, 255, 0}));
    EXPECT_EQ(NormColor(0.55), (kv::Rgb{255, 255, 0}));  // 4 and 5 alike
    EXPECT_EQ(NormColor(0.65), (kv::Rgb{255, 191, 0}));
    EXPECT_EQ(NormColor(0.79), (kv::Rgb{255, 127, 0}));
    EXPECT_EQ(NormColor(0.8), (kv::Rgb{255, 63, 0}));
    EXPECT_EQ(NormColor(0.95), kv::kRed);
    EXPECT_EQ(NormColor(1), kv::kRed);

    // The default animals on a map of zeros: each diagonal unit by its own squared length.
    SomMap map;
    map.MapInit(InitMethod::kZeroAndAnimals, kDefaultAnimals, 0.3, 4, 200);
    const auto colours = MapColors(map);
    double largest = 0;
    for (const Attributes& v : kDefaultAnimals) {
        double s = 0;
        for (double a : v) s += a * a;
        largest = std::max(largest, s);
    }
    EXPECT_DOUBLE_EQ(largest, 8);  // シマウマ
    EXPECT_EQ(colours[1 * kSide + 14], kv::kRed);
    EXPECT_EQ(colours[2 * kSide + 13], (kv::Rgb{255, 63, 0}));  // ウマ, 7 / 8
    EXPECT_EQ(colours[15 * kSide + 0], (kv::Rgb{255, 255, 0}));  // ハト, 4.25 / 8
    EXPECT_EQ(colours[0], kv::kWhite);

    // Every weight 0: nothing to compare with, all white.
    map.MapInit(InitMethod::kZeroAndAnimals, Zeros(), 0.3, 4, 200);
    for (const kv::Rgb c : MapColors(map)) ASSERT_EQ(c, kv::kWhite);
    // Lengths beyond a double still compare.
    AnimalTable huge = Zeros();
    huge[0][0] = 1e200;
    huge[1][0] = 0.5e200;
    map.MapInit(InitMethod::kZeroAndAnimals, huge, 0.3, 4, 200);
    const auto big = MapColors(map);
    EXPECT_EQ(big[15 * kSide + 0], kv::kRed);
    EXPECT_EQ(big[14 * kSide + 1], (kv::Rgb{255, 255, 127}));  // a quarter
}

std::set<std::tuple<int, int, int, int>> Edges(int x, int y) {
    std::set<std::tuple<int, int, int, int>> e;
    if (x > 0) e.insert({x, y, x, y + 1});
    if (x < 15) e.insert({x + 1, y, x + 1, y + 1});
    if (y > 0) e.insert({x, y, x + 1, y});
    if (y < 15) e.insert({x, y + 1, x + 1, y + 1});
    return e;
}

TEST(SomBoundaries, ClassThresholdsAndSegments) {
    EXPECT_EQ(HerbivoreClass(0.75), 2);
    EXPECT_EQ(HerbivoreClass(0.7499), 1);
    EXPECT_EQ(HerbivoreClass(0.25), 1);
    EXPECT_EQ(HerbivoreClass(0.2499), 0);
    EXPECT_EQ(FeatherClass(0.5), 1);
    EXPECT_EQ(FeatherClass(0.4999), 0);

    // The default animals on zeros: each bird and each non-carnivore is an island of its
    // own class, so the boundaries are the sides of those units.
    SomMap map;
    map.MapInit(InitMethod::kZeroAndAnimals, kDefaultAnimals, 0.3, 4, 200);
    std::set<std::tuple<int, int, int, int>> herbivore, feather;
    for (int n : {0, 1, 2, 3, 13, 14, 15}) herbivore.merge(Edges(15 - n, n));
    for (int n = 0; n <= 6; ++n) feather.merge(Edges(15 - n, n));
    auto asSet = [](const std::vector<Segment>& segs) {
        std::set<std::tuple<int, int, int, int>> s;
        for (const Segment& g : segs) s.insert({g.x1, g.y1, g.x2, g.y2});
        return s;
    };
    const auto h = HerbivoreBoundary(map);
    EXPECT_EQ(asSet(h), herbivore);
    EXPECT_EQ(h.size(), herbivore.size());
    EXPECT_EQ(asSet(FeatherBoundary(map)), feather);
    // Vertical segments come first.
    const auto firstHorizontal = std::find_if(h.begin(), h.end(), [](const Segment& s) { return s.y1 == s.y2; });
    EXPECT_TRUE(std::all_of(firstHorizontal, h.end(), [](const Segment& s) { return s.y1 == s.y2; }));

    // Exactly 0.75 next to exactly 0.25: still different classes.
    AnimalTable t = Zeros();
    t[7][kHerbivore] = 0.75;  // unit (8, 7)
    t[8][kHerbivore] = 0.25;  // unit (7, 8)
    map.MapInit(InitMethod::kZeroAndAnimals, t, 0.3, 4, 200);
    EXPECT_EQ(HerbivoreBoundary(map).size(), 8u);
}

TEST(LvqClasses, GroupDietAndRegions) {
    Attributes v{};
    v[kFeather] = 0.5;
    EXPECT_EQ(AnimalGroup(v), Group::kMammal);
    v[kFeather] = 0.51;
    EXPECT_EQ(AnimalGroup(v), Group::kBird);
    for (const auto& [herbivore, diet] : {std::pair{0.75, Diet::kOmnivore}, std::pair{0.25, Diet::kOmnivore},
                                          std::pair{0.76, Diet::kHerbivore}, std::pair{0.24, Diet::kCarnivore}}) {
        v[kHerbivore] = herbivore;
        EXPECT_EQ(AnimalDiet(v), diet) << herbivore;
    }

    // The default animals fall as the groups are taught.
    for (int n = 0; n < kAnimals; ++n) {
        const Attributes& a = kDefaultAnimals[n];
        EXPECT_EQ(AnimalGroup(a), n <= 6 ? Group::kBird : Group::kMammal) << n;
        EXPECT_EQ(AnimalDiet(a), n <= 3 ? Diet::kOmnivore : n >= 13 ? Diet::kHerbivore : Diet::kCarnivore) << n;
    }

    EXPECT_FALSE(InRegion(Group::kMammal, Diet::kHerbivore, {3, 4}));
    EXPECT_TRUE(InRegion(Group::kMammal, Diet::kHerbivore, {3, 10}));
    EXPECT_FALSE(InRegion(Group::kMammal, Diet::kCarnivore, {8, 2}));
    EXPECT_TRUE(InRegion(Group::kMammal, Diet::kCarnivore, {7, 4}));
    EXPECT_TRUE(InRegion(Group::kBird, Diet::kOmnivore, {8, 5}));
    EXPECT_TRUE(InRegion(Group::kBird, Diet::kOmnivore, {15, 9}));
    EXPECT_FALSE(InRegion(Group::kBird, Diet::kOmnivore, {15, 10}));
    // The region table covers the map once, each region where InRegion puts it.
    int covered = 0;
    for (const Region& r : kRegions)
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y) {
                ++covered;
                EXPECT_TRUE(InRegion(r.group, r.diet, {x, y})) << x << "," << y;
            }
    EXPECT_EQ(covered, kSide * kSide);
}

TEST(LvqStep, WinnersAttractedInTheirRegionAndRepelledOutside) {
    kv::SeedRandomForTest(3);
    LvqMap map;
    map.MapInit(0.3, 200);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y)
            for (int a = 0; a < kAttributes; ++a) ASSERT_TRUE(map.W(x, y, a) >= 0 && map.W(x, y, a) < 1);

    for (int s = 1; s <= 3; ++s) {
        const std::vector<double> before = Weights(map);
        auto w0 = [&](Unit u, int a) { return before[static_cast<std::size_t>((u.x * kSide + u.y) * kAttributes + a)]; };
        const double alpha = 0.3 * (1 - (s - 1) / 200.0);
        const StepReport step = map.MapStep(kDefaultAnimals);
        ASSERT_EQ(step.outcome, StepOutcome::kDone);
        EXPECT_DOUBLE_EQ(step.schedule.alpha, alpha);
        int moved = 0, repelled = 0;
        for (int n = 0; n < kAnimals; ++n) {
            const Unit b = step.winners[n];
            const bool inside = InRegion(AnimalGroup(kDefaultAnimals[n]), AnimalDiet(kDefaultAnimals[n]), b);
            EXPECT_EQ(step.attracted[n], inside);
            repelled += inside ? 0 : 1;
            // The later animal's result stands on a unit that two animals won.
            bool later = false;
            for (int m = n + 1; m < kAnimals; ++m) later = later || step.winners[m] == b;
            if (later) continue;
            ++moved;
            for (int a = 0; a < kAttributes; ++a) {
                const double v = kDefaultAnimals[n][a];
                const double want = inside ? w0(b, a) + alpha * (v - w0(b, a)) : w0(b, a) - alpha * (v - w0(b, a));
                EXPECT_NEAR(map.W(b.x, b.y, a), want, 1e-15);
            }
        }
        EXPECT_GT(moved, 0);
        if (s == 1) {
            EXPECT_GT(repelled, 0);  // random weights: some winners lie in the wrong region
        }
        // Nothing but the winners moved.
        int changed = 0;
        const std::vector<double> after = Weights(map);
        for (std::size_t i = 0; i < after.size(); i += kAttributes) {
            const Unit u{static_cast<int>(i / kAttributes) / kSide, static_cast<int>(i / kAttributes) % kSide};
            const bool won = std::find(step.winners.begin(), step.winners.end(), u) != step.winners.end();
            bool differs = false;
            for (int a = 0; a < kAttributes; ++a) differs = differs || after[i + a] != before[i + a];
            EXPECT_TRUE(won || !differs);
            changed += differs ? 1 : 0;
        }
        EXPECT_LE(changed, kAnimals);
    }
}

}  // namespace
