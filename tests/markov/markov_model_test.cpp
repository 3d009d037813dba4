#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "markov/markov_model.h"

namespace {

using kv::markov::ArcEnd;
using kv::markov::MarkovChain;

MarkovChain Chain(int nodes, std::vector<ArcEnd> arcs, double tolerance = 0.0001) {
    MarkovChain c(nodes, tolerance);
    c.SetArcs(arcs);
    return c;
}

TEST(MarkovChain, ValueNotCarriedAwayStaysAndTooMuchCarriedGoesNegative) {
    // One arc 0 -> 1: a quarter of 4 leaves, the rest stays.
    const MarkovChain one = Chain(2, {{0, 1}});
    auto t = one.TransitionStep(std::vector{4.0, 0.0}, std::vector{0.25});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{3.0, 1.0}));
    // One and a half times the value leaves: the source goes below zero, the total stays.
    t = one.TransitionStep(std::vector{4.0, 0.0}, std::vector{1.5});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{-2.0, 6.0}));
    // A loop and an arc out summing to 1.25: 8 - 0.5*8 - 0.75*8 + 0.5*8 = 2.
    const MarkovChain both = Chain(2, {{0, 0}, {0, 1}});
    t = both.TransitionStep(std::vector{8.0, 0.0}, std::vector{0.5, 0.75});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{2.0, 6.0}));
    // A negative probability moves value against the arrow.
    t = one.TransitionStep(std::vector{4.0, 1.0}, std::vector{-0.5});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{6.0, -1.0}));
}

TEST(MarkovChain, EveryStepReadsTheValuesItWasGivenNotTheOnesItIsMaking) {
    // A swap: 0 -> 1 and 1 -> 0 with probability 1 exchange the values in one step.
    const MarkovChain swap = Chain(2, {{0, 1}, {1, 0}});
    const auto t = swap.TransitionStep(std::vector{5.0, 3.0}, std::vector{1.0, 1.0});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{3.0, 5.0}));
    EXPECT_FALSE(t->Settled);
    // A chain 0 -> 1 -> 2: node 1 passes on what it held, not what it is receiving.
    const MarkovChain line = Chain(3, {{0, 1}, {1, 2}});
    const auto u = line.TransitionStep(std::vector{8.0, 2.0, 0.0}, std::vector{0.5, 0.5});
    ASSERT_TRUE(u);
    EXPECT_EQ(u->NewValue, (std::vector{4.0, 5.0, 1.0}));
}

TEST(MarkovChain, OutflowsAreTakenOneArcAtATimeInIndexOrder) {
    // The arcs leaving node 0 carry 0.3, 0.5 and 0.2 of 2: the three subtractions in that
    // order leave the double just below zero, not zero.
    const MarkovChain c = Chain(4, {{0, 1}, {0, 3}, {0, 2}});
    const auto t = c.TransitionStep(std::vector{2.0, 0.0, 0.0, 0.0}, std::vector{0.3, 0.5, 0.2});
    ASSERT_TRUE(t);
    const double expected = ((2.0 - 0.3 * 2.0) - 0.5 * 2.0) - 0.2 * 2.0;
    EXPECT_EQ(t->NewValue[0], expected);
    EXPECT_LT(t->NewValue[0], 0.0);
    EXPECT_EQ(t->NewValue[1], 0.3 * 2.0);
    EXPECT_EQ(t->NewValue[3], 0.5 * 2.0);
}

TEST(MarkovChain, WithRowsSummingToOneAStepIsTheDistributionTimesTheTransitionMatrix) {
    // Every node sends to every node (loops included), rows of eighths summing to 1.
    const int n = 3;
    const double P[n][n] = {{0.25, 0.5, 0.25}, {0.125, 0.375, 0.5}, {0.75, 0.0, 0.25}};
    std::vector<ArcEnd> arcs;
    std::vector<double> p;
    for (int s = 0; s < n; ++s)
        for (int d = 0; d < n; ++d) {
            arcs.push_back({s, d});
            p.push_back(P[s][d]);
        }
    const MarkovChain c = Chain(n, arcs);
    const std::vector<double> x{16, 8, 40};
    const auto t = c.TransitionStep(x, p);
    ASSERT_TRUE(t);
    for (int j = 0; j < n; ++j) {
        double xp = 0;
        for (int i = 0; i < n; ++i) xp += x[static_cast<std::size_t>(i)] * P[i][j];
        EXPECT_EQ(t->NewValue[static_cast<std::size_t>(j)], xp) << j;
    }
}

