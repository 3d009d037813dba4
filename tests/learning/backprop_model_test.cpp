#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/kernels.h"
#include "learning/backprop_model.h"
#include "plot/numtext.h"

using bp = kv::learning::BackpropNetwork;
using Stage = bp::Stage;

namespace {

// The figures the learner reads are rounded to six decimals.
constexpr double kSix = 5e-7;

std::vector<bp::Step> Steps(bp& net, int count) {
    std::vector<bp::Step> done;
    for (int i = 0; i < count; ++i) done.push_back(net.Advance());
    return done;
}

}  // namespace

TEST(BackpropModel, SigmoidTableAndLookup) {
    bp net;
    EXPECT_DOUBLE_EQ(net.SigTable(100), 0.5);
    EXPECT_DOUBLE_EQ(net.SigTable(0), 1 / (std::exp(20.0) + 1));
    EXPECT_DOUBLE_EQ(net.SigTable(199), 1 / (std::exp(-19.8) + 1));

    // Halves go up: 0.05 is entry 101, -0.05 entry 100, -0.15 entry 99.
    EXPECT_EQ(bp::TableIndex(0.05), 101);
    EXPECT_EQ(bp::TableIndex(-0.05), 100);
    EXPECT_EQ(bp::TableIndex(-1.403985), 86);
    EXPECT_EQ(bp::TableIndex(12), 199);
    EXPECT_EQ(bp::TableIndex(-12), 0);
    EXPECT_EQ(net.Lookup(12), net.SigTable(199));
    EXPECT_EQ(net.Lookup(-12), net.SigTable(0));
    // Sums far beyond any int, and a sum that is no number, still land inside the table.
    EXPECT_EQ(bp::TableIndex(1e300), 199);
    EXPECT_EQ(bp::TableIndex(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(bp::TableIndex(std::numeric_limits<double>::quiet_NaN()), 0);

    // Where exp(-a u) would pass e^100 the sigmoid is exactly 0.
    EXPECT_EQ(kv::Sigmoid(-50, 2), 0.0);
    EXPECT_GT(kv::Sigmoid(-49.9, 2), 0.0);
}

TEST(BackpropModel, FirstPatternFromFreshWeights) {
    bp net;
    for (int k = 0; k <= bp::kInputs; ++k)
        for (int h = 0; h < bp::kHidden; ++h) EXPECT_EQ(net.W1(k, h), (5 * k + h) % 2 == 0 ? -1.0 : 1.0) << k << "," << h;
    const auto done = Steps(net, 9);  // load, five hidden units, output, error, back-propagation
    EXPECT_EQ(done[0].stage, Stage::kLoadPattern);
    EXPECT_EQ(done[0].index, 0);
    for (int h = 0; h < bp::kHidden; ++h) {
        EXPECT_EQ(done[1 + h].stage, Stage::kForwardHidden);
        EXPECT_EQ(done[1 + h].index, h);
        // Sums +1, -1, +1, ... are entries 110 and 90.
        EXPECT_NEAR(net.H(h), h % 2 == 0 ? 0.880797 : 0.119203, kSix) << h;
    }
    EXPECT_EQ(net.H(5), 1.0);
    EXPECT_EQ(done[6].stage, Stage::kForwardOutput);
    EXPECT_EQ(net.O(), net.SigTable(86));
    EXPECT_NEAR(net.O(), 0.057324, kSix);
    EXPECT_EQ(done[7].stage, Stage::kComputeError);
    EXPECT_NEAR(net.PatError(), 0.003286, kSix);
    EXPECT_EQ(net.MaxError(), net.PatError());
    EXPECT_EQ(done[8].stage, Stage::kBackpropOutput);
    EXPECT_NEAR(net.D2(), 0.003098, kSix);
    const double w2[] = {-1.000136, 0.999982, -1.000136, 0.999982, -1.000136, 0.999845};
    for (int h = 0; h < bp::kHidden; ++h) EXPECT_NEAR(net.D1(h), h % 2 == 0 ? -0.000325 : 0.000325, kSix) << h;
    for (int h = 0; h <= bp::kHidden; ++h) EXPECT_NEAR(net.W2(h), w2[h], kSix) << h;
    // Six decimals cannot tell the weights before and after their update apart; D1 must
    // come from the weights before it (-1 and +1 here).
    for (int h = 0; h < bp::kHidden; ++h)
        EXPECT_EQ(net.D1(h), net.H(h) * ((1 - net.H(h)) * ((h % 2 == 0 ? -1.0 : 1.0) * net.D2()))) << h;

    // All inputs of pattern 0 are 0: only the threshold weights (input 3) move.
    const auto update = Steps(net, 4);
    for (int k = 0; k <= bp::kInputs; ++k) {
        EXPECT_EQ(update[k].stage, Stage::kUpdateInputWeights);
        EXPECT_EQ(update[k].index, k);
    }
    for (int h = 0; h < bp::kHidden; ++h) {
        EXPECT_EQ(net.W1(0, h), h % 2 == 0 ? -1.0 : 1.0);
        EXPECT_NEAR(net.W1(3, h), (h % 2 == 0 ? 1.0 : -1.0) - 0.05 * net.D1(h), 1e-15);
    }
    EXPECT_EQ(net.Advance().stage, Stage::kEndPattern);
    EXPECT_EQ(net.PatIndex(), 1);
    EXPECT_EQ(net.CurrentStage(), Stage::kLoadPattern);
}

TEST(BackpropModel, StepByStepPassEqualsOneBatchPass) {
    bp stepped, batched;
    // One pattern is 14 operations; six patterns bring the learning back to pattern 0.
    const std::vector<bp::Step> done = Steps(stepped, 6 * 14);
    const Stage order[14] = {Stage::kLoadPattern,    Stage::kForwardHidden,  Stage::kForwardHidden,
                             Stage::kForwardHidden,  Stage::kForwardHidden,  Stage::kForwardHidden,
                             Stage::kForwardOutput,  Stage::kComputeError,   Stage::kBackpropOutput,
                             Stage::kUpdateInputWeights, Stage::kUpdateInputWeights,
                             Stage::kUpdateInputWeights, Stage::kUpdateInputWeights, Stage::kEndPattern};
    for (std::size_t i = 0; i < done.size(); ++i) {
        EXPECT_EQ(done[i].stage, order[i % 14]) << "step " << i;
        EXPECT_FALSE(done[i].restarted);
    }
    EXPECT_EQ(done[5 * 14].index, 5);
    EXPECT_EQ(stepped.PatIndex(), 0);
    EXPECT_EQ(stepped.PatError(), 0.0);  // cleared when the pass wraps

    EXPECT_EQ(batched.LearnBatch(1, 0), 1);
    for (int k = 0; k <= bp::kInputs; ++k)
        for (int h = 0; h < bp::kHidden; ++h) EXPECT_EQ(stepped.W1(k, h), batched.W1(k, h)) << k << "," << h;
    for (int h = 0; h <= bp::kHidden; ++h) EXPECT_EQ(stepped.W2(h), batched.W2(h)) << h;
    EXPECT_EQ(stepped.MaxError(), batched.MaxError());
    EXPECT_EQ(stepped.Advance().index, 0);  // the next pass starts at pattern 0 again
}

TEST(BackpropModel, BatchLearningWithTheDefaults) {
    bp net;
    std::vector<double> passMax;
    std::vector<std::int16_t> progress;
    int patterns = 0;
    bp::BatchObserver observer;
    observer.progress = [&](std::int16_t r, double n) {
        EXPECT_EQ(n, 500);
        progress.push_back(r);
    };
    observer.patternError = [&](double e) {
        ++patterns;
        EXPECT_GE(e, 0.0);
    };
    observer.passEnd = [&](double m) { passMax.push_back(m); };

    EXPECT_EQ(net.LearnBatch(500, 0.01, observer), 131);
    ASSERT_EQ(passMax.size(), 131u);
    EXPECT_NEAR(passMax[0], 0.072329, kSix);
    EXPECT_NEAR(passMax[1], 0.072329, kSix);
    EXPECT_GE(passMax[129], 0.01);
    EXPECT_NEAR(passMax[130], 0.009950, kSix);
    EXPECT_EQ(net.MaxError(), passMax[130]);
    EXPECT_EQ(patterns, 131 * 6);
    EXPECT_EQ(progress, (std::vector<std::int16_t>{20, 40, 60, 80, 100, 120}));

    // Learning goes on from the learnt weights: the next pass is already below the limit.
    EXPECT_EQ(net.LearnBatch(500, 0.01), 1);
    // A limit no error reaches runs every pass and reports n.
    bp fresh;
    EXPECT_EQ(fresh.LearnBatch(7, 0), 7);
}

TEST(BackpropModel, BatchPassCountEdges) {
    bp net;
    net.Advance();
    net.Advance();
    int calls = 0;
    bp::BatchObserver counting;
    counting.progress = [&](std::int16_t, double) { ++calls; };
    counting.patternError = [&](double) { ++calls; };
    counting.passEnd = [&](double) { ++calls; };
    // Below one pass, and counts the window refuses, run nothing and report n as given.
    for (double n : {0.0, 0.5, -1.0, 40000.0}) {
        EXPECT_EQ(net.LearnBatch(n, 0.01, counting), n);
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(net.W2(0), -1.0);
    }
    // No pass ran, so the step-by-step learning carries on where it was.
    const bp::Step next = net.Advance();
    EXPECT_FALSE(next.restarted);
    EXPECT_EQ(next.stage, Stage::kForwardHidden);
    EXPECT_EQ(next.index, 1);

    // A fractional count is compared as a number: 2.7 runs passes 1 and 2 and reports 2.7.
    bp twice, two;
    EXPECT_EQ(twice.LearnBatch(2.7, 0, counting), 2.7);
    two.LearnBatch(2, 0);
    EXPECT_EQ(twice.W2(5), two.W2(5));
    EXPECT_EQ(calls, 2 * 7);

    EXPECT_EQ(bp::PassCount(0.9), 0);
    EXPECT_EQ(bp::PassCount(2.7), 2);
    EXPECT_EQ(bp::PassCount(bp::kMaxPasses), bp::kMaxPasses);
    EXPECT_FALSE(bp::PassCount(bp::kMaxPasses + 0.5));
    EXPECT_FALSE(bp::PassCount(-0.5));
    EXPECT_FALSE(bp::PassCount(std::numeric_limits<double>::quiet_NaN()));
    // The largest count the counter holds still ends (and reports itself).
    bp full;
    EXPECT_EQ(full.LearnBatch(bp::kMaxPasses, 0), bp::kMaxPasses);

    EXPECT_EQ(bp::ProgressPercent(20, 500), 4.0);
    EXPECT_EQ(kv::GeneralText(bp::ProgressPercent(20, 300)), "6.66666666666667");
    EXPECT_EQ(kv::GeneralText(bp::ProgressPercent(20, 30.5)), "65.5737704918033");
}

TEST(BackpropModel, RunAndStepsAfterBatchOrRun) {
    bp net;
    net.Run({0, 0, 0});
    EXPECT_NEAR(net.O(), 0.057324, kSix);
    EXPECT_EQ(net.W2(0), -1.0);
    EXPECT_EQ(net.PatError(), 0.0);
    net.Run({1, 0, 1});  // sums -1, +1, -1, +1, -1
    EXPECT_NEAR(net.H(0), 0.119203, kSix);
    EXPECT_NEAR(net.H(1), 0.880797, kSix);
    EXPECT_EQ(net.O(), net.SigTable(124));  // 2 * 0.880797 - 3 * 0.119203 + 1
    net.Run({1, 1, 1});  // every sum is 0
    EXPECT_EQ(net.H(4), 0.5);

    // A step after a run starts the step-by-step learning over at pattern 0.
    bp::Step s = net.Advance();
    EXPECT_TRUE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
    EXPECT_EQ(s.index, 0);
    EXPECT_EQ(net.X(0), 0.0);
    EXPECT_FALSE(net.Advance().restarted);

    // The same mid-pattern after a batch, with the counters of the step-by-step learning
    // all in the middle of their ranges; the batch's weights are kept.
    Steps(net, 8 + 14 * 2);
    ASSERT_EQ(net.CurrentStage(), Stage::kUpdateInputWeights);
    net.LearnBatch(3, 0);
    const double learnt = net.W2(5);
    s = net.Advance();
    EXPECT_TRUE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
    EXPECT_EQ(s.index, 0);
    const auto rest = Steps(net, 13);
    EXPECT_EQ(rest[0].index, 0);
    EXPECT_EQ(rest.back().stage, Stage::kEndPattern);
    EXPECT_NE(net.W2(5), learnt);
    EXPECT_EQ(net.PatIndex(), 1);

    // Initialisation brings back the fresh weights and the first operation.
    net.LearnBatch(2, 0);
    net.Initialise(bp::kDefaultTraining);
    EXPECT_EQ(net.W2(5), 1.0);
    s = net.Advance();
    EXPECT_FALSE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
}

namespace {

// Steps from a fresh network to the given stage of pattern 2, with the hidden-unit and
// input counters in the middle of their ranges where the stage uses them.
void StepTo(bp& net, Stage stage) {
    const int into[] = {0, 1 + 2, 6, 7, 8, 9 + 1, 13};
    Steps(net, 14 * 2 + into[static_cast<int>(stage)]);
    ASSERT_EQ(net.CurrentStage(), stage);
    ASSERT_EQ(net.PatIndex(), 2);
}

// Steps to the end of the current pattern and returns the next pattern's first step.
bp::Step NextPatternStart(bp& net) {
    for (int i = 0; i < 14; ++i) {
        const bp::Step s = net.Advance();
        if (s.stage == Stage::kEndPattern) return net.Advance();
    }
    ADD_FAILURE() << "no end of pattern within 14 steps";
    return {};
}

}  // namespace

TEST(BackpropModel, StepsAfterANormalRunCarryOnUnlessTheyReadTheHiddenCounter) {
    // A run leaves only the hidden-unit counter past its range: only the hidden stage
    // reads it before setting it, so only that stage starts over at pattern 0.
    const int patternOfStage[] = {2, 0, 0, 2, 2, 1, 2};  // the index each stage reports here
    for (Stage stage : {Stage::kLoadPattern, Stage::kForwardOutput, Stage::kComputeError, Stage::kBackpropOutput,
                        Stage::kUpdateInputWeights, Stage::kEndPattern}) {
        SCOPED_TRACE(static_cast<int>(stage));
        bp net;
        StepTo(net, stage);
        net.Run({1, 1, 1});
        const bp::Step s = net.Advance();
        EXPECT_EQ(s.stage, stage);
        EXPECT_EQ(s.index, patternOfStage[static_cast<int>(stage)]);
        EXPECT_FALSE(s.restarted);
        // Pattern 2 is learnt once: the learning goes on with pattern 3.
        const bp::Step next = stage == Stage::kEndPattern ? net.Advance() : NextPatternStart(net);
        EXPECT_EQ(next.stage, Stage::kLoadPattern);
        EXPECT_EQ(next.index, 3);
        EXPECT_FALSE(next.restarted);
    }

    // The output stage after a run works on the run's hidden outputs, as the operation
    // reads them; the error is then that pattern's own.
    bp net;
    StepTo(net, Stage::kForwardOutput);
    net.Run({1, 1, 1});  // every hidden sum is 0
    net.Advance();
    bp probe;
    probe.Run({1, 1, 1});
    EXPECT_EQ(net.O(), probe.O());
    net.Advance();
    EXPECT_EQ(net.PatError(), (1 - net.O()) * (1 - net.O()));  // pattern 2's teacher is 1

    // In the hidden stage the counter stands past the last unit: start over.
    bp hidden;
    StepTo(hidden, Stage::kForwardHidden);
    hidden.Run({1, 1, 1});
    const bp::Step s = hidden.Advance();
    EXPECT_TRUE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
    EXPECT_EQ(s.index, 0);
    EXPECT_EQ(hidden.X(2), 0.0);  // pattern 0's inputs
    EXPECT_EQ(hidden.Advance().index, 0);  // then hidden unit 0
}

TEST(BackpropModel, StepsAfterABatchStartOverWhereACounterStandsPastItsRange) {
    // A batch leaves every counter past its range.
    for (Stage stage : {Stage::kLoadPattern, Stage::kForwardHidden, Stage::kComputeError, Stage::kBackpropOutput,
                        Stage::kUpdateInputWeights}) {
        SCOPED_TRACE(static_cast<int>(stage));
        bp net;
        StepTo(net, stage);
        net.LearnBatch(2, 0);
        const bp::Step s = net.Advance();
        EXPECT_TRUE(s.restarted);
        EXPECT_EQ(s.stage, Stage::kLoadPattern);
        EXPECT_EQ(s.index, 0);
        EXPECT_EQ(NextPatternStart(net).index, 1);
    }

    // The output stage reads no counter: it runs on the batch's last hidden outputs, and
    // the error stage after it, which reads the pattern counter, starts over.
    bp net;
    StepTo(net, Stage::kForwardOutput);
    net.LearnBatch(2, 0);
    const double lastO = net.O();
    bp::Step s = net.Advance();
    EXPECT_FALSE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kForwardOutput);
    EXPECT_EQ(net.O(), lastO);  // the same hidden outputs and weights give the same output
    s = net.Advance();
    EXPECT_TRUE(s.restarted);
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
    EXPECT_EQ(s.index, 0);

    // The end of a pattern only counts the pattern on: past the last one it wraps to 0.
    bp end;
    StepTo(end, Stage::kEndPattern);
    end.LearnBatch(2, 0);
    const double maxError = end.MaxError();
    s = end.Advance();
    EXPECT_EQ(s.stage, Stage::kEndPattern);
    EXPECT_EQ(end.PatIndex(), 0);
    EXPECT_EQ(end.PatError(), 0.0);
    EXPECT_EQ(end.MaxError(), maxError);
    s = end.Advance();
    EXPECT_EQ(s.stage, Stage::kLoadPattern);
    EXPECT_EQ(s.index, 0);
    EXPECT_TRUE(s.restarted);  // the screen still shows the batch's pass
}

TEST(BackpropModel, BatchPassByPassMatchesAWholeBatch) {
    bp stepped, whole;
    bp::Batch batch(stepped, 500, 0.01);
    std::vector<std::int16_t> reports;
    while (!batch.Ended()) {
        if (batch.ProgressPass() != 0 && (reports.empty() || reports.back() != batch.ProgressPass()))
            reports.push_back(batch.ProgressPass());
        batch.Next();
    }
    EXPECT_FALSE(batch.Next());  // an ended batch learns no more
    EXPECT_EQ(batch.Pass(), 131);
    EXPECT_EQ(batch.Result(), whole.LearnBatch(500, 0.01));
    EXPECT_EQ(stepped.MaxError(), whole.MaxError());
    EXPECT_EQ(stepped.PatError(), whole.PatError());
    for (int h = 0; h <= bp::kHidden; ++h) EXPECT_EQ(stepped.W2(h), whole.W2(h)) << h;
    // Before pass 20 the report reads 20; before the last pass (131) it still reads 120.
    EXPECT_EQ(reports, (std::vector<std::int16_t>{20, 40, 60, 80, 100, 120}));

    bp none;
    bp::Batch empty(none, 0.5, 0.01);
    EXPECT_TRUE(empty.Ended());
    EXPECT_FALSE(empty.Next());
    EXPECT_EQ(empty.Pass(), 0);
    EXPECT_EQ(empty.Result(), 0.5);
    EXPECT_EQ(none.W2(0), -1.0);
}
