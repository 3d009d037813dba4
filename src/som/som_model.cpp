#include "som/som_model.h"

#include <algorithm>
#include <span>
#include <cmath>
#include <stdexcept>

#include "core/kernels.h"
#include "plot/random.h"
#include "plot/rounding.h"

namespace kv::som {
namespace {

constexpr int kUnits = kSide * kSide;
constexpr int kWeights = kUnits * kAttributes;

void CheckUnit(int x, int y) {
    if (x < 0 || x >= kSide || y < 0 || y >= kSide) throw std::out_of_range("no such unit");
}

template <typename ClassOf>
std::vector<Segment> Boundary(const UnitMap& map, int attribute, ClassOf classOf) {
    auto cls = [&](int x, int y) { return classOf(map.W(x, y, attribute)); };
    std::vector<Segment> segments;
    for (int y = 0; y < kSide; ++y)
        for (int x = 1; x < kSide; ++x)
            if (cls(x - 1, y) != cls(x, y)) segments.push_back({x, y, x, y + 1});
    for (int x = 0; x < kSide; ++x)
        for (int y = 1; y < kSide; ++y)
            if (cls(x, y - 1) != cls(x, y)) segments.push_back({x, y, x + 1, y});
    return segments;
}

}  // namespace

// Rows are animals here (the window shows them as columns).
const AnimalTable kDefaultAnimals = {{
    //  小 中 大 2足 4足 毛 蹄 鬣 羽 狩 走 飛 泳 草食 夜行 縞
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0.5, 0, 0},    // ハト
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5, 0, 0},    // ニワトリ
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0.5, 0, 1},    // カモ
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0.5, 0, 0},    // アヒル
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 1, 0},      // フクロウ
    {1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0},      // タカ
    {0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0},      // ワシ
    {0, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0.5, 0},    // キツネ
    {0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0},      // イヌ
    {0, 1, 0, 0, 1, 1, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0},      // オオカミ
    {1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0.5, 0},    // ネコ
    {0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0.5, 1},    // トラ
    {0, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0},      // ライオン
    {0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0},      // ウマ
    {0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 1},      // シマウマ
    {0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0},      // ウシ
}};

const std::array<Region, 6> kRegions = {{
    {Group::kMammal, Diet::kCarnivore, 0, 0, 8, 5, kYellow},
    {Group::kBird, Diet::kCarnivore, 8, 0, 16, 5, kPaleYellow},
    {Group::kMammal, Diet::kOmnivore, 0, 5, 8, 10, kMidGreen},
    {Group::kBird, Diet::kOmnivore, 8, 5, 16, 10, kLightGreen},
    {Group::kMammal, Diet::kHerbivore, 0, 10, 8, 16, kSalmon},
    {Group::kBird, Diet::kHerbivore, 8, 10, 16, 16, kLightRed},
}};

Schedule ScheduleAt(int count, int loop, double alfa0, double nc0) {
    if (loop == 0) throw std::invalid_argument("a run of 0 steps has no schedule");
    Schedule s;
    s.f = 1.0 - static_cast<double>(count - 1) / loop;
    s.alpha = s.f * alfa0;
    s.nc = s.f * nc0;
    // Beyond the grid's width every unit is inside the square anyway; below 0 none is.
    const double r = Int(s.nc);
    s.r = r >= kSide ? kSide : r < 0 ? -1 : static_cast<int>(r);
    return s;
}

UnitMap::UnitMap() : w_(kWeights, 0.0), w0_(kWeights, 0.0) {}

double UnitMap::W(int x, int y, int a) const {
    CheckUnit(x, y);
    if (a < 0 || a >= kAttributes) throw std::out_of_range("no such attribute");
    return w_.at(static_cast<std::size_t>(Index(x, y, a)));
}

