#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <memory>

#include "kit/batch_runner.h"
#include "kit/controls.h"
#include "learning/backprop_model.h"
#include "learning/frmFeedFowardLearning.h"
#include "plot/numtext.h"
#include "plot/timer.h"
#include "support/ui_test.h"

using kv::frmFeedFowardLearning;
using kv::ArrayName;

namespace {

// Each reading of the batch clock is a whole progress period after the last: progress is
// due before every pass, as on a machine slow enough for the learner to watch each one.
struct SlowBatchClock {
    SlowBatchClock() {
        kv::BatchRunner::setClock([t = std::chrono::steady_clock::time_point{}]() mutable {
            return t += kv::BatchRunner::kProgressPeriod;
        });
    }
    ~SlowBatchClock() { kv::BatchRunner::setClock({}); }
    SlowBatchClock(const SlowBatchClock&) = delete;
    SlowBatchClock& operator=(const SlowBatchClock&) = delete;
};

class FeedFowardTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = open<frmFeedFowardLearning>();
    }

    void press(int times) {
        for (int i = 0; i < times; ++i) call(w, "Command2_Click");
    }
    kv::Rgb back(const QString& name) { return kv::BackColor(box(w, name)); }
    kv::Rgb back(const char* name, int i) { return back(ArrayName(name, i)); }
    kv::Rgb line(int i) { return child<kv::LineShape>(w, ArrayName("LineX", i))->borderColor(); }
    QLabel* arrow(int i) { return child<QLabel>(w, ArrayName("lblArrow", i)); }
    QString text(const char* name, int i) { return UiTest::text(w, ArrayName(name, i)); }
    QString text(const char* name) { return UiTest::text(w, name); }

    // Whether every box, line and arrow is back at its default colour.
    bool allDefault() {
        for (const char* name : {"txtTrain1", "txtTrain2", "txtTrain3", "txtTrain4", "txtOut", "txtBack", "txtIn"})
            for (int i = 0; i < 6; ++i)
                if (auto* b = w->findChild<QLineEdit*>(ArrayName(name, i)); b && kv::BackColor(b) != kv::kWhite) return false;
        for (int i = 0; i < 26; ++i)
            if (back("txtW", i) != kv::kWhite || kv::ForeColor(arrow(i)) != kv::kBlack) return false;
        for (int i = 0; i < 20; ++i)
            if (line(i) != kv::kBlack) return false;
        return back("txtError") == kv::kWhite;
    }
    int arrowsBack() {
        int n = 0;
        for (int i = 0; i < 26; ++i) n += arrow(i)->text() == QStringLiteral("←");
        return n;
    }

    frmFeedFowardLearning* w = nullptr;
};

}  // namespace

