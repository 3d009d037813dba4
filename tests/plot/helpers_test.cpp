#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cmath>
#include <limits>

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

TEST_F(HelpersTest, MessagesQuoteAtMostTwentyCharactersOfABox) {
    EXPECT_EQ(kv::Quoted(QStringLiteral("0.3x")), "0.3x");
    const QString twenty = QStringLiteral("１２３４５６７８９０1234567890");
    EXPECT_EQ(kv::Quoted(twenty), twenty);
    EXPECT_EQ(kv::Quoted(twenty + "5"), twenty.left(19) + QStringLiteral("…"));
    // Characters beyond 16 bits count once and are never cut in half.
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    EXPECT_EQ(kv::Quoted(clef.repeated(20)), clef.repeated(20));
    EXPECT_EQ(kv::Quoted(clef.repeated(30)), clef.repeated(19) + QStringLiteral("…"));

    // The refusals of the reading helpers quote the box this way, whatever its length.
    QWidget window;
    auto* box = new QLineEdit(QString(20000, QChar(0xFF11)) + "x", &window);
    EXPECT_FALSE(kv::ReadStrict(box, "X1").has_value());
    box->setText("9" + QString(400, '0'));
    EXPECT_FALSE(kv::ReadVal(box, QStringLiteral("θ")).has_value());
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], QStringLiteral("「X1」の欄の「%1…」は数値として読めません。数値を入力してください。")
                               .arg(QString(19, QChar(0xFF11))));
    EXPECT_EQ(messages[1], QStringLiteral("「θ」の欄の値「9%1…」は大きすぎて計算できません。").arg(QString(18, '0')));
    EXPECT_EQ(box->text().size(), 401);  // the box itself keeps everything
}

TEST_F(HelpersTest, CountsAreWholeNumbersWithinTheirBounds) {
    QWidget window;
    auto* box = new QLineEdit(&window);
    const auto count = [&](const QString& typed) {
        box->setText(typed);
        return kv::ReadCount(box, QStringLiteral("回数"), 0, 32767);
    };
    EXPECT_EQ(count("100"), 100);
    EXPECT_EQ(count("32767"), 32767);
    EXPECT_EQ(count("2.5"), 2);   // halves to the even neighbour
    EXPECT_EQ(count("3.5"), 4);
    EXPECT_EQ(count("-0.4"), 0);
    EXPECT_EQ(count(""), 0);      // read with Val: no number is 0
    EXPECT_EQ(count("12abc"), 12);
    EXPECT_TRUE(messages.isEmpty());

    for (const char* bad : {"32768", "-1", "1e999", "-0.6", "40000.4", "1e10"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(count(bad).has_value());
        EXPECT_EQ(messages.last(), "「回数」には0から32767までの整数を入力してください。");
        EXPECT_EQ(box->selectedText(), box->text());
    }
    EXPECT_EQ(messages.size(), 6);
    box->setText("0");
    EXPECT_FALSE(kv::ReadCount(box, QStringLiteral("状態更新回数"), 1, 100).has_value());
    EXPECT_EQ(messages.last(), "「状態更新回数」には1から100までの整数を入力してください。");
}

TEST_F(HelpersTest, RangesAreReadWithValAndRefusedInOneSentenceShape) {
    QWidget window;
    auto* box = new QLineEdit(&window);
    const auto read = [&](const QString& typed, kv::Range range) {
        box->setText(typed);
        return kv::ReadInRange(box, QStringLiteral("ε"), range);
    };
    const kv::Range open = kv::Open(0, 2);
    EXPECT_EQ(read("0.02", open), 0.02);
    EXPECT_EQ(read("1.99x", open), 1.99);
    EXPECT_TRUE(messages.isEmpty());
    for (const char* bad : {"0", "2", "-1", "abc", "1e999"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(read(bad, open).has_value());
        EXPECT_EQ(messages.last(), "「ε」には0より大きく2より小さい数を入力してください。");
    }

    // Each end included or not, or absent.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(read("2", kv::Range{0, 2}), 2);
    EXPECT_EQ(read("0", kv::Range{0, 2}), 0);
    EXPECT_FALSE(read("2.5", kv::Range{-1.5, 2}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には-1.5から2までの数を入力してください。");
    EXPECT_FALSE(read("2", kv::Range{0, 2, true, false}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には0以上2より小さい数を入力してください。");
    EXPECT_FALSE(read("0", kv::Range{0, 2, false, true}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には0より大きく2以下の数を入力してください。");
    EXPECT_EQ(read("1e300", kv::Range{0, inf, false}), 1e300);
    EXPECT_FALSE(read("0", kv::Range{0, inf, false}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には0より大きい数を入力してください。");
    EXPECT_FALSE(read("-1", kv::Range{0, inf}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には0以上の数を入力してください。");
    EXPECT_FALSE(read("1e999", kv::Range{-inf, 100}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には100以下の数を入力してください。");
    EXPECT_FALSE(read("100", kv::Range{-inf, 100, true, false}).has_value());
    EXPECT_EQ(messages.last(), "「ε」には100より小さい数を入力してください。");
    EXPECT_EQ(messages.size(), 12);
}