Unit UnitMap::FindWinner(const Attributes& v, double* squaredDistance) const {
    Unit best;
    double bestD = 0;
    const double* w = w_.data();  // units in x-major order, a innermost: the search order
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide; ++y, w += kAttributes) {
            const bool first = x == 0 && y == 0;
            double d = 0;
            int a = 0;
            // The sum only grows, so once it reaches the best so far this unit cannot win.
            for (; a < kAttributes && (first || d < bestD); ++a) {
                const double e = v[a] - w[a];
                d += e * e;
            }
            // Only a strictly nearer unit replaces the first one found.
            if (first || (a == kAttributes && d < bestD)) {
                best = {x, y};
                bestD = d;
            }
        }
    }
    if (squaredDistance) *squaredDistance = bestD;
    return best;
}

std::array<Unit, kAnimals> UnitMap::Winners(const AnimalTable& animals) const {
    std::array<Unit, kAnimals> winners;
    for (int n = 0; n < kAnimals; ++n) winners[n] = FindWinner(animals[n]);
    return winners;
}

void UnitMap::Reset(double alfa0, int loop) {
    alfa0_ = alfa0;
    mapLoop_ = loop;
    mapCount_ = 0;
}

StepOutcome UnitMap::BeginStep(StepReport& report) {
    if (mapLoop_ == 0) return StepOutcome::kNoLoop;
    if (mapCount_ >= kMaxCount) return StepOutcome::kAtLimit;
    ++mapCount_;
    report.schedule = ScheduleAt(mapCount_, mapLoop_, alfa0_, 0);
    w0_ = w_;
    return StepOutcome::kDone;
}

StepOutcome UnitMap::EndStep() {
    if (AllFinite(std::span<const double>(w_))) return StepOutcome::kDone;
    w_ = w0_;
    --mapCount_;
    return StepOutcome::kNotFinite;
}

void SomMap::MapInit(InitMethod method, const AnimalTable& animals, double alfa0, double nc0, int loop) {
    Reset(alfa0, loop);
    nc0_ = nc0;
    for (double& w : w_) {
        switch (method) {
            case InitMethod::kRandom:
            case InitMethod::kRandomAndAnimals: w = Rnd(); break;
            case InitMethod::kZeroAndAnimals: w = 0; break;
            case InitMethod::kOneAndAnimals: w = 1; break;
        }
    }
    if (method == InitMethod::kRandom) return;
    for (int n = 0; n < kAnimals; ++n)
        for (int a = 0; a < kAttributes; ++a) w_.at(static_cast<std::size_t>(Index(kSide - 1 - n, n, a))) = animals[n][a];
}

StepReport SomMap::MapStep(const AnimalTable& animals) {
    StepReport report;
    report.outcome = BeginStep(report);
    if (report.outcome != StepOutcome::kDone) return report;
    const Schedule s = ScheduleAt(mapCount_, mapLoop_, alfa0_, nc0_);
    report.schedule = s;
    const double nc2 = s.nc * s.nc;  // the circle is of Nc itself, not of r
    double distances = 0;
    for (int n = 0; n < kAnimals; ++n) {
        const Attributes& v = animals[n];
        double d2 = 0;
        const Unit b = FindWinner(v, &d2);
        distances += std::sqrt(d2);
        report.winners[n] = b;
        report.attracted[n] = true;
        for (int x = std::max(0, b.x - s.r); x <= std::min(kSide - 1, b.x + s.r); ++x) {
            for (int y = std::max(0, b.y - s.r); y <= std::min(kSide - 1, b.y + s.r); ++y) {
                const double dx = x - b.x, dy = y - b.y;
                if (dy * dy + dx * dx > nc2) continue;
                const int i = Index(x, y, 0);
                for (int a = 0; a < kAttributes; ++a) w_[i + a] = (v[a] - w0_[i + a]) * s.alpha + w0_[i + a];
            }
        }
    }
    report.meanDistance = distances / kAnimals;
    report.outcome = EndStep();
    return report;
}

Group AnimalGroup(const Attributes& v) { return v[kFeather] > 0.5 ? Group::kBird : Group::kMammal; }

