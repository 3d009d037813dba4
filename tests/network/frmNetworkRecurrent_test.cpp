#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <set>
#include <string>
#include <vector>

#include "kit/controls.h"
#include "network/frmNetworkRecurrent.h"
#include "plot/timer.h"
#include "support/ui_test.h"

using kv::ArrayName;

namespace {

class RecurrentWindow : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = open<kv::frmNetworkRecurrent>();
    }
    void step(int times = 1) {
        for (int i = 0; i < times; ++i) call(w, "Command1_Click");
    }
    QString text(const char* name, int k) { return UiTest::text(w, ArrayName(name, k)); }
    kv::Rgb back(const QString& name) { return kv::BackColor(box(w, name)); }
    QStringList column(const char* name) {
        QStringList texts;
        for (int u = 0; u < 5; ++u) texts << text(name, u);
        return texts;
    }
    // One cycle of five updates; the S and X texts after it.
    void cycle(const QStringList& s, const QStringList& x) {
        step(5);
        EXPECT_EQ(column("txtS"), s);
        EXPECT_EQ(column("txtX"), x);
    }

    kv::frmNetworkRecurrent* w = nullptr;
};

// The boxes, arrows and lines an update of each unit marks red.
struct Marking {
    std::set<std::string> red;
    std::set<int> arrows, lines;
};
const Marking kMarking[5] = {
    {{"txtIn(0)"}, {0}, {}},
    {{"txtIn(1)", "txtW(7)"}, {1, 13}, {4, 5}},
    {{"txtX(0)", "txtX(1)", "txtW(0)", "txtW(1)"}, {2, 4, 6}, {0}},
    {{"txtX(0)", "txtX(1)", "txtX(4)", "txtW(2)", "txtW(3)", "txtW(6)"}, {3, 5, 7, 12}, {1, 2, 3}},
    {{"txtX(2)", "txtX(3)", "txtW(4)", "txtW(5)"}, {8, 9, 10, 11}, {}},
};

}  // namespace

TEST_F(RecurrentWindow, LoadsWithItsDefaults) {
    EXPECT_EQ(w->objectName(), "frmNetworkRecurrent");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("リカレント型ニューラルネット（構成素子は決定的2値）"));
    EXPECT_EQ(column("txtS"), QStringList({"1", "1", "1", "1", "1"}));
    EXPECT_EQ(column("txtTheta"), QStringList({"0.4", "0.4", "0.4", "0.4", "0.4"}));
    EXPECT_EQ(column("txtX"), QStringList({"1", "0", "0", "1", "0"}));
    const char* weights[] = {"0.5", "-0.3", "-0.4", "0.5", "0.6", "0.7", "0.3", "0.5"};
    for (int j = 0; j < 8; ++j) EXPECT_EQ(text("txtW", j), weights[j]);
    for (int j = 0; j < 8; ++j) EXPECT_EQ(box(w, ArrayName("txtW", j))->accessibleName(), QStringLiteral("重み ω%1").arg(j));
    const QString arrows = QStringLiteral("→→→→→→→→→↓→↑←↑");
    for (int a = 0; a < 14; ++a) EXPECT_EQ(child<QLabel>(w, ArrayName("lblArrow", a))->text(), arrows.mid(a, 1)) << a;
    EXPECT_EQ(text("txtIn", 1), "1");
    EXPECT_EQ(UiTest::text(w, "Text1"), "500");
    EXPECT_LE(w->width(), 1200);
    EXPECT_LE(w->height(), 800);
}

TEST_F(RecurrentWindow, EachUpdateMarksItsInputsAndNothingElse) {
    const QStringList boxes = [] {
        QStringList names;
        for (int i = 0; i < 2; ++i) names << ArrayName("txtIn", i);
        for (int u = 0; u < 5; ++u) names << ArrayName("txtS", u) << ArrayName("txtTheta", u) << ArrayName("txtX", u);
        for (int j = 0; j < 8; ++j) names << ArrayName("txtW", j);
        return names;
    }();
    for (int round = 0; round < 2; ++round) {
        for (int u = 1; u <= 5; ++u) {
            SCOPED_TRACE(u);
            step();
            const Marking& m = kMarking[u - 1];
            for (const QString& name : boxes) {
                kv::Rgb expected = m.red.count(name.toStdString()) ? kv::kRed : kv::kWhite;
                if (name == ArrayName("txtS", u - 1) || name == ArrayName("txtTheta", u - 1)) expected = kv::kYellow;
                if (name == ArrayName("txtX", u - 1)) expected = kv::kBlue;
                EXPECT_EQ(back(name), expected) << name.toStdString();
            }
            for (int a = 0; a < 14; ++a)
                EXPECT_EQ(kv::ForeColor(child<QLabel>(w, ArrayName("lblArrow", a))), m.arrows.count(a) ? kv::kRed : kv::kBlack) << a;
            for (int l = 0; l < 6; ++l)
                EXPECT_EQ(child<QObject>(w, ArrayName("Line1", l))->property("borderColor").value<QColor>(),
                          m.lines.count(l) ? QColor(255, 0, 0) : QColor(0, 0, 0))
                    << l;
        }
    }
}

