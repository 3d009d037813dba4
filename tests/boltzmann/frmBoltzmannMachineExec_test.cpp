#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "boltzmann/frmBoltzmannMachineExec.h"
#include "kit/controls.h"
#include "plot/numtext.h"
#include "plot/timer.h"
#include "support/ui_test.h"

using kv::frmBoltzmannMachineExec;
using kv::ArrayName;
using kv::Rgb;

namespace {

const QString kPositive = QStringLiteral("更新回数および温度は正の値でなければなりません。");

class BoltzmannExecTest : public UiTest {
protected:
    Rgb colour(QWidget* w, const QString& name) { return kv::BackColor(box(w, name)); }
    // Texts and colours of the three result rows, one entry per box.
    QStringList table(QWidget* w) {
        QStringList all;
        for (const char* row : {"txtTheory", "txtNumber", "txtP"})
            for (int k = 0; k < 8; ++k) {
                const QString n = ArrayName(row, k);
                const Rgb c = colour(w, n);
                all << QStringLiteral("%1=%2 %3").arg(n, text(w, n)).arg(c.packed());
            }
        return all;
    }
    int state(QWidget* w) {
        return text(w, "txtX(1)").toInt() + 2 * text(w, "txtX(2)").toInt() + 4 * text(w, "txtX(3)").toInt();
    }
    double count(QWidget* w, int k) { return kv::Val(text(w, ArrayName("txtNumber", k)).toStdString()); }
    void expectNoInfNan(QWidget* w) {
        for (const QLineEdit* b : w->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(b->text().contains("inf", Qt::CaseInsensitive)) << b->objectName().toStdString();
            EXPECT_FALSE(b->text().contains("nan", Qt::CaseInsensitive)) << b->objectName().toStdString();
        }
    }
};

TEST_F(BoltzmannExecTest, OpensInitialisedWithTheDefaultTheoryAndWeightTable) {
    auto* w = open<frmBoltzmannMachineExec>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ボルツマン(Boltzmann)マシンの実行"));
    const QStringList theory = {"0.000", "0.000", "0.000", "0.096", "0.000", "0.096", "0.096", "0.711"};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(text(w, ArrayName("txtTheory", k)), theory[k]);
        const bool likely = k == 3 || k == 5 || k == 6 || k == 7;
        EXPECT_EQ(colour(w, ArrayName("txtTheory", k)), likely ? kv::kRed : kv::kSkyBlue);
        EXPECT_EQ(text(w, ArrayName("txtNumber", k)), "0");
        EXPECT_EQ(text(w, ArrayName("txtP", k)), "0.000");
        EXPECT_EQ(colour(w, ArrayName("txtNumber", k)), kv::kGreen);
        EXPECT_EQ(colour(w, ArrayName("txtP", k)), kv::kGreen);
    }
    const QStringList firstRows = {"0.00", "5.00", "5.00", "5.00", "5.00", "0.00", "-2.00", "-2.00"};
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(text(w, ArrayName("txtWM", n)), firstRows[n]) << n;
        EXPECT_EQ(colour(w, ArrayName("txtWM", n)), firstRows[n].startsWith('-') ? kv::kRed : kv::kYellow) << n;
    }
    EXPECT_EQ(text(w, "txtWM(15)"), "0.00");
    EXPECT_EQ(text(w, "txtWM(11)"), "-2.00");  // W(2,3)
    for (int n = 0; n < 6; ++n) EXPECT_EQ(colour(w, ArrayName("txtW", n)), n < 3 ? kv::kYellow : kv::kRed) << n;
    EXPECT_EQ(colour(w, "txtX(0)"), kv::kRed);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(colour(w, ArrayName("txtX", i)), kv::kYellow);
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 0"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannExecTest, RefusesTemperaturesAndCountsThatCannotRun) {
    auto* w = open<frmBoltzmannMachineExec>();
    call(w, "Command1_Click");
    const QStringList afterBatch = table(w);

    struct Case {
        const char* temperature;
        const char* loop;
        const char* slot;
        QString message;
    };
    const Case cases[] = {
        {"0", "100", "Command1_Click", kPositive},
        {"-1", "100", "Command1_Click", kPositive},
        {"abc", "100", "Command1_Click", kPositive},  // Val reads it as 0
        {"0.5", "0", "Command1_Click", kPositive},
        {"0.5", "0.4", "Command1_Click", kPositive},  // rounds to no update at all
        {"0.5", "32768", "Command1_Click", QStringLiteral("「状態更新回数」には1から32767までの整数を入力してください。")},
        {"0.5", "1e300", "Command1_Click", QStringLiteral("「状態更新回数」には1から32767までの整数を入力してください。")},
        {"0", "100", "Command2_Click", kPositive},
        {"-0.1", "100", "Command3_Click", kPositive},
        {"0", "100", "Command4_Click", kPositive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.temperature) + " " + c.loop + " " + c.slot);
        messages.clear();
        type(w, "txtTemperature", c.temperature);
        type(w, "txtLoop", c.loop);
        call(w, c.slot);
        EXPECT_EQ(messages, QStringList{c.message});
        EXPECT_EQ(table(w), afterBatch);  // nothing computed, nothing lost
        EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
    }
    type(w, "txtTemperature", "0.5");
    type(w, "txtLoop", "32767");
    messages.clear();
    call(w, "Command1_Click");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 32767"));
}