TEST_F(FeedFowardTest, LoadsWithTheInitialWeights) {
    EXPECT_EQ(w->objectName(), "frmFeedFowardLearning");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("誤差伝播法による学習"));
    const char* first[] = {"-1.00000", "1.00000", "-1.00000", "1.00000"};
    const char* second[] = {"1.00000", "-1.00000", "1.00000", "-1.00000"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(text("txtW", k), first[k]);
        EXPECT_EQ(text("txtW", 4 + k), second[k]);
        EXPECT_EQ(text("txtW", 16 + k), first[k]);
    }
    for (int h = 0; h < 6; ++h) EXPECT_EQ(text("txtW", 20 + h), h % 2 ? "1.00000" : "-1.00000");
    EXPECT_EQ(text("txtTrain1", 1), "1");
    EXPECT_EQ(text("txtTrain4", 5), "1");
    EXPECT_EQ(text("txtIn", 0), "0");
    EXPECT_EQ(text("txtLoop"), "500");
    EXPECT_EQ(text("txtLimitError"), "0.01");
    EXPECT_EQ(arrowsBack(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FeedFowardTest, FirstPatternOperationByOperation) {
    press(1);
    for (const char* col : {"txtTrain1", "txtTrain2", "txtTrain3", "txtTrain4"}) {
        EXPECT_EQ(back(col, 0), kv::kRed) << col;
        EXPECT_EQ(back(col, 1), kv::kWhite) << col;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(text("txtIn", i), "0");
        EXPECT_EQ(back("txtIn", i), kv::kRed);
    }

    press(1);  // hidden unit 0
    EXPECT_EQ(text("txtOut", 0), "0.88080");
    EXPECT_EQ(back("txtOut", 0), kv::kLightBlue);
    EXPECT_EQ(back("txtTrain1", 0), kv::kWhite);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(back("txtW", k), kv::kRed);
        EXPECT_EQ(line(k), kv::kRed);
        EXPECT_EQ(line(3 + k), kv::kBlack);
    }
    EXPECT_EQ(back("txtW", 3), kv::kYellow);
    EXPECT_EQ(back("txtW", 4), kv::kWhite);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(kv::ForeColor(arrow(k)), kv::kRed);
    EXPECT_EQ(kv::ForeColor(arrow(4)), kv::kBlack);

    press(5);  // seventh: the output unit
    EXPECT_EQ(text("txtOut", 1), "0.11920");
    EXPECT_EQ(back("txtOut", 0), kv::kWhite);
    EXPECT_EQ(text("txtOut", 5), "0.05732");
    EXPECT_EQ(back("txtOut", 5), kv::kLightBlue);
    for (int h = 0; h < 5; ++h) {
        EXPECT_EQ(back("txtW", 20 + h), kv::kRed);
        EXPECT_EQ(line(15 + h), kv::kRed);
    }
    EXPECT_EQ(back("txtW", 25), kv::kYellow);
    EXPECT_EQ(kv::ForeColor(arrow(25)), kv::kRed);
    EXPECT_EQ(line(14), kv::kBlack);

    press(1);  // eighth: the error
    EXPECT_EQ(text("txtError"), "0.003286");
    EXPECT_EQ(back("txtError"), kv::kRed);
    EXPECT_EQ(back("txtOut", 5), kv::kWhite);

    press(1);  // ninth: back-propagation through the output weights
    EXPECT_EQ(text("txtBack", 5), "0.003098");
    EXPECT_EQ(text("txtBack", 0), "-0.000325");
    EXPECT_EQ(text("txtBack", 1), "0.000325");
    EXPECT_EQ(text("txtW", 20), "-1.000136");
    EXPECT_EQ(text("txtW", 25), "0.999845");
    for (int h = 0; h < 6; ++h) {
        EXPECT_EQ(back("txtBack", h), kv::kRed);
        EXPECT_EQ(back("txtW", 20 + h), kv::kLightBlue);
        EXPECT_EQ(arrow(20 + h)->text(), QStringLiteral("←"));
        EXPECT_EQ(kv::ForeColor(arrow(20 + h)), kv::kRed);
    }
    EXPECT_EQ(back("txtError"), kv::kWhite);
    EXPECT_EQ(arrowsBack(), 6);

    press(4);  // the input weights, one input at a time, the threshold weights last
    for (int h = 0; h < 5; ++h) {
        EXPECT_EQ(back("txtW", 4 * h + 3), kv::kLightBlue);
        EXPECT_EQ(back("txtW", 4 * h), kv::kWhite);
        EXPECT_EQ(arrow(4 * h)->text(), QStringLiteral("←"));
    }
    EXPECT_EQ(text("txtW", 0), "-1.000000");  // input 0 of pattern 0 is 0: unchanged
    EXPECT_EQ(text("txtW", 3), "1.000016");   // 1 - 0.05 * D1(0)
    EXPECT_EQ(arrowsBack(), 26);

    press(1);  // fourteenth: the pattern ends
    EXPECT_EQ(arrowsBack(), 0);
    EXPECT_TRUE(allDefault());
    EXPECT_EQ(text("txtW", 3), "1.000016");
    EXPECT_EQ(text("txtError"), "0.003286");

    press(1);  // fifteenth: pattern 1
    EXPECT_EQ(back("txtTrain1", 1), kv::kRed);
    EXPECT_EQ(back("txtTrain1", 0), kv::kWhite);
    EXPECT_EQ(text("txtIn", 0), "1");
    EXPECT_EQ(text("txtIn", 1), "0");
    EXPECT_EQ(text("txtIn", 2), "1");
    EXPECT_EQ(text("txtMaxError"), "");  // step-by-step learning never writes it
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FeedFowardTest, TimerRunsTheSteps) {
    auto* timer = w->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    type(w, "Text1", "25.5");
    call(w, "Command3_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 26);
    call(w, "Timer1_Timer");
    call(w, "Timer1_Timer");
    EXPECT_EQ(text("txtOut", 0), "0.88080");
    call(w, "Command1_Click");  // initialisation leaves the timer running
    EXPECT_EQ(kv::TimerInterval(timer), 26);
    call(w, "Command4_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    type(w, "Text1", "70000");
    call(w, "Command3_Click");
    EXPECT_EQ(kv::TimerInterval(timer), 0);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(FeedFowardTest, BatchLearningWithTheDefaults) {
    w->show();
    QApplication::processEvents();
    // The progress label is repainted while the batch holds the thread: record what it
    // shows at each paint, with the pointer of that moment.
    struct Recorder : QObject {
        QStringList captions;
        bool busy = true;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                const QString t = static_cast<QLabel*>(o)->text();
                if (!t.isEmpty()) {
                    captions << t;
                    busy = busy && QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                }
            }
            return false;
        }
    } recorder;
    child<QLabel>(w, "Label5")->installEventFilter(&recorder);
    const SlowBatchClock clock;

    call(w, "Command5_Click");
    EXPECT_EQ(messages, QStringList{"131"});
    EXPECT_EQ(text("txtMaxError"), "0.009950");
    EXPECT_FALSE(text("txtError").isEmpty());
    ASSERT_EQ(recorder.captions.size(), 6);
    EXPECT_EQ(recorder.captions.front(), QStringLiteral("実行中 20 (4 %)"));
    EXPECT_EQ(recorder.captions.back(), QStringLiteral("実行中 120 (24 %)"));
    EXPECT_TRUE(recorder.busy);
    EXPECT_EQ(text("Label5"), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Every weight is shown as learnt, with six decimals.
    for (int j = 0; j < 26; ++j) EXPECT_EQ(text("txtW", j).section('.', 1).size(), 6) << j;
    EXPECT_NE(text("txtW", 20), "-1.000000");

    // A count that leaves a fraction of a percent.
    recorder.captions.clear();
    type(w, "txtLoop", "300");
    type(w, "txtLimitError", "0");
    call(w, "Command1_Click");
    call(w, "Command5_Click");
    EXPECT_EQ(messages.back(), "300");
    ASSERT_EQ(recorder.captions.size(), 15);
    EXPECT_EQ(recorder.captions.front(), QStringLiteral("実行中 20 (6.66666666666667 %)"));
    EXPECT_EQ(recorder.captions.back(), QStringLiteral("実行中 300 (100 %)"));
}

TEST_F(FeedFowardTest, BatchPassCountsThatCannotBeCounted) {
    for (const char* bad : {"-1", "32767", "40000", "1e9"}) {
        messages.clear();
        type(w, "txtLoop", bad);
        call(w, "Command5_Click");
        ASSERT_EQ(messages.size(), 1) << bad;
        EXPECT_TRUE(messages[0].contains(QStringLiteral("「回数」"))) << messages[0].toStdString();
        EXPECT_EQ(text("txtMaxError"), "") << bad;
        EXPECT_EQ(text("txtW", 20), "-1.00000") << bad;
    }
    // No number, an empty box, 0 and a count below 1 mean no pass; n is reported as read.
    for (const char* none : {"", "0", "abc", "0.6"}) {
        messages.clear();
        type(w, "txtLoop", none);
        call(w, "Command5_Click");
        EXPECT_EQ(messages, QStringList{QString(none) == "0.6" ? "0.6" : "0"}) << none;
        EXPECT_EQ(text("txtMaxError"), "") << none;
    }
    // A fractional count is compared, not rounded: 2.6 runs two passes and reports 2.6.
    messages.clear();
    type(w, "txtLoop", "2.6");
    type(w, "txtLimitError", "0");
    call(w, "Command5_Click");
    EXPECT_EQ(messages, QStringList{"2.6"});
    EXPECT_EQ(text("txtMaxError"), "0.072329");  // pass 2's; pass 3's would be lower
    type(w, "txtLimitError", "0.01");
    call(w, "Command1_Click");
    // The largest count that can be counted is taken.
    messages.clear();
    type(w, "txtLoop", "32766");
    call(w, "Command5_Click");
    EXPECT_EQ(messages, QStringList{"131"});
    // An allowed error beyond a double is refused before anything runs.
    messages.clear();
    type(w, "txtLimitError", "1e999");
    call(w, "Command5_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「許容誤差」")));
}

