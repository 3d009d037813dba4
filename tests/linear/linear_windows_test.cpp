#include <QTimer>

#include "linear/frmLinearSystem1.h"
#include "linear/frmLinearSystem2.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/timer.h"
#include "support/plot_probe.h"

namespace {

using kv::linear::AutoRun;

QString Result(int count, const char* error) {
    return QStringLiteral("訓練回数 %1回\n誤    差 = %2").arg(count).arg(error);
}
QString LimitMessage(int count, const char* error) {
    return QStringLiteral("これ以上の精度は出ません.\r\n\r\n訓練回数 %1回\r\n誤    差 = %2").arg(count).arg(error);
}

using LinearWindows = PlotWindowTest;

TEST_F(LinearWindows, BatchWindowLearnsToItsLimitWithTheTwoLineResult) {
    auto* w = open<kv::frmLinearSystem1>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("線形システムの学習（一括更新学習法）"));
    EXPECT_EQ(text(w, "Label7"), QStringLiteral("（パラメータ更新式）"));
    call(w, "Command3_Click");
    EXPECT_EQ(text(w, "lblResult"), Result(1, "12.889500"));
    EXPECT_EQ(stepsUntilMessage(w, 100), 13);
    EXPECT_EQ(messages, QStringList{LimitMessage(14, "0.927273")});
    // Further steps learn on and report again.
    call(w, "Command3_Click");
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(text(w, "lblResult").startsWith(QStringLiteral("訓練回数 15回")));
}

TEST_F(LinearWindows, ZeroRateReachesTheLimitAtStepTwoAndTheErrorCarriesOver) {
    auto* w = open<kv::frmLinearSystem1>();
    type(w, "txtEpsilon", "0");
    call(w, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(w, 10), 2);
    EXPECT_EQ(messages.last(), LimitMessage(2, "60.000000"));
    // The new run's first change is measured against 60, not 0.
    call(w, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(w, 10), 1);
    EXPECT_EQ(messages.last(), LimitMessage(1, "60.000000"));
}

TEST_F(LinearWindows, SequentialWindowAndTheOrderOfTheSamples) {
    auto* w = open<kv::frmLinearSystem2>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("線形システムの学習（逐次更新学習法）"));
    call(w, "Command3_Click");
    EXPECT_EQ(text(w, "lblResult"), Result(1, "19.177801"));
    EXPECT_EQ(stepsUntilMessage(w, 100), 27);
    EXPECT_EQ(messages.last(), LimitMessage(28, "0.961581"));

    // Exchanging the first and last rows changes the sequential learning, not the batch one.
    for (QWidget* v : {static_cast<QWidget*>(w), static_cast<QWidget*>(open<kv::frmLinearSystem1>())}) {
        type(v, "txtX(0)", "5.0");
        type(v, "txtY(0)", "4.5");
        type(v, "txtX(4)", "1.0");
        type(v, "txtY(4)", "1.0");
        call(v, "Command3_Click");  // the boxes reach the learning only at "初期設定"
        const QString before = text(v, "lblResult");
        call(v, "Command2_Click");
        call(v, "Command3_Click");
        if (v == w) EXPECT_NE(text(v, "lblResult"), Result(1, "19.177801"));
        else EXPECT_EQ(text(v, "lblResult"), Result(1, "12.889500"));
        EXPECT_NE(before, QString());
    }
}

TEST_F(LinearWindows, SamplesAndTheModelLineOnThePlot) {
    auto* w = open<kv::frmLinearSystem1>();
    EXPECT_EQ(pixelAt(w, 2, 2.5), kv::kRed);  // a sample's dot
    EXPECT_EQ(pixelAt(w, 2, 2.5, 4), kv::kRed);
    // The line on the x axis at a = 0: yellow xor black is yellow on the axis.
    EXPECT_TRUE(colourNear(image(w), at(w, 2.5, 0), kv::kYellow, 1));
    call(w, "Command3_Click");  // a = 0.57: yellow xor white is blue
    EXPECT_EQ(pixelAt(w, 2.5, 2.5 * 0.57), kv::kBlue);
    EXPECT_FALSE(colourNear(image(w), at(w, 2.5, 0), kv::kYellow, 1));

    // Moving a dot: "再表示" shows it, the learning does not use it yet.
    type(w, "txtY(1)", "4");
    call(w, "Command1_Click");
    EXPECT_EQ(pixelAt(w, 2, 4), kv::kRed);
    EXPECT_EQ(pixelAt(w, 2, 2.5, 4), kv::kWhite);  // beside the grid line the dot was on
    EXPECT_EQ(pixelAt(w, 2.5, 2.5 * 0.57), kv::kBlue);  // the line stands where it stood
}

