#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "kit/controls.h"
#include "network/frmNetworkFeedForward.h"
#include "plot/timer.h"
#include "support/ui_test.h"

using kv::ArrayName;

namespace {

class FeedForwardWindow : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = open<kv::frmNetworkFeedForward>();
    }
    void step(int times = 1) {
        for (int i = 0; i < times; ++i) call(w, "Command1_Click");
    }
    QString text(const char* name, int k) { return UiTest::text(w, ArrayName(name, k)); }
    kv::Rgb back(const char* name, int k) { return kv::BackColor(box(w, ArrayName(name, k))); }
    // A line's colour and width as any tool reads them: through the Qt properties.
    QColor lineColour(const char* name, int k) { return line(name, k)->property("borderColor").value<QColor>(); }
    int lineWidth(const char* name, int k) { return line(name, k)->property("borderWidth").toInt(); }
    QObject* line(const char* name, int k) { return child<QObject>(w, ArrayName(name, k)); }
    QColor windowText() const { return w->palette().color(QPalette::WindowText); }

    // The colours a step of layer L leaves: inputs red, the layer's lines red and 3 px, its
    // weights red, its units yellow, the next inputs blue; everything else white or plain.
    void expectLayerMarked(int L) {
        for (int k = 0; k < 9; ++k) {
            SCOPED_TRACE(k);
            const bool in = k / 3 == L;
            for (const char* l : {"Line1", "Line2", "Line3"}) {
                EXPECT_EQ(lineColour(l, k), in ? QColor(255, 0, 0) : windowText()) << l;
                EXPECT_EQ(lineWidth(l, k), in ? 3 : 1) << l;
            }
            for (const char* b : {"txtOmega0", "txtOmega1", "txtOmega2"}) EXPECT_EQ(back(b, k), in ? kv::kRed : kv::kWhite) << b;
            EXPECT_EQ(back("txtS", k), in ? kv::kYellow : kv::kWhite);
            EXPECT_EQ(back("txtTheta", k), in ? kv::kYellow : kv::kWhite);
        }
        for (int k = 0; k < 12; ++k) {
            const kv::Rgb expected = k / 3 == L ? kv::kRed : k / 3 == L + 1 ? kv::kBlue : kv::kWhite;
            EXPECT_EQ(back("txtX", k), expected) << "txtX(" << k << ")";
        }
    }

    kv::frmNetworkFeedForward* w = nullptr;
};

}  // namespace

TEST_F(FeedForwardWindow, LoadsWithTheStatesEmptied) {
    EXPECT_EQ(w->objectName(), "frmNetworkFeedForward");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("フィードフォワード型（構成素子は決定的2値）"));
    for (int k = 0; k < 12; ++k) EXPECT_EQ(text("txtX", k), k < 3 ? "1" : "") << k;
    for (int k = 0; k < 12; ++k)  // "入力 X11" .. "出力 X43"
        EXPECT_TRUE(box(w, ArrayName("txtX", k))->accessibleName().endsWith(QStringLiteral(" X%1%2").arg(k / 3 + 1).arg(k % 3 + 1)));
    const char* theta[] = {"0.4", "0.5", "0.5", "0.2", "0.5", "0.5", "0.3", "0.6", "0.7"};
    const char* down[] = {"-0.5", "0.3", "", "0.5", "0.3", "", "-0.3", "0.4", ""};
    const char* up[] = {"", "0.3", "0.2", "", "0.3", "0.2", "", "0.4", "0.2"};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(text("txtS", k), "");
        EXPECT_EQ(text("txtTheta", k), theta[k]);
        EXPECT_EQ(text("txtOmega2", k), down[k]);
        EXPECT_EQ(text("txtOmega0", k), up[k]);
        EXPECT_EQ(lineWidth("Line1", k), 1);
        EXPECT_EQ(lineColour("Line3", k), windowText());
    }
    EXPECT_EQ(text("txtOmega1", 4), "-0.3");
    EXPECT_EQ(UiTest::text(w, "Text1"), "500");
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
    EXPECT_LE(w->width(), 1200);
    EXPECT_LE(w->height(), 800);
}