TEST_F(RecurrentWindow, DefaultsReachAFixedPoint) {
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        cycle({"1", "1", "0.2", "0.1", "0"}, {"1", "1", "0", "0", "0"});
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RecurrentWindow, FeedbackCaseWithUnit4FiringThroughTheTolerance) {
    type(w, "txtIn(1)", "0");
    type(w, "txtW(7)", "1");
    cycle({"1", "0", "0.5", "-0.4", "0.6"}, {"1", "0", "1", "0", "1"});
    cycle({"1", "1", "0.2", "0.4", "0.7"}, {"1", "1", "0", "1", "1"});
    cycle({"1", "1", "0.2", "0.4", "0.7"}, {"1", "1", "0", "1", "1"});

    // Unit 1 compares exactly: an input a rounding short of theta does not fire it.
    type(w, "txtIn(0)", "0.39999999999999997");
    step();
    EXPECT_EQ(text("txtX", 0), "0");
}

TEST_F(RecurrentWindow, ResettingTheFeedbackOutput) {
    type(w, "txtIn(1)", "0");
    type(w, "txtW(7)", "1");
    step(5);
    ASSERT_EQ(text("txtX", 4), "1");
    step();  // unit 1
    call(w, "Command4_Click");
    EXPECT_EQ(text("txtX", 4), "0");
    step();  // unit 2 comes next and reads X5 = 0: S2 = 1 * 0 + 0
    EXPECT_EQ(text("txtS", 1), "0");
    EXPECT_EQ(text("txtX", 1), "0");
    EXPECT_EQ(back("txtS(1)"), kv::kYellow);
}

TEST_F(RecurrentWindow, ContinuousRunRestartsAtUnit1WithX5Zero) {
    type(w, "txtIn(1)", "0");
    type(w, "txtW(7)", "1");
    step(7);  // a cycle, then units 1 and 2; X5 = 1
    ASSERT_EQ(text("txtX", 4), "1");
    auto* timer = child<QTimer>(w, "Timer1");
    call(w, "Command2_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 500);
    EXPECT_EQ(text("txtX", 4), "0");
    call(w, "Timer1_Timer");
    EXPECT_EQ(back("txtS(0)"), kv::kYellow);  // unit 1, not unit 3
    EXPECT_EQ(back("txtIn(0)"), kv::kRed);
    call(w, "Timer1_Timer");
    EXPECT_EQ(text("txtS", 1), "0");  // unit 2 reads the X5 = 0 of the restart
    call(w, "Command3_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 0);

    // A refused interval starts nothing and resets nothing.
    step(3);
    ASSERT_EQ(text("txtX", 4), "1");
    type(w, "Text1", "70000");
    call(w, "Command2_Click");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(text("txtX", 4), "1");
    step();
    EXPECT_EQ(back("txtS(0)"), kv::kYellow);  // the cycle went on at unit 1 after unit 5
}

TEST_F(RecurrentWindow, ANumberBeyondADoubleHoldsTheUpdate) {
    call(w, "Command2_Click");
    type(w, "txtTheta(0)", "1e999");
    call(w, "Timer1_Timer");  // a tick waits silently: the learner may be typing
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(back("txtS(0)"), kv::kWhite);
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 500);
    step();  // a press is told which box, and the run stops
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("θ1"))) << messages[0].toStdString();
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
    type(w, "txtTheta(0)", "0.4");
    step();
    EXPECT_EQ(back("txtS(0)"), kv::kYellow);
    step();
    EXPECT_EQ(back("txtS(1)"), kv::kYellow);
}