TEST_F(LinearWindows, RedrawKeepsTheLineSoTheNextStepErasesIt) {
    auto* plain = open<kv::frmLinearSystem1>();
    auto* redrawn = open<kv::frmLinearSystem1>();
    for (int n = 0; n < 3; ++n) call(plain, "Command3_Click");
    call(redrawn, "Command3_Click");
    call(redrawn, "Command1_Click");
    call(redrawn, "Command3_Click");
    call(redrawn, "Command1_Click");
    call(redrawn, "Command3_Click");
    EXPECT_EQ(image(redrawn), image(plain));
}

TEST_F(LinearWindows, AutomaticRunPhasesTickByTick) {
    auto* w = open<kv::frmLinearSystem1>();
    call(w, "Command4_Click");
    EXPECT_EQ(interval(w), 100);
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Pause);
    const QImage initialised = image(w);
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Pause) << n;
        call(w, "Timer1_Timer");
    }
    EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Learning);
    EXPECT_EQ(image(w), initialised);  // the pause changed nothing
    int learnt = 0;
    while (w->autoRun().CurrentPhase() == AutoRun::Phase::Learning && learnt < 100) {
        call(w, "Timer1_Timer");
        ++learnt;
    }
    EXPECT_EQ(learnt, 14);
    EXPECT_EQ(interval(w), 5);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(text(w, "lblResult"), Result(14, "0.927273"));
    const QImage removed = image(w);
    const double a = w->model().ParamA();
    EXPECT_EQ(pixelAt(w, 2.5, 2.5 * a), kv::kWhite);  // the final line was removed
    call(w, "Timer1_Timer");
    EXPECT_EQ(pixelAt(w, 2.5, 2.5 * a), kv::kRed);  // cyan xor white
    call(w, "Timer1_Timer");
    EXPECT_EQ(image(w), removed);  // the XOR pair left the plot as it was
    for (int n = 2; n < 48; ++n) call(w, "Timer1_Timer");
    EXPECT_EQ(image(w), removed);
    EXPECT_EQ(interval(w), 5);
    call(w, "Timer1_Timer");  // the 49th tick: back to the learner's interval
    EXPECT_EQ(interval(w), 100);
    EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Initialise);
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->model().TrainCount(), 0);
    EXPECT_EQ(image(w), initialised);
    call(w, "Command5_Click");
    EXPECT_EQ(interval(w), 0);
}

TEST_F(LinearWindows, TypingDuringARunWaitsAndButtonsRefuseWithAMessage) {
    auto* w = open<kv::frmLinearSystem1>();
    call(w, "Command4_Click");
    type(w, "txtMaxX", "");  // being retyped: the initialising tick waits
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Initialise);
    EXPECT_TRUE(messages.isEmpty());
    type(w, "txtMaxX", "6");
    call(w, "Timer1_Timer");
    EXPECT_EQ(w->autoRun().CurrentPhase(), AutoRun::Phase::Pause);
    call(w, "Command5_Click");

    type(w, "txtLoop", "40000");
    call(w, "Command2_Click");
    EXPECT_EQ(messages, QStringList{QStringLiteral("「訓練回数」には-32768から32767までの整数を入力してください。")});
    type(w, "txtLoop", "10");
    type(w, "txtMaxY", "-1");
    messages.clear();
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「Y」")));
    // Too small for any scale, just too small for a single to hold the scale in full, and the
    // smallest it holds: a refused 初期設定 leaves no model line behind.
    const QImage before = image(w);
    for (const auto& [maxY, refused] : {std::pair{"1e-320", true}, {"9.795785672978033e-39", true}, {"9.795785672978034e-39", false}}) {
        messages.clear();
        type(w, "txtMaxY", maxY);
        call(w, "Command2_Click");
        EXPECT_EQ(messages.join(""), refused ? QStringLiteral("「Y」の欄の値「%1」は小さすぎて表示できません。").arg(kv::Quoted(maxY)) : "");
        EXPECT_EQ(image(w) == before, refused) << maxY;
    }
}

TEST_F(LinearWindows, ADivergingRateStopsTheRunWithAMessage) {
    auto* w = open<kv::frmLinearSystem2>();
    type(w, "txtEpsilon", "1e100");
    call(w, "Command2_Click");
    EXPECT_GT(stepsUntilMessage(w, 20), 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("発散")));
    EXPECT_FALSE(text(w, "lblResult").contains("inf"));
    EXPECT_FALSE(text(w, "lblResult").contains("nan"));
}

}  // namespace
