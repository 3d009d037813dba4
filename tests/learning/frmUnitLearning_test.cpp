#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include "kit/controls.h"
#include "learning/frmUnitLearning.h"
#include "plot/timer.h"
#include "support/ui_test.h"

namespace {

class UnitLearningWindow : public UiTest {
protected:
    kv::frmUnitLearning* w = nullptr;
    void SetUp() override {
        UiTest::SetUp();
        w = open<kv::frmUnitLearning>();
    }
    QString at(const char* name, int i) { return text(w, kv::ArrayName(name, i)); }
    kv::Rgb rowColour(int row, int column) {
        return kv::BackColor(box(w, kv::ArrayName(QStringLiteral("txtTrain%1").arg(column), row)));
    }
    // Red rows, as a string such as "0" or "" (every row white).
    QString redRows() {
        QString rows;
        for (int i = 0; i < 6; ++i) {
            const bool red = rowColour(i, 1) == kv::kRed;
            EXPECT_EQ(red, rowColour(i, 2) == kv::kRed) << i;
            EXPECT_EQ(red, rowColour(i, 3) == kv::kRed) << i;
            if (red) rows += QString::number(i);
            else EXPECT_EQ(rowColour(i, 1), kv::kWhite) << i;
        }
        return rows;
    }
    QStringList weights() { return {at("txtW", 0), at("txtW", 1), at("txtW", 2)}; }
    void press(int times) {
        for (int i = 0; i < times; ++i) call(w, "Command2_Click");
    }
};

}  // namespace

TEST_F(UnitLearningWindow, DefaultsAndFirstPresses) {
    EXPECT_EQ(redRows(), "");

    press(1);
    EXPECT_EQ(redRows(), "0");
    EXPECT_EQ(at("txtIn", 0), "0");
    EXPECT_EQ(at("txtIn", 1), "1");
    EXPECT_EQ(text(w, "txtOut"), "0.500000");
    EXPECT_EQ(text(w, "txtdEdy"), "0.250000");
    EXPECT_EQ(weights(), QStringList({"0", "0", "0"}));

    press(1);
    EXPECT_EQ(weights(), QStringList({"0.000000", "-0.125000", "-0.125000"}));
    EXPECT_EQ(redRows(), "0");

    // Inputs reach the diagram as general text.
    type(w, "txtTrain1(1)", "01");
    press(1);
    EXPECT_EQ(redRows(), "1");
    EXPECT_EQ(at("txtIn", 0), "1");
    EXPECT_EQ(at("txtIn", 1), "0");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(UnitLearningWindow, TwelvePressesEndAPass) {
    press(11);
    EXPECT_EQ(text(w, "txtError"), "");
    press(1);
    EXPECT_EQ(text(w, "txtError"), "1.537528");
    EXPECT_EQ(redRows(), "5");
    press(1);
    EXPECT_EQ(redRows(), "0");
    EXPECT_EQ(at("txtIn", 0), "0");
    EXPECT_EQ(at("txtIn", 1), "1");
}

TEST_F(UnitLearningWindow, BatchLearning) {
    press(2);  // ErrSum 0.25 after pattern 0, row 0 red
    type(w, "txtLoop", "");
    call(w, "Command5_Click");
    EXPECT_EQ(text(w, "txtError"), "0.250000");
    EXPECT_EQ(redRows(), "");
    EXPECT_EQ(weights(), QStringList({"0.000000", "-0.125000", "-0.125000"}));

    call(w, "Command1_Click");
    type(w, "txtLoop", "100");
    call(w, "Command5_Click");
    EXPECT_EQ(text(w, "txtError"), "0.016745");
    EXPECT_EQ(weights(), QStringList({"1.355276", "1.158173", "-2.528062"}));
    EXPECT_EQ(at("txtIn", 0), "1.5");
    EXPECT_EQ(at("txtIn", 1), "2");
    EXPECT_EQ(text(w, "txtOut"), "0.974245");
    EXPECT_EQ(redRows(), "");

    // The batch left the last pattern current: stepping goes on from there and wraps.
    press(1);
    EXPECT_EQ(redRows(), "5");
    press(2);
    EXPECT_EQ(redRows(), "0");

    call(w, "Command1_Click");
    type(w, "txtLoop", "2.5");
    call(w, "Command5_Click");
    EXPECT_EQ(text(w, "txtError"), "0.983597");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(UnitLearningWindow, BatchRefusesCountsItCannotRun) {
    for (const char* count : {"-1", "2000000", "1e400"}) {
        messages.clear();
        type(w, "txtLoop", count);
        call(w, "Command5_Click");
        ASSERT_EQ(messages.size(), 1) << count;
        EXPECT_TRUE(messages[0].contains(QStringLiteral("「回数」"))) << messages[0].toStdString();
        EXPECT_EQ(text(w, "txtError"), "");
        EXPECT_EQ(weights(), QStringList({"0", "0", "0"}));
    }
    // An unreadable training box stops the batch before any pass.
    messages.clear();
    type(w, "txtLoop", "100");
    type(w, "txtTrain3(4)", "1e999");
    call(w, "Command5_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("訓練データ 5行目の出力"))) << messages[0].toStdString();
    EXPECT_EQ(weights(), QStringList({"0", "0", "0"}));
}

TEST_F(UnitLearningWindow, NormalRunAndDoubleClick) {
    call(w, "Command6_Click");
    EXPECT_EQ(text(w, "txtOut"), "0.500000");

    // Typed weights drive the run: u = 1 + 0.5 * 3 - 1 = 1.5, y = 1 / (e^-3 + 1).
    type(w, "txtW(0)", "1");
    type(w, "txtW(1)", "0.5");
    type(w, "txtW(2)", "-1");
    type(w, "txtdEdy", "x");
    QLineEdit* row3 = box(w, "txtTrain2(3)");
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), row3->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(row3, &dbl);
    EXPECT_EQ(at("txtIn", 0), "1");
    EXPECT_EQ(at("txtIn", 1), "3");
    EXPECT_EQ(text(w, "txtOut"), "0.952574");
    EXPECT_EQ(text(w, "txtdEdy"), "");

    // The text is copied as it stands and read with Val.
    type(w, "txtTrain1(4)", " 2x");
    call(w, "txtTrain1_DblClick", 4);
    EXPECT_EQ(at("txtIn", 0), " 2x");
    EXPECT_EQ(text(w, "txtOut"), "0.952574");  // u = 2 + 0.5 - 1 as well
    call(w, "txtTrain1_DblClick", 6);          // no such row: nothing happens

    type(w, "txtIn(1)", "1e999");
    call(w, "Command6_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「入力 2」")));
    EXPECT_EQ(text(w, "txtOut"), "0.952574");
}

