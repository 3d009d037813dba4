// The six Markov windows through their controls: the published sequences, what the buttons
// and the timer do when the chain settles, and what the window refuses.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "kit/controls.h"
#include "markov/frmMarKovModel.h"
#include "markov/frmMarKovModel2.h"
#include "markov/frmMarKovModel3.h"
#include "markov/frmMarKovModel4.h"
#include "markov/frmMarKovModel5.h"
#include "markov/frmMarKovModel6.h"
#include "plot/msgbox.h"
#include "plot/timer.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"

namespace {

const QString kEquilibrium = QStringLiteral("平衡状態にはいりました");
const QString kSmallDifference = QStringLiteral("新旧状態差が僅かになりました");

class MarkovWindows : public UiTest {
protected:
    QStringList nodes(QWidget* w) {
        QStringList all;
        for (int n = 0; auto* b = w->findChild<QLineEdit*>(kv::ArrayName("txtNode", n)); ++n) all << b->text();
        return all;
    }
    QStringList arcs(QWidget* w) {
        QStringList all;
        for (int a = 0; auto* b = w->findChild<QLineEdit*>(kv::ArrayName("txtArc", a)); ++a) all << b->text();
        return all;
    }
    void press(QWidget* w, int times = 1) {
        for (int i = 0; i < times; ++i) call(w, "Command1_Click");
    }
    // Presses "逐次実行" until a message comes (at most `limit` times); the number of presses.
    int pressUntilMessage(QWidget* w, int limit) {
        for (int i = 1; i <= limit; ++i) {
            press(w);
            if (!messages.isEmpty()) return i;
        }
        return 0;
    }
    int interval(QWidget* w) { return kv::TimerInterval(child<QTimer>(w, "Timer1")); }
    // A run whose ticks the test gives by hand: started with an interval no tick reaches.
    void startSlowRun(QWidget* w) {
        type(w, "Text1", "60000");
        call(w, "Command3_Click");
        ASSERT_EQ(interval(w), 60000);
    }
    void tick(QWidget* w, int times = 1) {
        for (int i = 0; i < times; ++i) call(w, "Timer1_Timer");
    }
    // The message hook also records the node values shown when each box opens.
    QList<QStringList> nodesAtMessages;
    void watchNodesAtMessages(QWidget* w) {
        kv::SetMsgBoxHook([this, w](const QString& text, kv::MsgButtons) {
            messages << text;
            nodesAtMessages << nodes(w);
            return kv::MsgAnswer::Ok;
        });
    }
};

}  // namespace

TEST_F(MarkovWindows, BaseWindowSettlesAtItsThirdStepAndSaysSoOneStepLate) {
    auto* w = open<kv::frmMarKovModel>();
    EXPECT_EQ(nodes(w), (QStringList{"0", "48", "0"}));
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"24", "0", "24"}));
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"24", "12", "12"}));
    EXPECT_TRUE(messages.isEmpty());  // the values have arrived, but this step moved them
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"24", "12", "12"}));
    EXPECT_EQ(messages, QStringList{kEquilibrium});
    press(w);
    EXPECT_EQ(messages, (QStringList{kEquilibrium, kEquilibrium}));
    EXPECT_EQ(arcs(w), (QStringList{"0.5", "0", "0.5", "0.5", "0.5", "0.5", "0", "0", "0.5"}));
}