TEST_F(FeedForwardWindow, ThreeLayersThenTheOutputsThenACleanStart) {
    const char* sums[3][3] = {{"0.8", "0.1", "0.6"}, {"0.5", "0.7", "0.3"}, {"0.9", "0", "0.4"}};
    const char* outputs[3][3] = {{"1", "0", "1"}, {"1", "1", "0"}, {"1", "0", "0"}};
    for (int L = 0; L < 3; ++L) {
        SCOPED_TRACE(L);
        step();
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(text("txtS", 3 * L + m), sums[L][m]);
            EXPECT_EQ(text("txtX", 3 * L + 3 + m), outputs[L][m]);
        }
        expectLayerMarked(L);
        for (int k = 3 * L + 6; k < 12; ++k) EXPECT_EQ(text("txtX", k), "") << "not reached yet: " << k;
    }

    // Fourth step: the outputs are marked red, then every state is emptied, external inputs kept.
    step();
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(back("txtX", k), k >= 9 ? kv::kRed : kv::kWhite) << k;
        EXPECT_EQ(text("txtX", k), k < 3 ? "1" : "") << k;
    }
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(text("txtS", k), "");
        EXPECT_EQ(back("txtS", k), kv::kWhite);
        EXPECT_EQ(lineWidth("Line2", k), 1);
        EXPECT_EQ(lineColour("Line2", k), windowText());
    }
    EXPECT_EQ(text("txtTheta", 8), "0.7");

    // The next step is layer 1 again, with the same figures.
    step();
    expectLayerMarked(0);
    EXPECT_EQ(text("txtS", 1), "0.1");
    EXPECT_EQ(text("txtX", 5), "1");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FeedForwardWindow, WhatEachStepReadsAndWhatItIgnores) {
    // Texts in the weight boxes that lead to no unit change nothing.
    for (int L = 0; L < 3; ++L) {
        type(w, ArrayName("txtOmega0", 3 * L), "5");
        type(w, ArrayName("txtOmega2", 3 * L + 2), "abc");
    }
    step(3);
    EXPECT_EQ(text("txtS", 0), "0.8");
    EXPECT_EQ(text("txtS", 5), "0.3");
    EXPECT_EQ(text("txtS", 8), "0.4");
    EXPECT_EQ(text("txtX", 11), "0");
    step();

    // A sum equal to its threshold fires.
    type(w, "txtTheta(0)", "0.8");
    type(w, "txtTheta(2)", "0.6000001");
    step();
    EXPECT_EQ(text("txtX", 3), "1");
    EXPECT_EQ(text("txtX", 5), "0");

    // A middle input edited between steps is what the next step of its layer reads:
    // S21 = 0.3 * X22 + 0.5 * X21 with X22 typed as 1 (layer 1 wrote 1 0 0).
    type(w, "txtX(4)", "1");
    step();
    EXPECT_EQ(text("txtS", 3), "0.8");
    EXPECT_EQ(text("txtS", 4), "0.2");  // 0.2 * X23 + (-0.3 * X22 + 0.5 * X21) = 0 + 0.2
    // Non-numbers read as 0: X21 "abc" drops its terms.
    step(2);
    type(w, "txtX(0)", "abc");
    step();
    EXPECT_EQ(text("txtS", 0), "0.3");
    EXPECT_EQ(text("txtS", 1), "0.6");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FeedForwardWindow, ANumberBeyondADoubleHoldsTheStep) {
    auto* timer = child<QTimer>(w, "Timer1");
    step();
    call(w, "Command2_Click");
    type(w, "txtOmega1(4)", "1e999");
    call(w, "Timer1_Timer");  // a tick waits silently: the learner may be typing
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(text("txtS", 3), "");
    EXPECT_EQ(back("txtS", 0), kv::kYellow);  // layer 1's marking stays
    EXPECT_EQ(kv::TimerInterval(timer), 500);
    type(w, "txtOmega1(4)", "-0.3");
    call(w, "Timer1_Timer");  // the run goes on once the box reads, at layer 2
    EXPECT_EQ(text("txtS", 3), "0.5");
    expectLayerMarked(1);

    // A press is told which box, and the run stops.
    type(w, "txtOmega1(7)", "1e999");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("ω32→S32"))) << messages[0].toStdString();
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    EXPECT_EQ(text("txtS", 6), "");
    expectLayerMarked(1);

    type(w, "txtOmega1(7)", "1e300");
    type(w, "txtX(7)", "1e300");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("S32")) << messages[1].toStdString();
    EXPECT_EQ(text("txtS", 6), "");
}

// Typed key by key while the run ticks: a text beyond a double holds the run at the layer
// that reads it, silently, and the run goes on when the text reads again.
TEST_F(FeedForwardWindow, TypingDuringARunNeverFightsTheLearner) {
    auto* timer = child<QTimer>(w, "Timer1");
    type(w, "Text1", "5");
    call(w, "Command2_Click");
    QLineEdit* weight = box(w, "txtOmega1(4)");
    weight->setFocus();
    weight->selectAll();
    QTest::keyClicks(weight, "1e999", Qt::NoModifier, 10);
    QTest::qWait(60);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(kv::TimerInterval(timer), 5);
    EXPECT_EQ(text("txtS", 3), "");  // layer 2 has not been computed since
    EXPECT_EQ(back("txtS", 0), kv::kYellow);

    QSignalSpy layer2(box(w, "txtS(3)"), &QLineEdit::textChanged);
    weight->selectAll();
    QTest::keyClicks(weight, "-0.3", Qt::NoModifier, 10);
    QTest::qWait(60);
    EXPECT_GT(layer2.count(), 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(weight->text(), "-0.3");
    call(w, "Command3_Click");
}

TEST_F(FeedForwardWindow, AutomaticRunStartsAndStops) {
    auto* timer = child<QTimer>(w, "Timer1");
    type(w, "Text1", "250");
    call(w, "Command2_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 250);
    EXPECT_TRUE(timer->isActive());
    call(w, "Timer1_Timer");
    EXPECT_EQ(text("txtS", 0), "0.8");
    call(w, "Command3_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    EXPECT_FALSE(timer->isActive());
}