TEST_F(UnitLearningWindow, NormalRunBetweenPhasesFeedsTheUpdate) {
    press(1);
    type(w, "txtIn(0)", "2");
    type(w, "txtIn(1)", "3");
    type(w, "txtW(0)", "1");
    call(w, "Command6_Click");
    EXPECT_EQ(text(w, "txtOut"), "0.982014");
    press(1);
    // Learning continues from its own weights (all 0), with the run's inputs.
    EXPECT_EQ(weights(), QStringList({"-0.250000", "-0.375000", "-0.125000"}));
}

TEST_F(UnitLearningWindow, InitialisationAndTimer) {
    auto* timer = w->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    call(w, "Command3_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 50);
    call(w, "Timer1_Timer");
    EXPECT_EQ(redRows(), "0");
    press(11);
    press(3);

    call(w, "Command1_Click");
    EXPECT_EQ(weights(), QStringList({"0", "0", "0"}));
    EXPECT_EQ(kv::TimerInterval(timer), 50);
    EXPECT_EQ(redRows(), "1");
    EXPECT_FALSE(text(w, "txtError").isEmpty());
    EXPECT_FALSE(text(w, "txtOut").isEmpty());
    press(1);
    EXPECT_EQ(redRows(), "0");
    EXPECT_EQ(text(w, "txtOut"), "0.500000");

    call(w, "Command4_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 0);
}

TEST_F(UnitLearningWindow, OverflowStopsLearningWithAMessage) {
    auto* timer = w->findChild<QTimer*>("Timer1");
    type(w, "txtTrain1(0)", "1e300");
    type(w, "txtTrain3(0)", "1e300");
    // Ticks keep coming while the message is open; they must not stack further messages.
    kv::SetMsgBoxHook([this](const QString& text, kv::MsgButtons) {
        messages << text;
        if (messages.size() < 5) call(w, "Timer1_Timer");
        return kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    call(w, "Timer1_Timer");
    call(w, "Timer1_Timer");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("訓練データ 1行目"))) << messages[0].toStdString();
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    EXPECT_EQ(weights(), QStringList({"0", "0", "0"}));
    EXPECT_EQ(redRows(), "0");

    messages.clear();
    call(w, "Command1_Click");
    call(w, "Command5_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(text(w, "txtError"), "");
}