TEST_F(MarkovWindows, SingleLoopCarriesEverythingRoundAndNeverSettles) {
    auto* w = open<kv::frmMarKovModel2>();
    const QList<QStringList> cycle = {{"0", "0", "48"}, {"48", "0", "0"}, {"0", "48", "0"}};
    for (int i = 0; i < 300; ++i) {
        press(w);
        ASSERT_EQ(nodes(w), cycle[i % 3]) << i;
    }
    EXPECT_TRUE(messages.isEmpty());
    // Nor does a timer run stop by itself, whatever "永久繰返し" says.
    startSlowRun(w);
    tick(w, 30);
    EXPECT_EQ(interval(w), 60000);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MarkovWindows, TrappingNodesShowTheDoubleResidueAndSettleOnlyWhenNothingMoves) {
    auto* w = open<kv::frmMarKovModel3>();
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"2", "8", "0", "10"}));
    press(w);
    // 2 - 0.6 - 1.0 - 0.4 in doubles is just below zero, shown as it is.
    EXPECT_EQ(nodes(w), (QStringList{"-1.11022302462516E-16", "8.6", "0.4", "11"}));
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"0.08", "8.8", "-0.08", "11.2"}));
    EXPECT_EQ(pressUntilMessage(w, 1000), 663 - 3);
    EXPECT_EQ(messages, QStringList{kSmallDifference});
    const QStringList settled = nodes(w);
    EXPECT_EQ(settled[1], "8.79310344827588");
    EXPECT_EQ(settled[3], "11.2068965517241");
    // The settled values keep the total of 20 and nothing is left to move.
    double total = 0;
    for (const QString& v : settled) total += v.toDouble();
    EXPECT_NEAR(total, 20, 1e-12);
    press(w);
    EXPECT_EQ(nodes(w), settled);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(MarkovWindows, SettledValuesAreShownWithThreeDecimalsBeforeTheMessage) {
    auto* w4 = open<kv::frmMarKovModel4>();
    const QList<QStringList> first = {{"0", "0", "50", "50"}, {"50", "50", "0", "0"}, {"0", "50", "25", "25"}, {"25", "25", "25", "25"}};
    for (const QStringList& expected : first) {
        press(w4);
        EXPECT_EQ(nodes(w4), expected);
    }
    watchNodesAtMessages(w4);
    EXPECT_EQ(pressUntilMessage(w4, 1000), 54 - 4);
    EXPECT_EQ(messages, QStringList{kEquilibrium});
    EXPECT_EQ(nodesAtMessages.value(0), (QStringList{"20.000", "40.000", "20.000", "20.000"}));
    // The next step starts from the rounded values.
    press(w4);
    EXPECT_EQ(nodes(w4), (QStringList{"20.000", "40.000", "20.000", "20.000"}));

    messages.clear();
    nodesAtMessages.clear();
    auto* w5 = open<kv::frmMarKovModel5>();
    watchNodesAtMessages(w5);
    EXPECT_EQ(pressUntilMessage(w5, 1000), 146);
    EXPECT_EQ(messages, QStringList{kEquilibrium});
    EXPECT_EQ(nodesAtMessages.value(0), (QStringList{"18.286", "36.571", "36.571", "18.286", "18.286"}));
}

TEST_F(MarkovWindows, LoopsWithCommonDivisorTwoKeepAlternating) {
    auto* w = open<kv::frmMarKovModel6>();
    EXPECT_EQ(pressUntilMessage(w, 3000), 0);
    // Two steps apart the values are back; one step apart they have swapped between the
    // two alternating distributions.
    auto values = [&] {
        std::vector<double> v;
        for (const QString& t : nodes(w)) v.push_back(t.toDouble());
        return v;
    };
    const auto a = values();
    press(w);
    const auto b = values();
    const bool evenFirst = a[0] > 1;
    const std::vector<double> even{18, 0, 18, 0, 18}, odd{0, 36, 0, 18, 0};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(a[i], evenFirst ? even[i] : odd[i], 1e-6) << i;
        EXPECT_NEAR(b[i], evenFirst ? odd[i] : even[i], 1e-6) << i;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MarkovWindows, ForeverRestartsFromTheFirstValuesWithoutAWord) {
    auto* w = open<kv::frmMarKovModel>();
    child<QCheckBox>(w, "Check1")->setChecked(true);
    startSlowRun(w);
    tick(w, 2);
    EXPECT_EQ(nodes(w), (QStringList{"24", "12", "12"}));
    tick(w);  // finds no change: back to the start
    EXPECT_EQ(nodes(w), (QStringList{"0", "48", "0"}));
    tick(w);
    EXPECT_EQ(nodes(w), (QStringList{"24", "0", "24"}));
    EXPECT_EQ(interval(w), 60000);
    EXPECT_TRUE(messages.isEmpty());
    // A press still tells of the equilibrium, and leaves the run going.
    tick(w);
    press(w);
    EXPECT_EQ(messages, QStringList{kEquilibrium});
    EXPECT_EQ(interval(w), 60000);

    // With three decimals to come when it settles, the restart writes the plain first values.
    messages.clear();
    auto* w4 = open<kv::frmMarKovModel4>();
    child<QCheckBox>(w4, "Check1")->setChecked(true);
    startSlowRun(w4);
    QStringList before;
    for (int i = 0; i < 200; ++i) {
        before = nodes(w4);
        tick(w4);
        if (nodes(w4) == QStringList{"0", "100", "0", "0"}) break;
    }
    EXPECT_EQ(nodes(w4), (QStringList{"0", "100", "0", "0"}));
    EXPECT_TRUE(before.value(1).startsWith("40") || before.value(1).startsWith("39.99")) << before.join(' ').toStdString();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MarkovWindows, WithoutForeverTheRunStopsAtTheMessage) {
    auto* w = open<kv::frmMarKovModel4>();
    watchNodesAtMessages(w);
    startSlowRun(w);
    tick(w, 53);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(interval(w), 60000);
    tick(w);
    EXPECT_EQ(messages, QStringList{kEquilibrium});
    EXPECT_EQ(nodesAtMessages.value(0), (QStringList{"20.000", "40.000", "20.000", "20.000"}));
    EXPECT_EQ(interval(w), 0);
    tick(w, 5);  // a stopped run takes no more ticks
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MarkovWindows, ARealRunRestsUnderItsMessageAndShowsOnlyOne) {
    auto* w = open<kv::frmMarKovModel>();
    type(w, "Text1", "1");
    QStringList under, after;
    RealBoxes boxes([&](QMessageBox*) {
        under = nodes(w);
        boxes.WaitCounting(100);
        after = nodes(w);
    });
    call(w, "Command3_Click");
    ASSERT_TRUE(boxes.WaitUntil([&] { return !boxes.texts.isEmpty() && interval(w) == 0; }, 5000));
    boxes.WaitCounting(50);
    EXPECT_EQ(boxes.texts, QStringList{kEquilibrium});
    EXPECT_EQ(boxes.mostOpen, 1);
    EXPECT_EQ(under, (QStringList{"24", "12", "12"}));
    EXPECT_EQ(after, under);
}

