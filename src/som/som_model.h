// The sixteen animals on a 16 x 16 grid of units: the weight grid both maps share, the
// self-organising map (winner and a shrinking neighbourhood move towards each animal) and
// learning vector quantisation (only the winner moves, towards the animal inside the
// animal's region of the map and away from it outside), and the colour rules of their
// drawings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "plot/colors.h"

namespace kv::som {

inline constexpr int kSide = 16;        // units per row and per column
inline constexpr int kAttributes = 16;  // components of an animal and of a weight vector
inline constexpr int kAnimals = 16;
// Step counts are 16-bit.
inline constexpr int kMaxCount = 32767;
inline constexpr int kMinCount = -32768;

// Attribute numbers the boundaries and the classes read.
inline constexpr int kFeather = 8;     // 羽を持つ
inline constexpr int kHerbivore = 13;  // 草食性

using Attributes = std::array<double, kAttributes>;
using AnimalTable = std::array<Attributes, kAnimals>;  // [animal][attribute]

// The table the windows open with.
extern const AnimalTable kDefaultAnimals;

struct Unit {
    int x = 0;  // column
    int y = 0;  // row, 0 at the top
    constexpr bool operator==(const Unit&) const = default;
};

// Where a step stands in its run: f falls from 1 at the first step to 1/MapLoop at step
// MapLoop; the rate and the radius fall with it.
struct Schedule {
    double f = 0;
    double alpha = 0;
    double nc = 0;  // neighbourhood radius; units within Nc of the winner move
    int r = 0;      // Int(Nc), the half-width of the square searched (kept within the grid)
};
// For step number `count` of a run of `loop` steps (loop != 0).
Schedule ScheduleAt(int count, int loop, double alfa0, double nc0);

enum class StepOutcome {
    kDone,
    kNoLoop,     // MapLoop is 0: the schedule cannot divide; nothing changed
    kAtLimit,    // MapCount is already the largest 16-bit count; nothing changed
    kNotFinite,  // a weight would have left the doubles; the map is as it was
};

struct StepReport {
    StepOutcome outcome = StepOutcome::kDone;
    Schedule schedule;
    std::array<Unit, kAnimals> winners{};  // each animal's winner, found at its turn
    std::array<bool, kAnimals> attracted{};  // LVQ: moved towards the animal (else away)
    // The mean over the animals of the distance to each one's winner, as the search found it
    // (before the update): how well the map fits the animals.
    double meanDistance = 0;
};

// Storage that starts on a cache line. Every step copies W to W0 through the C library's
// block move, which on some processors runs tens of times slower when the two blocks start
// at different offsets within their cache lines, as two heap blocks may: a step would then
// take twice as long or not, by where the heap happened to put the weights.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kLine{64};
    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), kLine)); }
    void deallocate(T* p, std::size_t n) { ::operator delete(p, n * sizeof(T), kLine); }
    template <typename U>
    bool operator==(const CacheLineAllocator<U>&) const { return true; }
};

// The weight grid and its counters; the two maps differ in how they start and step.
class UnitMap {
public:
    double W(int x, int y, int a) const;
    // The unit nearest to v by squared distance; ties go to the smallest x, then y. The
    // squared distance found goes to `squaredDistance` when one is given.
    Unit FindWinner(const Attributes& v, double* squaredDistance = nullptr) const;
    std::array<Unit, kAnimals> Winners(const AnimalTable& animals) const;

    int MapCount() const { return mapCount_; }
    int MapLoop() const { return mapLoop_; }
    // A timer run's end, after its still step: the count comes back to MapLoop.
    void EndRun() { mapCount_ = mapLoop_; }

protected:
    UnitMap();
    static int Index(int x, int y, int a) { return (x * kSide + y) * kAttributes + a; }
    void Reset(double alfa0, int loop);
    // Counts the step and copies W to W0; anything but kDone means the step must not run.
    StepOutcome BeginStep(StepReport& report);
    // Takes the step back when a weight left the doubles.
    StepOutcome EndStep();

    using Weights = std::vector<double, CacheLineAllocator<double>>;
    Weights w_;   // W(x, y, a) at Index(x, y, a)
    Weights w0_;  // W at the start of the step being taken
    double alfa0_ = 0;
    int mapLoop_ = 0;
    int mapCount_ = 0;
};

enum class InitMethod {
    kRandom,            // 全体ランダム設定
    kRandomAndAnimals,  // 全体ランダム+固定値
    kZeroAndAnimals,    // 全体を０に設定+固定値
    kOneAndAnimals,     // 全体を１に設定+固定値
};

class SomMap : public UnitMap {
public:
    // Weights by `method` (random ones from the program's sequence, x outer, a innermost),
    // then, unless all random, animal n written onto unit (15 - n, n).
    void MapInit(InitMethod method, const AnimalTable& animals, double alfa0, double nc0, int loop);
    // One step over all animals in order; every update starts from W0, so where two
    // neighbourhoods overlap the later animal's result stands.
    StepReport MapStep(const AnimalTable& animals);
    double Nc0() const { return nc0_; }

private:
    double nc0_ = 0;
};

// The two ways of telling animals apart, from the animal's own attributes.
enum class Group { kMammal, kBird };
enum class Diet { kCarnivore, kOmnivore, kHerbivore };
Group AnimalGroup(const Attributes& v);  // bird when 羽を持つ > 0.5
Diet AnimalDiet(const Attributes& v);    // herbivore > 0.75, carnivore < 0.25

// The six fixed regions of the LVQ map, in drawing order.
struct Region {
    Group group;
    Diet diet;
    int left, top, right, bottom;  // units left..right-1, top..bottom-1
    Rgb colour;
};
extern const std::array<Region, 6> kRegions;
// Whether unit u lies in the region of this group and diet.
bool InRegion(Group group, Diet diet, Unit u);

class LvqMap : public UnitMap {
public:
    // Every weight random, x outer and a innermost; no animal is written.
    void MapInit(double alfa0, int loop);
    // One step over all animals in order; only each winner moves, from W0.
    StepReport MapStep(const AnimalTable& animals);
};

// Colour of a unit whose squared weight length is the fraction p of the largest.
Rgb NormColor(double p);
// Each unit's colour (index x * 16 + y) by its squared weight length against the largest;
// all white when every weight is 0.
std::array<Rgb, kSide * kSide> MapColors(const UnitMap& map);

// Classes of a unit for the two boundaries.
int HerbivoreClass(double w);  // 2 from 0.75, 1 from 0.25, else 0
int FeatherClass(double w);    // 1 from 0.5, else 0

// A boundary segment between units of different class, in map coordinates.
struct Segment {
    int x1, y1, x2, y2;
    constexpr bool operator==(const Segment&) const = default;
};
// Vertical segments first (rows y, columns x = 1..15), then horizontal ones.
std::vector<Segment> HerbivoreBoundary(const UnitMap& map);
std::vector<Segment> FeatherBoundary(const UnitMap& map);

}  // namespace kv::som