TEST_F(FeedFowardTest, StepsAfterBatchOrNormalRunStartAtPatternZero) {
    press(14 * 2 + 9);  // pattern 2, just after back-propagation: arrows point back
    ASSERT_EQ(arrowsBack(), 6);
    type(w, "txtLoop", "3");
    call(w, "Command5_Click");
    const QString learnt = text("txtW", 20);
    press(1);
    EXPECT_EQ(back("txtTrain1", 0), kv::kRed);
    EXPECT_EQ(back("txtTrain1", 2), kv::kWhite);
    EXPECT_EQ(text("txtIn", 0), "0");
    EXPECT_EQ(arrowsBack(), 0);
    press(13);
    EXPECT_TRUE(allDefault());
    EXPECT_NE(text("txtW", 20), learnt);  // learning went on from the batch's weights

    press(3);  // pattern 1, inside the hidden units
    call(w, "Command6_Click");
    press(1);
    EXPECT_EQ(back("txtTrain4", 0), kv::kRed);
    EXPECT_EQ(text("txtIn", 2), "0");
    press(1);
    EXPECT_EQ(back("txtOut", 0), kv::kLightBlue);
}

TEST_F(FeedFowardTest, NormalRunOnAnyInputs) {
    press(2);
    call(w, "Command6_Click");  // inputs 0, 1, 1 give the sums +1, -1, +1, -1, +1
    for (int h = 0; h < 5; ++h) EXPECT_EQ(text("txtOut", h), h % 2 ? "0.11920" : "0.88080") << h;
    EXPECT_EQ(text("txtOut", 5), "0.05732");
    EXPECT_TRUE(allDefault());
    EXPECT_EQ(text("txtW", 0), "-1.00000");

    call(w, "txtTrain2_DblClick", 1);  // row 1: 1, 0, 1 gives -1, +1, ...
    EXPECT_EQ(text("txtIn", 0), "1");
    EXPECT_EQ(text("txtIn", 1), "0");
    EXPECT_EQ(text("txtOut", 0), "0.11920");
    EXPECT_EQ(text("txtOut", 1), "0.88080");
    EXPECT_EQ(text("txtOut", 5), "0.99184");  // output sum 2.404 looks up 2.4
    call(w, "txtTrain1_DblClick", 2);  // row 2: 1, 1, 1 gives sums of 0
    EXPECT_EQ(text("txtIn", 1), "1");
    EXPECT_EQ(text("txtOut", 3), "0.50000");

    // Editing a third-column box runs its row at once; a teacher box does nothing.
    type(w, "txtTrain3(3)", "0.5");
    EXPECT_EQ(text("txtIn", 0), "1");
    EXPECT_EQ(text("txtIn", 2), "0.5");
    const QString out = text("txtOut", 0);
    type(w, "txtTrain4(0)", "7");
    EXPECT_EQ(text("txtIn", 2), "0.5");

    // An input the strict conversion cannot read is named, and nothing is computed.
    type(w, "txtTrain1(4)", "x");
    call(w, "txtTrain1_DblClick", 4);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「入力 1」"))) << messages[0].toStdString();
    EXPECT_EQ(text("txtOut", 0), out);
    type(w, "txtTrain3(5)", "");
    EXPECT_EQ(messages.size(), 1);  // typing is not a press: the run waits for a number
    call(w, "Command6_Click");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("「入力 3」")));
    EXPECT_EQ(text("txtOut", 0), out);
    call(w, "txtTrain1_DblClick", 6);  // no such row
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(FeedFowardTest, TrainingEditsReachLearningAtInitialisation) {
    press(9);
    type(w, "txtTrain1(0)", "1");
    call(w, "Command1_Click");
    // Initialisation shows the fresh weights but keeps colours, arrows and the other boxes.
    EXPECT_EQ(text("txtW", 20), "-1.00000");
    EXPECT_EQ(arrowsBack(), 6);
    EXPECT_EQ(text("txtBack", 5), "0.003098");
    press(1);
    EXPECT_EQ(text("txtIn", 0), "1");

    type(w, "txtTrain1(0)", "0");  // edited after initialisation: learning still sees 1
    press(13 + 14 * 5 + 1);
    EXPECT_EQ(back("txtTrain1", 0), kv::kRed);
    EXPECT_EQ(text("txtIn", 0), "1");

    // A training value beyond a double is named and the network is left as it was.
    press(6);
    const QString before = text("txtW", 20);
    type(w, "txtTrain4(1)", "1e999");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("訓練データ（2行目・出力）"))) << messages[0].toStdString();
    EXPECT_EQ(text("txtW", 20), before);
    press(1);
    EXPECT_EQ(back("txtError"), kv::kRed);  // the step-by-step learning went on

    // So is one large enough to drive the weights past a double over a batch.
    type(w, "txtTrain4(1)", "1e300");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QStringLiteral("「訓練データ（2行目・出力）」には-1000000から1000000までの数を入力してください。"));
    EXPECT_EQ(text("txtW", 20), before);
    type(w, "txtTrain4(1)", "-1000000");  // the largest accepted: every box stays a number
    call(w, "Command1_Click");
    call(w, "Command5_Click");
    for (int i = 0; i < 26; ++i) EXPECT_FALSE(std::isnan(kv::Val(text("txtW", i).toStdString()))) << i;
    EXPECT_FALSE(text("txtMaxError").contains("inf", Qt::CaseInsensitive));
}