TEST_F(MarkovWindows, FirstNodesLeaveTypedProbabilitiesAlone) {
    struct Case {
        QWidget* w;
        QStringList initial;
    };
    const QList<Case> cases = {
        {open<kv::frmMarKovModel>(), {"0", "48", "0"}},        {open<kv::frmMarKovModel2>(), {"0", "48", "0"}},
        {open<kv::frmMarKovModel3>(), {"10", "0", "10", "0"}}, {open<kv::frmMarKovModel4>(), {"0", "100", "0", "0"}},
        {open<kv::frmMarKovModel5>(), {"128", "0", "0", "0", "0"}}, {open<kv::frmMarKovModel6>(), {"54", "0", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w->objectName().toStdString());
        EXPECT_EQ(nodes(c.w), c.initial);
        type(c.w, "txtArc(1)", "0.25");
        type(c.w, "txtNode(0)", "7");
        press(c.w, 2);
        const QStringList typedArcs = arcs(c.w);
        call(c.w, "Command2_Click");
        EXPECT_EQ(nodes(c.w), c.initial);
        EXPECT_EQ(arcs(c.w), typedArcs);
        EXPECT_EQ(text(c.w, "txtArc(1)"), "0.25");
    }
}

TEST_F(MarkovWindows, TypedValuesAreUsedAsTyped) {
    auto* w = open<kv::frmMarKovModel>();
    // Negative and fractional node values. Worked by hand from the arc table:
    // new0 = -2.5 - (-2.5)(0.5 + 0.5 + 0) + 0.5(-2.5) + 0.5(0) + 0.5(0.75) = -0.875
    // new1 = 0.75 - 0.75(0 + 0.5 + 0.5) + 0(0.75) + 0.5(-2.5) + 0(0) = -1.25
    // new2 = 0 - 0 + 0.5(0.75) + 0(-2.5) = 0.375
    type(w, "txtNode(0)", "-2.5");
    type(w, "txtNode(1)", "0.75");
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"-0.875", "-1.25", "0.375"}));

    // A probability box that does not read as a number carries nothing, and stays as typed.
    call(w, "Command2_Click");
    type(w, "txtArc(8)", "");
    type(w, "txtArc(4)", "abc");
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"0", "48", "0"}));
    EXPECT_EQ(text(w, "txtArc(8)"), "");
    EXPECT_EQ(text(w, "txtArc(4)"), "abc");
    EXPECT_EQ(messages, QStringList{kEquilibrium});  // nothing moved

    // Outgoing probabilities over 1 drive a node negative; the total stays.
    messages.clear();
    type(w, "txtArc(4)", "0.75");
    type(w, "txtArc(8)", "0.75");
    press(w);
    EXPECT_EQ(nodes(w), (QStringList{"36", "-24", "36"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MarkovWindows, AStepBeyondTheDoublesIsRefusedAndWritesNothing) {
    const QString overflow = QStringLiteral(
        "ノードの値または確率が大きすぎて次の状態を計算できないため、ノードの値を変えずに止めました。値を小さくしてください。");
    auto* w = open<kv::frmMarKovModel>();
    type(w, "txtNode(0)", "1e300");
    type(w, "txtArc(3)", "1e300");
    press(w);
    EXPECT_EQ(messages, QStringList{overflow});
    EXPECT_EQ(nodes(w), (QStringList{"1e300", "48", "0"}));

    // A run stops with it, once.
    messages.clear();
    startSlowRun(w);
    tick(w, 3);
    EXPECT_EQ(messages, QStringList{overflow});
    EXPECT_EQ(interval(w), 0);
    EXPECT_EQ(nodes(w), (QStringList{"1e300", "48", "0"}));

    // A box beyond a double: a press names it, a tick waits for the learner without a word.
    messages.clear();
    type(w, "txtArc(3)", "0.5");
    type(w, "txtArc(2)", "1e999");
    press(w);
    EXPECT_EQ(messages, QStringList{QStringLiteral("「Node 2→Node 2の確率」の欄の値「1e999」は大きすぎて計算できません。")});
    EXPECT_EQ(nodes(w), (QStringList{"1e300", "48", "0"}));
    messages.clear();
    type(w, "txtNode(0)", "-1e999");
    type(w, "txtArc(2)", "0.5");
    startSlowRun(w);
    tick(w, 3);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(interval(w), 60000);
    EXPECT_EQ(nodes(w), (QStringList{"-1e999", "48", "0"}));
    type(w, "txtNode(0)", "0");  // typed to the end: the run goes on
    tick(w);
    EXPECT_EQ(nodes(w), (QStringList{"24", "0", "24"}));
    for (QLineEdit* b : w->findChildren<QLineEdit*>()) {
        EXPECT_FALSE(b->text().contains("inf", Qt::CaseInsensitive));
        EXPECT_FALSE(b->text().contains("nan", Qt::CaseInsensitive));
    }
}

TEST_F(MarkovWindows, CaptionsNamesAndDefaults) {
    struct Case {
        QWidget* w;
        QString caption;
        QStringList labels;
        QStringList arcs;
        QString note;
    };
    const QList<Case> cases = {
        {open<kv::frmMarKovModel>(), QStringLiteral("マルコフ(Markov)モデルの状態遷移"), {"Node 0", "Node 1", "Node 2"},
         {"0.5", "0", "0.5", "0.5", "0.5", "0.5", "0", "0", "0.5"}, {}},
        {open<kv::frmMarKovModel2>(), QStringLiteral("単一ループ（平衡しない）の例"), {"Node 0", "Node 1", "Node 2"}, {"1", "1", "1"}, {}},
        {open<kv::frmMarKovModel3>(), QStringLiteral("2つ以上の抜け出せないノードを持つ状態遷移"),
         {"Node 0", "Node 1", "Node 2", "Node 3"}, {"1.0", "1.0", "0.3", "0.5", "0.5", "0.5", "0.2", "0.2"},
         QStringLiteral("初期状態によって異なる平衡状態に陥るか，拡散状態に陥ることもある。")},
        {open<kv::frmMarKovModel4>(), QStringLiteral("マルコフ(Markov)モデルの状態遷移"), {"Node 0", "Node 1", "Node 2", "Node3"},
         {"1.0", "0.5", "1.0", "0.5", "1.0"}, {}},
        {open<kv::frmMarKovModel5>(), QStringLiteral("マルコフ(Markov)モデルの状態遷移(到達条件成立）"),
         {"Node 0", "Node 1", "Node 2", "Node3", "Node 4"}, {"1.0", "1.0", "0.5", "1.0", "0.5", "1.0"}, {}},
        {open<kv::frmMarKovModel6>(), QStringLiteral("マルコフ(Markov)モデルの状態遷移(到達条件非成立）"),
         {"Node 0", "Node 1", "Node 2", "Node3", "Node 4"}, {"1.0", "0.5", "1.0", "1.0", "0.5", "1.0"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w->objectName().toStdString());
        EXPECT_EQ(c.w->windowTitle(), c.caption);
        QStringList labels;
        for (int n = 0; auto* l = c.w->findChild<QLabel*>(kv::ArrayName("Label1", n)); ++n) labels << l->text();
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(nodes(c.w).size(), c.labels.size());
        EXPECT_EQ(arcs(c.w), c.arcs);
        EXPECT_EQ(child<QPushButton>(c.w, "Command1")->text(), QStringLiteral("逐次実行"));
        EXPECT_EQ(child<QPushButton>(c.w, "Command2")->text(), QStringLiteral("初期ノード"));
        EXPECT_EQ(child<QPushButton>(c.w, "Command3")->text(), QStringLiteral("自動実行"));
        EXPECT_EQ(child<QPushButton>(c.w, "Command4")->text(), QStringLiteral("自動実行停止"));
        EXPECT_EQ(child<QCheckBox>(c.w, "Check1")->text(), QStringLiteral("永久繰返し"));
        EXPECT_FALSE(child<QCheckBox>(c.w, "Check1")->isChecked());
        EXPECT_EQ(text(c.w, "Label2"), QStringLiteral("タイマー"));
        EXPECT_EQ(text(c.w, "Text1"), "500");
        EXPECT_EQ(interval(c.w), 0);
        auto* note = c.w->findChild<QLabel*>("Label3");
        EXPECT_EQ(note ? note->text() : QString(), c.note);
        EXPECT_NE(c.w->findChild<QWidget*>("Image1"), nullptr);
    }
}

TEST_F(MarkovWindows, StopButtonEndsARunAndTheTimerBoxCountsAtTheNextStart) {
    auto* w = open<kv::frmMarKovModel2>();
    type(w, "Text1", "250");
    call(w, "Command3_Click");
    EXPECT_EQ(interval(w), 250);
    type(w, "Text1", "40");
    EXPECT_EQ(interval(w), 250);
    call(w, "Command4_Click");
    EXPECT_EQ(interval(w), 0);
    const QStringList stopped = nodes(w);
    tick(w, 3);
    EXPECT_EQ(nodes(w), stopped);
    call(w, "Command3_Click");
    EXPECT_EQ(interval(w), 40);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MarkovWindows, ARunWaitsWhileAProbabilityIsBeingTypedAndThenUsesIt) {
    auto* w = open<kv::frmMarKovModel>();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    startSlowRun(w);
    QLineEdit* arc = box(w, "txtArc(8)");  // 1 -> 0
    arc->setFocus();
    arc->selectAll();
    QTest::keyClick(arc, Qt::Key_Backspace);
    QLabel* waiting = child<QLabel>(w, "lblWait");
    EXPECT_TRUE(waiting->isHidden());
    tick(w);
    EXPECT_FALSE(waiting->isHidden());  // the learner sees why nothing moves
    QTest::keyClicks(arc, "-");
    tick(w);
    QTest::keyClicks(arc, "0.");
    EXPECT_EQ(nodes(w), (QStringList{"0", "48", "0"}));  // nothing ran on the half-typed texts
    QTest::keyClicks(arc, "25");
    tick(w);
    EXPECT_TRUE(waiting->isHidden());
    // Node 1 sends half of 48 to node 2 and minus a quarter to node 0:
    // new0 = -12, new1 = 48 - 48(0 + 0.5 - 0.25) = 36, new2 = 24.
    EXPECT_EQ(nodes(w), (QStringList{"-12", "36", "24"}));
    EXPECT_TRUE(messages.isEmpty());
    // Once the learner has moved on, a text that is no number reads as 0, as a press reads it.
    type(w, "txtArc(8)", "abc");
    box(w, "Text1")->setFocus();
    call(w, "Command2_Click");
    tick(w);
    EXPECT_EQ(nodes(w), (QStringList{"0", "24", "24"}));
    EXPECT_TRUE(messages.isEmpty());
}