TEST(MarkovChain, TheTotalOfTheNodeValuesStays) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> prob(-0.5, 1.5), value(-100, 100);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<ArcEnd> arcs;
        std::vector<double> p, x;
        const int nodes = 2 + trial % 4;
        const int count = 1 + trial % MarkovChain::kMaxArcs;
        for (int a = 0; a < count; ++a) {
            arcs.push_back({static_cast<int>(random() % nodes), static_cast<int>(random() % nodes)});
            p.push_back(prob(random));
        }
        double total = 0;
        for (int i = 0; i < nodes; ++i) {
            x.push_back(value(random));
            total += x.back();
        }
        const auto t = Chain(nodes, arcs).TransitionStep(x, p);
        ASSERT_TRUE(t);
        double after = 0;
        for (double v : t->NewValue) after += v;
        EXPECT_NEAR(after, total, 1e-9) << trial;
    }
}

TEST(MarkovChain, SettledWhenNoNodeMovesByMoreThanTheTolerance) {
    // An eighth of 4 moves: each node changes by exactly 0.5.
    const std::vector<double> x{4.0, 0.0}, p{0.125};
    auto at = [&](double tolerance) { return Chain(2, {{0, 1}}, tolerance).TransitionStep(x, p)->Settled; };
    EXPECT_TRUE(at(0.5));    // a move equal to the tolerance still counts as settled
    EXPECT_FALSE(at(0.49));
    EXPECT_FALSE(at(0));
    // Tolerance 0: only a step that moves nothing at all.
    const MarkovChain strict = Chain(2, {{0, 1}}, 0);
    EXPECT_TRUE(strict.TransitionStep(x, std::vector{0.0})->Settled);
    EXPECT_FALSE(strict.TransitionStep(x, std::vector{1e-300})->Settled);
    // A step that moves value round and back to where it was counts as settled too.
    const MarkovChain swap = Chain(2, {{0, 1}, {1, 0}}, 0);
    EXPECT_TRUE(swap.TransitionStep(std::vector{3.0, 3.0}, std::vector{1.0, 1.0})->Settled);
}

TEST(MarkovChain, AStepWhoseValuesLeaveTheDoublesGivesNothing) {
    const MarkovChain c = Chain(2, {{0, 1}});
    EXPECT_FALSE(c.TransitionStep(std::vector{1e300, 0.0}, std::vector{1e10}));        // the product
    EXPECT_FALSE(c.TransitionStep(std::vector{1.7e308, 1.7e308}, std::vector{1.0}));  // the sum
    // A loop whose inflow and outflow both overflow would meet as "inf - inf".
    const MarkovChain loop = Chain(1, {{0, 0}});
    EXPECT_FALSE(loop.TransitionStep(std::vector{1e300}, std::vector{1e300}));
    // Large but finite is fine.
    const auto t = c.TransitionStep(std::vector{1e300, 0.0}, std::vector{0.5});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->NewValue, (std::vector{5e299, 5e299}));
}

TEST(MarkovChain, AnArcTableThatDoesNotFitTheChainIsAMistake) {
    MarkovChain c(3, 0);
    EXPECT_THROW(c.SetArcs(std::vector<ArcEnd>(10, ArcEnd{0, 1})), std::invalid_argument);
    EXPECT_THROW(c.SetArcs(std::vector<ArcEnd>{{0, 3}}), std::invalid_argument);
    EXPECT_THROW(c.SetArcs(std::vector<ArcEnd>{{-1, 0}}), std::invalid_argument);
    EXPECT_EQ(c.Arcs(), 0);
    c.SetArcs(std::vector<ArcEnd>(9, ArcEnd{2, 1}));
    EXPECT_EQ(c.Arcs(), 9);
    EXPECT_EQ(c.ArcEnds(8).source, 2);
    EXPECT_THROW(c.ArcEnds(9), std::out_of_range);
    // A value for every node and every arc.
    EXPECT_THROW(c.TransitionStep(std::vector{1.0, 2.0}, std::vector<double>(9, 0.5)), std::invalid_argument);
    EXPECT_THROW(c.TransitionStep(std::vector{1.0, 2.0, 3.0}, std::vector<double>(8, 0.5)), std::invalid_argument);
    EXPECT_THROW(MarkovChain(0, 0), std::invalid_argument);
}

}  // namespace