Diet AnimalDiet(const Attributes& v) {
    if (v[kHerbivore] > 0.75) return Diet::kHerbivore;
    if (v[kHerbivore] < 0.25) return Diet::kCarnivore;
    return Diet::kOmnivore;
}

bool InRegion(Group group, Diet diet, Unit u) {
    const bool side = group == Group::kBird ? u.x >= 8 : u.x <= 7;
    const bool band = diet == Diet::kHerbivore   ? u.y >= 10
                      : diet == Diet::kCarnivore ? u.y <= 4
                                                 : 5 <= u.y && u.y <= 9;
    return side && band;
}

void LvqMap::MapInit(double alfa0, int loop) {
    Reset(alfa0, loop);
    for (double& w : w_) w = Rnd();
}

StepReport LvqMap::MapStep(const AnimalTable& animals) {
    StepReport report;
    report.outcome = BeginStep(report);
    if (report.outcome != StepOutcome::kDone) return report;
    const double alpha = report.schedule.alpha;
    double distances = 0;
    for (int n = 0; n < kAnimals; ++n) {
        const Attributes& v = animals[n];
        double d2 = 0;
        const Unit b = FindWinner(v, &d2);
        distances += std::sqrt(d2);
        const bool towards = InRegion(AnimalGroup(v), AnimalDiet(v), b);
        report.winners[n] = b;
        report.attracted[n] = towards;
        const int i = Index(b.x, b.y, 0);
        for (int a = 0; a < kAttributes; ++a) {
            const double move = (v[a] - w0_[i + a]) * alpha;
            w_[i + a] = towards ? move + w0_[i + a] : w0_[i + a] - move;
        }
    }
    report.meanDistance = distances / kAnimals;
    report.outcome = EndStep();
    return report;
}

Rgb NormColor(double p) {
    // 4 and 5 are both pure yellow.
    static constexpr std::array<Rgb, 9> kBands = {kWhite,  kYellowPale, kYellowLight, kYellowStrong, kYellow,
                                                  kYellow, kAmber,      kOrange,      kRedOrange};
    const double v = Int(10 * p);
    if (!(v >= 0 && v < static_cast<double>(kBands.size()))) return kRed;
    return kBands[static_cast<std::size_t>(v)];
}

std::array<Rgb, kSide * kSide> MapColors(const UnitMap& map) {
    std::array<double, kUnits> length{};
    // Squared lengths with every component divided by `unit`; the largest of them.
    auto measure = [&](double unit) {
        double m = 0;
        for (int x = 0; x < kSide; ++x) {
            for (int y = 0; y < kSide; ++y) {
                double s = 0;
                for (int a = 0; a < kAttributes; ++a) s += (map.W(x, y, a) / unit) * (map.W(x, y, a) / unit);
                length[x * kSide + y] = s;
                m = std::max(m, s);
            }
        }
        return m;
    };
    double m = measure(1);
    if (!std::isfinite(m)) {
        // Lengths beyond a double: compare them measured in the largest component instead.
        double big = 0;
        for (int x = 0; x < kSide; ++x)
            for (int y = 0; y < kSide; ++y)
                for (int a = 0; a < kAttributes; ++a) big = std::max(big, std::abs(map.W(x, y, a)));
        m = measure(big);
    }
    std::array<Rgb, kUnits> colours;
    for (int i = 0; i < kUnits; ++i) colours[i] = m > 0 ? NormColor(length[i] / m) : kWhite;
    return colours;
}

int HerbivoreClass(double w) { return w >= 0.75 ? 2 : w >= 0.25 ? 1 : 0; }

int FeatherClass(double w) { return w >= 0.5 ? 1 : 0; }

std::vector<Segment> HerbivoreBoundary(const UnitMap& map) { return Boundary(map, kHerbivore, HerbivoreClass); }

std::vector<Segment> FeatherBoundary(const UnitMap& map) { return Boundary(map, kFeather, FeatherClass); }

}  // namespace kv::som