TEST_F(BoltzmannExecTest, BatchFillsTheTableWithTwoDigitCounts) {
    auto* w = open<frmBoltzmannMachineExec>();
    type(w, "txtLoop", "100");
    call(w, "Command1_Click");
    double total = 0;
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const QString number = text(w, ArrayName("txtNumber", k));
        EXPECT_GE(number.size(), 2);
        total += count(w, k);
        EXPECT_EQ(text(w, ArrayName("txtP", k)), QString::fromStdString(kv::Format(count(w, k) / 100, kv::kFixed3)));
        const Rgb tally = count(w, k) > 0 ? kv::kRed : kv::kGreen;
        EXPECT_EQ(colour(w, ArrayName("txtNumber", k)), tally);
        EXPECT_EQ(colour(w, ArrayName("txtP", k)), tally);
        // Every state has some chance at T = 0.5, so the batch marks every theory box.
        EXPECT_EQ(colour(w, ArrayName("txtTheory", k)), kv::kRed);
    }
    EXPECT_EQ(total, 100);
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 100"));
    for (int i = 1; i < 4; ++i) {
        const QString x = text(w, ArrayName("txtX", i));
        EXPECT_TRUE(x == "0" || x == "1");
        EXPECT_EQ(colour(w, ArrayName("txtX", i)), x == "1" ? kv::kRed : kv::kYellow);
    }

    // A typed weight takes effect at the batch: the table and the box colour follow it.
    type(w, "txtW(3)", "1.5");
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtWM(6)"), "1.50");
    EXPECT_EQ(text(w, "txtWM(9)"), "1.50");
    EXPECT_EQ(colour(w, "txtW(3)"), kv::kYellow);
}

TEST_F(BoltzmannExecTest, AStepRecoloursOnlyTheColumnOfTheStateReached) {
    auto* w = open<frmBoltzmannMachineExec>();
    // Take steps until one reaches a state whose column was still untouched.
    for (int s = 1; s <= 200; ++s) {
        const QStringList before = table(w);
        call(w, "Command3_Click");
        const int k = state(w);
        const QStringList after = table(w);
        for (int r = 0; r < 3; ++r)
            for (int j = 0; j < 8; ++j) {
                if (j == k) continue;
                // Other columns keep their colours; only their texts may follow the count.
                EXPECT_EQ(before[r * 8 + j].section(' ', 1), after[r * 8 + j].section(' ', 1)) << s << " " << j;
            }
        EXPECT_EQ(colour(w, ArrayName("txtNumber", k)), kv::kRed);
        EXPECT_EQ(colour(w, ArrayName("txtP", k)), kv::kRed);
        EXPECT_EQ(colour(w, ArrayName("txtTheory", k)), kv::kRed);  // also a state that was light blue
        EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : %1").arg(s));
        EXPECT_GE(text(w, ArrayName("txtNumber", k)).size(), 2);
        EXPECT_EQ(text(w, ArrayName("txtTheory", 7)), "0.711");  // not recomputed
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannExecTest, AStepAfterABatchCarriesOnItsCount) {
    auto* w = open<frmBoltzmannMachineExec>();
    type(w, "txtLoop", "50");
    call(w, "Command1_Click");
    call(w, "Command3_Click");
    call(w, "Command3_Click");
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 52"));
    double total = 0, freq = 0;
    for (int k = 0; k < 8; ++k) {
        total += count(w, k);
        const double p = kv::Val(text(w, ArrayName("txtP", k)).toStdString());
        EXPECT_LE(p, 1.0) << k;
        freq += p;
    }
    EXPECT_EQ(total, 52);
    EXPECT_NEAR(freq, 1.0, 0.0045);  // eight texts, each rounded to 0.0005
}

TEST_F(BoltzmannExecTest, TicksWaitSilentlyWhileTheTemperatureIsBeingTyped) {
    auto* w = open<frmBoltzmannMachineExec>();
    call(w, "Command4_Click");
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 500);
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 1"));
    for (const char* typing : {"", "-", "0", "0."}) {
        type(w, "txtTemperature", typing);
        call(w, "Timer1_Timer");
        EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 1")) << typing;
    }
    type(w, "txtTemperature", "0.7");
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 2"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 500);
    call(w, "Command5_Click");
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
}

TEST_F(BoltzmannExecTest, TheStepCounterStopsAtItsTopWithAMessage) {
    auto* w = open<frmBoltzmannMachineExec>();
    type(w, "txtLoop", "32767");
    call(w, "Command1_Click");
    call(w, "Command3_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("32767"));
    EXPECT_EQ(text(w, "lblNumOfLoop"), QStringLiteral("実行回数 : 32767"));
}

TEST_F(BoltzmannExecTest, ATheoryBeyondADoubleIsReportedAndNotShown) {
    auto* w = open<frmBoltzmannMachineExec>();
    // The theory row is left empty and plain: no figures of the weights before, nor colours.
    QStringList emptyRow;
    for (int k = 0; k < 8; ++k) emptyRow << QStringLiteral("%1= %2").arg(ArrayName("txtTheory", k)).arg(kv::kWhite.packed());
    auto weights = [&](const char* v) { for (int n = 0; n < 6; ++n) type(w, ArrayName("txtW", n), v); };
    weights("1e308");
    call(w, "Command2_Click");
    EXPECT_EQ(messages, QStringList{QStringLiteral("理論値が設定できません")});
    expectNoInfNan(w);
    call(w, "Command3_Click");
    EXPECT_EQ(table(w).mid(0, 8), emptyRow);
    weights("1");
    call(w, "Command1_Click");  // a batch that fills the row, before one that cannot
    weights("1e308");
    messages.clear();
    call(w, "Command1_Click");
    EXPECT_EQ(messages, QStringList{QStringLiteral("理論値が設定できません")});
    expectNoInfNan(w);
    EXPECT_EQ(table(w).mid(0, 8), emptyRow);
    // A weight too large for a double is refused by name before anything runs.
    messages.clear();
    type(w, "txtW(0)", "1e999");
    call(w, "Command2_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「重み W(1, 0)」"))) << messages[0].toStdString();
}

}  // namespace
