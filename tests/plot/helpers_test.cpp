#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/timer.h"
#include "support/ui_test.h"

class HelpersTest : public UiTest {};

TEST_F(HelpersTest, TimerIntervalZeroMeansNoTicksAndBadIntervalsAreRefused) {
    QWidget window;
    QTimer* t = kv::MakeTimer1(&window);
    EXPECT_EQ(t->objectName(), "Timer1");
    EXPECT_FALSE(t->isActive());
    EXPECT_EQ(kv::TimerInterval(t), 0);

    EXPECT_TRUE(kv::SetTimerInterval(t, 50.5, &window));  // halves go to even
    EXPECT_EQ(kv::TimerInterval(t), 50);
    EXPECT_TRUE(t->isActive());
    EXPECT_EQ(t->interval(), 50);

    for (double bad : {65536.0, -1.0, 1e300, std::nan("")}) {
        EXPECT_FALSE(kv::SetTimerInterval(t, bad, &window));
        EXPECT_EQ(kv::TimerInterval(t), 50);
        EXPECT_TRUE(t->isActive());
    }
    ASSERT_EQ(messages.size(), 4);
    EXPECT_TRUE(messages[0].contains("65536"));
    EXPECT_TRUE(messages[0].contains("0から65535"));

    EXPECT_TRUE(kv::SetTimerInterval(t, 65535, &window));
    EXPECT_TRUE(kv::SetTimerInterval(t, 0.4, &window));
    EXPECT_EQ(kv::TimerInterval(t), 0);
    EXPECT_FALSE(t->isActive());
}

TEST_F(HelpersTest, BadBoxesAreNamedFocusedAndLeftAsTyped) {
    QWidget window;
    auto* box = new QLineEdit("12abc", &window);
    auto* other = new QLineEdit("1", &window);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();

    EXPECT_FALSE(kv::ReadStrict(box, "X1").has_value());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "「X1」の欄の「12abc」は数値として読めません。数値を入力してください。");
    EXPECT_EQ(box->text(), "12abc");
    EXPECT_EQ(box->selectedText(), "12abc");
    EXPECT_TRUE(box->hasFocus());

    box->setText("   ");
    kv::ReadStrict(box, "ω2");
    EXPECT_EQ(messages.last(), "「ω2」の欄が空です。数値を入力してください。");
    box->setText("1e999");
    kv::ReadStrict(box, "θ");
    EXPECT_TRUE(messages.last().contains("大きすぎ"));
    EXPECT_FALSE(kv::ReadVal(box, "θ").has_value());
    EXPECT_EQ(messages.size(), 4);

    box->setText(" -0.25 ");
    EXPECT_EQ(kv::ReadStrict(box, "X1"), -0.25);
    box->setText("3x");
    EXPECT_EQ(kv::ReadVal(box, "θ"), 3);
    EXPECT_EQ(kv::PeekVal(box), 3);
    EXPECT_EQ(messages.size(), 4);
}

TEST_F(HelpersTest, MessageBoxesReturnTheAnswerGiven) {
    answer = kv::MsgAnswer::No;
    EXPECT_EQ(kv::MsgBox(nullptr, "q", kv::MsgButtons::YesNo), kv::MsgAnswer::No);
    EXPECT_EQ(messages, QStringList{"q"});
    EXPECT_EQ(kv::kAppTitle, "Korvalen");
}
