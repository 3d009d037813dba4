#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "linear/linear_model.h"
#include "plot/numtext.h"

using kv::linear::AutoRun;
using kv::linear::LearnMove;
using kv::linear::LinearLearner;
using kv::linear::Samples;
using kv::linear::Update;

namespace {
const Samples kDefault{{{1, 1}, {2, 2.5}, {3, 3.5}, {4, 4.5}, {5, 4.5}}};
// sum x y = 57, sum x^2 = 55, sum y^2 = 60.

// Steps until the limit is reached; the move of that step.
LearnMove StepToLimit(LinearLearner& l, int limit) {
    LearnMove m;
    for (int n = 0; n < limit; ++n) {
        m = l.LearnStep();
        if (m.atLimit) break;
    }
    return m;
}
}  // namespace

TEST(LinearLearner, BatchStepsSettleAtTheLeastSquaresValue) {
    LinearLearner l(Update::Batch);
    l.Initialise(kDefault, 0.01);
    const LearnMove first = l.LearnStep();
    EXPECT_DOUBLE_EQ(first.aNew, 0.57);  // 0.01 * 57
    // E = sum y^2 - 2 a sum xy + a^2 sum x^2 = 60 - 64.98 + 17.8695
    EXPECT_NEAR(first.error, 12.8895, 1e-12);
    EXPECT_EQ(kv::Format(first.error, kv::kFixed6), "12.889500");
    EXPECT_EQ(first.count, 1);
    EXPECT_FALSE(first.atLimit);
    // The distance to 57/55 shrinks by 1 - 0.01 * 55 per step.
    const LearnMove second = l.LearnStep();
    EXPECT_NEAR(57.0 / 55 - second.aNew, 0.45 * (57.0 / 55 - 0.57), 1e-12);

    const LearnMove last = StepToLimit(l, 100);
    EXPECT_EQ(last.count, 14);
    EXPECT_NEAR(last.aNew, 1.036349, 5e-7);
    EXPECT_EQ(kv::Format(last.error, kv::kFixed6), "0.927273");
    // It stays set; the learning goes on.
    const LearnMove after = l.LearnStep();
    EXPECT_TRUE(after.atLimit);
    EXPECT_EQ(after.count, 15);
}

TEST(LinearLearner, SequentialStepsSettleNearButNotAtIt) {
    LinearLearner l(Update::Sequential);
    l.Initialise(kDefault, 0.01);
    const LearnMove first = l.LearnStep();
    EXPECT_NEAR(first.aNew, 0.460319, 5e-7);
    EXPECT_EQ(kv::Format(first.error, kv::kFixed6), "19.177801");
    // The first correction alone: a = 0 + 1 * (1 - 0) * 0.01.
    LinearLearner one(Update::Sequential);
    one.Initialise(Samples{{{1, 1}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}}, 0.01);
    EXPECT_DOUBLE_EQ(one.LearnStep().aNew, 0.01);

    const LearnMove last = StepToLimit(l, 100);
    EXPECT_EQ(last.count, 28);
    EXPECT_NEAR(last.aNew, 1.011388, 5e-7);
    EXPECT_EQ(kv::Format(last.error, kv::kFixed6), "0.961581");
    EXPECT_GT(last.error, LinearLearner::ErrorOf(kDefault, 57.0 / 55));
}

TEST(LinearLearner, SampleOrderMattersOnlyToTheSequentialRule) {
    Samples swapped = kDefault;
    std::swap(swapped[0], swapped[4]);
    for (Update rule : {Update::Batch, Update::Sequential}) {
        LinearLearner a(rule), b(rule);
        a.Initialise(kDefault, 0.01);
        b.Initialise(swapped, 0.01);
        const double aa = a.LearnStep().aNew, ba = b.LearnStep().aNew;
        if (rule == Update::Batch) EXPECT_NEAR(aa, ba, 1e-15);
        else EXPECT_GT(std::fabs(aa - ba), 1e-3);
    }
}

TEST(LinearLearner, ZeroRateAndTheErrorCarriedOver) {
    LinearLearner l(Update::Batch);
    l.Initialise(kDefault, 0);
    const LearnMove first = l.LearnStep();
    EXPECT_EQ(first.aNew, 0);
    EXPECT_EQ(first.error, 60);
    EXPECT_FALSE(first.atLimit);  // compared with 0
    EXPECT_TRUE(l.LearnStep().atLimit);
    // A new run measures its first change against the last run's error, here 60 again.
    l.Initialise(kDefault, 0);
    EXPECT_EQ(l.TrainCount(), 0);
    EXPECT_FALSE(l.AtLimit());
    EXPECT_TRUE(l.LearnStep().atLimit);
}

TEST(LinearLearner, DivergenceAndTheFullCountChangeNothing) {
    LinearLearner l(Update::Batch);
    l.Initialise(kDefault, 1e200);
    LearnMove m;
    for (int n = 0; n < 10 && m.outcome == LearnMove::Outcome::Learnt; ++n) m = l.LearnStep();
    EXPECT_EQ(m.outcome, LearnMove::Outcome::Diverged);
    EXPECT_TRUE(std::isfinite(l.ParamA()));
    EXPECT_TRUE(std::isfinite(l.ErrorSum()));

    LinearLearner full(Update::Sequential);
    full.Initialise(kDefault, 0);
    for (int n = 1; n <= LinearLearner::kMaxCount; ++n) ASSERT_EQ(full.LearnStep().count, n);
    const LearnMove refused = full.LearnStep();
    EXPECT_EQ(refused.outcome, LearnMove::Outcome::CountFull);
    EXPECT_EQ(full.TrainCount(), 32767);
    full.Initialise(kDefault, 0);
    EXPECT_EQ(full.LearnStep().count, 1);
}

TEST(AutoRun, OneInitialiseFivePausesLearningThenFortyNineBlinkTicks) {
    AutoRun run;
    EXPECT_EQ(run.Tick(), AutoRun::Action::Initialise);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(run.Tick(), AutoRun::Action::Pause) << n;
    for (int n = 0; n < 13; ++n) {
        EXPECT_EQ(run.Tick(), AutoRun::Action::Learn);
        run.Learnt(false);
    }
    EXPECT_EQ(run.Tick(), AutoRun::Action::Learn);
    run.Learnt(true);
    for (int n = 0; n < 48; ++n) EXPECT_EQ(run.Tick(), AutoRun::Action::Blink) << n;
    EXPECT_EQ(run.Tick(), AutoRun::Action::Restart);
    EXPECT_EQ(run.Tick(), AutoRun::Action::Initialise);

    // A refused restart comes again on the next tick; Reset goes back to initialising.
    AutoRun again;
    again.RestartRefused();
    EXPECT_EQ(again.Tick(), AutoRun::Action::Restart);
    again.RestartRefused();
    EXPECT_EQ(again.Tick(), AutoRun::Action::Restart);
    again.Reset();
    EXPECT_EQ(again.Tick(), AutoRun::Action::Initialise);
}