TEST_F(FeedFowardTest, TypingInTheThirdColumnRunsSilentlyUntilItIsANumber) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    call(w, "txtTrain1_DblClick", 0);  // outputs to keep while the text is no number
    const QString first = text("txtOut", 5);
    QLineEdit* cell = box(w, "txtTrain3(3)");  // row 3 reads 1, 1, 0
    cell->setFocus();
    cell->selectAll();
    // Keys go where the focus is, as the learner's do.
    auto keys = [&](const QString& typed) {
        for (QChar c : typed) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    };
    auto outputsOf = [](double x2) {
        kv::learning::BackpropNetwork net;
        net.Run({1, 1, x2});
        QStringList out;
        for (int h = 0; h < 5; ++h) out << QString::fromStdString(kv::Format(net.H(h), "#0.00000"));
        out << QString::fromStdString(kv::Format(net.O(), "#0.00000"));
        return out;
    };
    auto outputs = [&] {
        QStringList out;
        for (int u = 0; u < 6; ++u) out << text("txtOut", u);
        return out;
    };

    keys("-");
    EXPECT_EQ(text("txtIn", 2), "-");
    EXPECT_EQ(text("txtOut", 5), first);
    keys("1");
    EXPECT_EQ(cell->text(), "-1");
    EXPECT_EQ(text("txtIn", 0), "1");
    EXPECT_EQ(text("txtIn", 2), "-1");
    EXPECT_EQ(outputs(), outputsOf(-1));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(text("txtIn", 2), "");
    EXPECT_EQ(outputs(), outputsOf(-1));  // left as they were
    keys("1");
    EXPECT_EQ(outputs(), outputsOf(1));
    keys("e");
    EXPECT_EQ(text("txtIn", 2), "1e");
    EXPECT_EQ(outputs(), outputsOf(1));
    keys("-1");
    EXPECT_EQ(cell->text(), "1e-1");
    EXPECT_EQ(outputs(), outputsOf(0.1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(text("txtIn", 2), "1e-");

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(QApplication::focusWidget(), cell);
    EXPECT_EQ(outputs(), outputsOf(0.1));

    // The button still says what is wrong.
    call(w, "Command6_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「入力 3」"))) << messages[0].toStdString();
}

