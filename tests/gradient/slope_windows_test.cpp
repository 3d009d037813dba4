#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <tuple>

#include "gradient/frmSlopeMethod1.h"
#include "gradient/frmSlopeMethod2.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/timer.h"
#include "support/plot_probe.h"

namespace {

const QString kConverged = QStringLiteral("収斂しました. x=1.5000 f(x)=2.5000");

using SlopeWindows = PlotWindowTest;

TEST_F(SlopeWindows, SimplestSearchConvergesAtStep165WithItsMessage) {
    auto* w = open<kv::frmSlopeMethod1>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("勾配法（その１）"));
    EXPECT_EQ(stepsUntilMessage(w, 400), 165);
    EXPECT_EQ(messages, QStringList{kConverged});
    EXPECT_EQ(text(w, "lblResult"), QStringLiteral(" x=1.5000 f(x)=2.5000"));
    // A further step reports again; "初期設定" starts over without touching the result.
    call(w, "Command3_Click");
    EXPECT_EQ(messages.size(), 2);
    call(w, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(w, 400), 165);
    EXPECT_EQ(text(w, "lblResult"), QStringLiteral(" x=1.5000 f(x)=2.5000"));
}

TEST_F(SlopeWindows, SimplestSearchEdgeCases) {
    auto* w = open<kv::frmSlopeMethod1>();
    for (int k = 0; k < 4; ++k) type(w, QStringLiteral("txtA(%1)").arg(k), "0");
    call(w, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(w, 100), 15);
    EXPECT_EQ(messages.last(), QStringLiteral("収斂しました. x=0.0000 f(x)=0.0000"));

    auto* neg = open<kv::frmSlopeMethod1>();
    type(neg, "txtEpsilon", "-0.01");
    call(neg, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(neg, 1000), 151);  // never halved: the first stall converges

    auto* zero = open<kv::frmSlopeMethod1>();
    type(zero, "txtEpsilon", "abc");  // reads as 0: the first step converges
    call(zero, "Command2_Click");
    EXPECT_EQ(stepsUntilMessage(zero, 100), 1);
    EXPECT_EQ(messages.last(), QStringLiteral("収斂しました. x=0.0000 f(x)=7.0000"));
}