TEST_F(FeedFowardTest, EveryWeightArrowPointsIntoItsUnit) {
    // An arrow's line of sight runs right from its middle; it must meet the unit's shape
    // straight ahead, with nothing but the gap between them.
    auto check = [&](int j, int shape) {
        const QRect a = arrow(j)->geometry();
        const QRect unit = child<QWidget>(w, ArrayName("Shape1", shape))->geometry();
        const int sight = a.center().y();
        EXPECT_GE(sight, unit.top()) << "lblArrow(" << j << ") passes above Shape1(" << shape << ")";
        EXPECT_LE(sight, unit.bottom()) << "lblArrow(" << j << ") passes below Shape1(" << shape << ")";
        EXPECT_GT(unit.left(), a.right()) << j;
        EXPECT_LE(unit.left() - a.right(), 8) << j;
    };
    for (int h = 0; h < 5; ++h)
        for (int k = 0; k < 4; ++k) check(4 * h + k, 3 + h);
    for (int j = 20; j < 26; ++j) check(j, 8);
}

TEST_F(FeedFowardTest, NormalRunInTheMiddleOfAPatternLetsItGoOn) {
    press(14 + 10);  // pattern 1: output weights and input 0's weights corrected
    ASSERT_EQ(arrowsBack(), 11);
    call(w, "Command6_Click");
    press(1);  // input 1's weights, the pattern goes on
    EXPECT_EQ(back("txtTrain1", 0), kv::kWhite);
    for (int h = 0; h < 5; ++h) EXPECT_EQ(back("txtW", 4 * h + 1), kv::kLightBlue) << h;
    EXPECT_EQ(arrowsBack(), 16);
    press(3);  // inputs 2 and 3, then the end of the pattern
    EXPECT_EQ(arrowsBack(), 0);
    press(1);
    EXPECT_EQ(back("txtTrain1", 2), kv::kRed);  // pattern 2 follows
    EXPECT_EQ(back("txtTrain1", 1), kv::kWhite);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FeedFowardTest, BatchWaitsForAnotherWindowsBatch) {
    // Another window's batch lets events through; a press here in the meantime would run
    // inside it, so it is refused with a message and nothing is learnt.
    QWidget other;
    other.show();
    kv::BatchRunner runner(&other, kv::BatchRunner::Events::kProcess);
    int iterations = 0;
    runner.run([&] {
        if (++iterations == 2) call(w, "Command5_Click");
        return iterations < 3;
    });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("ほかのウィンドウの一括処理が実行中です。終わってからもう一度押してください。"));
    EXPECT_EQ(text("txtW", 20), "-1.00000");
    EXPECT_EQ(text("txtMaxError"), "");
    EXPECT_EQ(text("Label5"), "");

    call(w, "Command5_Click");  // once it is over, the press learns
    EXPECT_EQ(messages.back(), "131");
}