TEST_F(SlopeWindows, TicksRestartAConvergedSearchWithoutAWordAndWaitUnderABox) {
    auto* w = open<kv::frmSlopeMethod1>();
    call(w, "Command4_Click");
    EXPECT_EQ(interval(w), 5);
    const QImage start = image(w);
    for (int n = 0; n < 164; ++n) call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "lblResult"), "");
    call(w, "Timer1_Timer");  // converged: the search starts again at the initial point
    EXPECT_EQ(text(w, "lblResult"), QStringLiteral(" x=1.5000 f(x)=2.5000"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(image(w), start);

    // A tick that comes while the hand step's message is open does nothing (the guard).
    for (int n = 0; n < 164; ++n) call(w, "Command3_Click");
    const QImage before = image(w);
    kv::SetMsgBoxHook([&](const QString& text, kv::MsgButtons) {
        messages << text;
        call(w, "Timer1_Timer");
        EXPECT_EQ(image(w), before);
        return kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    EXPECT_EQ(messages.last(), kConverged);
    call(w, "Command5_Click");
    EXPECT_EQ(interval(w), 0);
}

TEST_F(SlopeWindows, PlotShowsFrameCurveAndMarker) {
    auto* w = open<kv::frmSlopeMethod1>();
    EXPECT_EQ(pixelAt(w, 1.5, 0, 0, 0), kv::kBlack);      // x axis
    EXPECT_EQ(pixelAt(w, 0, 5.5), kv::kBlack);            // y axis
    EXPECT_EQ(pixelAt(w, 2, 5.5), kv::kBlack);            // grid line x = 2
    EXPECT_EQ(pixelAt(w, 2.5, 4), kv::kBlack);            // grid line y = 4
    EXPECT_EQ(pixelAt(w, 2.5, 3.5), kv::kWhite);          // between the grid lines
    EXPECT_TRUE(colourNear(image(w), at(w, 1.5, 2.5), kv::kBlue, 1));  // the curve's lowest point
    EXPECT_TRUE(colourNear(image(w), at(w, 2.5, 4.5), kv::kBlue, 2));
    // The marker: white xor cyan is red, inside the circle around (0, 7).
    EXPECT_EQ(pixelAt(w, 0, 7, 2, -4), kv::kRed);
    EXPECT_EQ(pixelAt(w, 0, 7, -4, -4), kv::kRed);
    for (int n = 0; n < 20; ++n) call(w, "Command3_Click");
    EXPECT_EQ(pixelAt(w, 0, 7, -4, -4), kv::kWhite);  // each old circle was erased
    EXPECT_EQ(pixelAt(w, 0.2, 5.88, -4, 4), kv::kRed);

    // A curve leaving the frame is left out where it is outside: nothing blue above y = 5.
    type(w, "txtMaxY", "5");
    call(w, "Command1_Click");
    const QImage img = image(w);
    const int top = int(at(w, 0, 5).y());
    for (int y = 0; y < top - 3; ++y)
        for (int x = 0; x < img.width(); ++x) ASSERT_NE(pixel(img, x, y), kv::kBlue) << x << "," << y;
    EXPECT_TRUE(colourNear(img, at(w, 1.5, 2.5), kv::kBlue, 1));
}

TEST_F(SlopeWindows, RedrawPutsTheMarkerBackSoTheNextStepErasesIt) {
    auto* plain = open<kv::frmSlopeMethod1>();
    auto* redrawn = open<kv::frmSlopeMethod1>();
    call(redrawn, "Command1_Click");
    EXPECT_EQ(image(redrawn), image(plain));
    for (int n = 0; n < 30; ++n) call(plain, "Command3_Click");
    for (int n = 0; n < 10; ++n) call(redrawn, "Command3_Click");
    type(redrawn, "txtA(1)", "2");  // an edit redraws too
    call(redrawn, "Command1_Click");
    for (int n = 0; n < 20; ++n) call(redrawn, "Command3_Click");
    EXPECT_EQ(image(redrawn), image(plain));
}

TEST_F(SlopeWindows, BadMaximaAreRefusedAndThePlotStays) {
    auto* w = open<kv::frmSlopeMethod1>();
    const QImage before = image(w);
    for (const char* bad : {"0", "-3", "", "abc"}) {
        messages.clear();
        type(w, "txtMaxX", bad);
        EXPECT_EQ(image(w), before);  // typing says nothing
        call(w, "Command1_Click");
        EXPECT_EQ(messages.size(), 1) << bad;
        EXPECT_TRUE(messages.value(0).contains(QStringLiteral("「X」"))) << messages.value(0).toStdString();
        EXPECT_EQ(image(w), before);
    }
    type(w, "txtMaxX", "3");
    type(w, "txtMaxY", "0");
    messages.clear();
    call(w, "Command2_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「Y」")));
    // A coefficient edit while a maximum is unusable leaves the plot and says nothing.
    type(w, "txtA(1)", "3");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(image(w), before);
    // Too small for any scale, just too small for a single to hold the scale in full, and the smallest it holds.
    for (const auto& [maxY, refused] : {std::pair{"1e-320", true}, {"9.795785672978033e-39", true}, {"9.795785672978034e-39", false}}) {
        messages.clear();
        type(w, "txtMaxY", maxY);
        call(w, "Command2_Click");
        EXPECT_EQ(messages.join(""), refused ? QStringLiteral("「Y」の欄の値「%1」は小さすぎて表示できません。").arg(kv::Quoted(maxY)) : "");
    }
}

TEST_F(SlopeWindows, ARunAwaySearchStopsWithAMessageAndNoInfinity) {
    auto* w = open<kv::frmSlopeMethod1>();
    type(w, "txtA(0)", "-1");
    type(w, "txtA(1)", "0");
    type(w, "txtA(2)", "0");
    type(w, "txtEpsilon", "3e102");
    call(w, "Command4_Click");
    call(w, "Timer1_Timer");
    EXPECT_TRUE(messages.isEmpty());
    call(w, "Timer1_Timer");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("発散")));
    EXPECT_EQ(interval(w), 0);
    EXPECT_FALSE(text(w, "lblResult").contains("inf"));
}

TEST_F(SlopeWindows, MouseReadOutGivesSinglePrecisionPositionAndTheValue) {
    auto* w = open<kv::frmSlopeMethod1>();
    w->metaObject()->invokeMethod(w, "Picture1_MouseMove", Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(double, 0.5),
                                  Q_ARG(double, 1.0 / 3));
    EXPECT_EQ(text(w, "lblMouseXY"), QStringLiteral("位置 X=0.5 Y=0.3333333 関数値 = 4.5"));
    w->metaObject()->invokeMethod(w, "Picture1_MouseMove", Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(double, -0.25),
                                  Q_ARG(double, 12345.678));
    EXPECT_EQ(text(w, "lblMouseXY"), QStringLiteral("位置 X=-0.25 Y=12345.68 関数値 = 8.625"));
    type(w, "txtA(0)", "1e308");  // the value beyond a double is not shown
    w->metaObject()->invokeMethod(w, "Picture1_MouseMove", Q_ARG(int, 0), Q_ARG(int, 0), Q_ARG(double, 3.0),
                                  Q_ARG(double, 1.0));
    EXPECT_FALSE(text(w, "lblMouseXY").contains("inf"));

    // A real pointer over the pixel of x = 1.5 reads near it.
    type(w, "txtA(0)", "0");
    const QPointF p = at(w, 1.5, 2.5);
    QTest::mouseMove(plot(w), p.toPoint());
    EXPECT_TRUE(text(w, "lblMouseXY").startsWith(QStringLiteral("位置 X=1.5"))) << text(w, "lblMouseXY").toStdString();
}

TEST_F(SlopeWindows, DerivativeRowFollowsThePolynomial) {
    auto* w = open<kv::frmSlopeMethod2>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("勾配法（その２）"));
    EXPECT_EQ(text(w, "Label4"), QStringLiteral("ε"));
    EXPECT_EQ(text(w, "txtB(0)"), "0");
    EXPECT_EQ(text(w, "txtB(1)"), "4");
    EXPECT_EQ(text(w, "txtB(2)"), "-6");
    call(w, "Command3_Click");  // the point moves from 0 to 0.06
    const QImage moved = image(w);
    type(w, "txtA(0)", "1");
    EXPECT_EQ(text(w, "txtB(0)"), "3");
    EXPECT_EQ(text(w, "txtB(1)"), "4");
    EXPECT_EQ(text(w, "txtB(2)"), "-6");
    EXPECT_NE(image(w), moved);  // the curve is redrawn
    type(w, "txtA(0)", "0");
    EXPECT_EQ(image(w), moved);  // ... and the point and its marker stayed

    // Writing the derivative boxes redraws nothing.
    type(w, "txtB(1)", "5");
    EXPECT_EQ(image(w), moved);
}

TEST_F(SlopeWindows, DerivativeSearchConvergesOscillatesOrStandsStill) {
    auto* w = open<kv::frmSlopeMethod2>();
    EXPECT_EQ(stepsUntilMessage(w, 1000), 271);
    EXPECT_EQ(messages, QStringList{kConverged});

    auto* wide = open<kv::frmSlopeMethod2>();
    type(wide, "txtMaxX", "4");
    type(wide, "txtEpsilon", "0.5");
    call(wide, "Command2_Click");
    for (int n = 1; n <= 40; ++n) {
        call(wide, "Command3_Click");
        // The marker's inside is red (white xor cyan) at x = 3 after odd steps, white after even.
        EXPECT_EQ(pixelAt(wide, 3, 7, 4, 4), n % 2 ? kv::kRed : kv::kWhite) << n;
    }
    EXPECT_EQ(messages.size(), 1);

    auto* still = open<kv::frmSlopeMethod2>();
    for (int k = 0; k < 3; ++k) type(still, QStringLiteral("txtB(%1)").arg(k), "0");
    EXPECT_EQ(stepsUntilMessage(still, 10), 1);
    EXPECT_EQ(messages.last(), QStringLiteral("収斂しました. x=0.0000 f(x)=7.0000"));
}

TEST_F(SlopeWindows, BoxesAreNamedAsTheirLabelsRead) {
    QWidget* one = open<kv::frmSlopeMethod1>();
    QWidget* two = open<kv::frmSlopeMethod2>();
    for (const auto& [w, name, label] : {std::tuple{one, "txtEpsilon", "δX初期値"}, std::tuple{two, "txtEpsilon", "ε"},
                                         std::tuple{one, "txtX", "初期値"}, std::tuple{one, "txtMaxX", "X"},
                                         std::tuple{two, "txtMaxY", "Y"}, std::tuple{one, "Text1", "タイマー"}})
        EXPECT_TRUE(box(w, name)->accessibleName().endsWith(QString::fromUtf8(label))) << name;  // "表示最大値 X"
}

}  // namespace
