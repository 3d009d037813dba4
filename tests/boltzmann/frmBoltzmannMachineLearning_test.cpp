#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <ranges>

#include "boltzmann/frmBoltzmannMachineLearning.h"
#include "kit/controls.h"
#include "kit/state_graph.h"
#include "plot/numtext.h"
#include "plot/timer.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"

using kv::ArrayName;
using kv::frmBoltzmannMachineLearning;
using kv::Rgb;
using Model = kv::boltzmann::BoltzmannLearning;

namespace {

const QString kQuestion = QStringLiteral("学習を取りやめますか?");

class BoltzmannLearningTest : public UiTest {
protected:
    Rgb colour(QWidget* w, const QString& name) { return kv::BackColor(box(w, name)); }
    double value(QWidget* w, const QString& name) { return kv::Val(text(w, name).toStdString()); }
    // Answers each message box through `hook` and records it, instead of the fixture's plain answer.
    void answerWith(std::function<kv::MsgAnswer(const QString&)> hook) {
        kv::SetMsgBoxHook([this, hook](const QString& t, kv::MsgButtons) {
            messages << t;
            return hook(t);
        });
    }
    // A quick machine: few sweeps per phase and few iterations.
    frmBoltzmannMachineLearning* quick(const char* iterations) {
        auto* w = open<frmBoltzmannMachineLearning>();
        type(w, "txtNumUpdate", "20");
        type(w, "txtNumLearn", iterations);
        return w;
    }
    int reports() const {
        int n = 0;
        for (const QString& m : messages) n += plain(m).contains(QStringLiteral("回目　WP 出力　"));
        return n;
    }
    // A message as the learner reads it (the debug report comes as a fixed-pitch block).
    static QString plain(const QString& message) {
        QTextDocument d;
        d.setHtml(message);
        return d.toPlainText();
    }
    // The fallback rule of both tables, worked from the three values.
    static void expectPair(Rgb zero, Rgb one, double qin, double a, double b, const std::string& where) {
        SCOPED_TRACE(where);
        if (qin == 0) {
            EXPECT_EQ(zero, kv::kSkyBlue);
            EXPECT_EQ(one, kv::kSkyBlue);
        } else if (b > a) {
            EXPECT_EQ(zero, kv::kGreen);
            EXPECT_EQ(one, kv::kRed);
        } else if (a == b) {
            EXPECT_EQ(zero, kv::kYellow);
            EXPECT_EQ(one, kv::kYellow);
        } else {
            EXPECT_EQ(zero, kv::kRed);
            EXPECT_EQ(one, kv::kGreen);
        }
    }
};

TEST_F(BoltzmannLearningTest, OpensWithTheTrainingTableColouredAndTheMatrixPrinted) {
    auto* w = open<frmBoltzmannMachineLearning>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ボルツマンマシンの学習"));
    const QStringList patterns = {"000", "001", "010", "011", "100", "101", "110", "111"};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const bool occurs = k == 0 || k == 1 || k == 4 || k == 6 || k == 7;
        EXPECT_EQ(colour(w, ArrayName("txtQin", k)), occurs ? kv::kRed : kv::kSkyBlue);
        const Rgb q0 = colour(w, ArrayName("txtQ0", k)), q1 = colour(w, ArrayName("txtQ1", k));
        if (!occurs) {
            EXPECT_EQ(q0, kv::kSkyBlue);
            EXPECT_EQ(q1, kv::kSkyBlue);
        } else {
            const bool zero = k == 0 || k == 6;  // the target output is 0
            EXPECT_EQ(q0, zero ? kv::kRed : kv::kGreen);
            EXPECT_EQ(q1, zero ? kv::kGreen : kv::kRed);
        }
        // Empty result boxes read as 0 and 0.
        EXPECT_EQ(text(w, ArrayName("txtExe0", k)), "");
        EXPECT_EQ(colour(w, ArrayName("txtExe0", k)), occurs ? kv::kYellow : kv::kSkyBlue);
        EXPECT_EQ(colour(w, ArrayName("txtExe1", k)), occurs ? kv::kYellow : kv::kSkyBlue);
        // Both tables' heads stand over the same columns, "000" at the left.
        EXPECT_EQ(text(w, ArrayName("Label4", k)), patterns[k]);
        EXPECT_EQ(text(w, ArrayName("Label4", 15 - k)), patterns[k]);
        EXPECT_EQ(child<QLabel>(w, ArrayName("Label4", 15 - k))->x(), child<QLabel>(w, ArrayName("Label4", k))->x());
    }
    EXPECT_EQ(text(w, "Label4(8)"), "111");
    EXPECT_EQ(text(w, "txtQin(0)"), "0.20");
    EXPECT_EQ(text(w, "txtQ0(6)"), "1.00");

    const QStringList lines = text(w, "lblConnectTable").split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], "    0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(lines[1], "--+--------------------");
    EXPECT_EQ(lines[2], " 0| 0 0 0 0 1 1 1 1 1 1");
    EXPECT_EQ(lines[3], " 1| 0 0 0 0 1 1 1 1 1 0");
    EXPECT_EQ(lines[6], " 4| 1 1 1 1 0 0 0 0 0 1");
    EXPECT_EQ(lines[11], " 9| 1 0 0 0 1 1 1 1 1 0");
    for (int n = 0; n < 26; ++n) EXPECT_EQ(text(w, ArrayName("txtW", n)), "") << n;
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannLearningTest, EachWeightBoxSitsOnItsOwnArrowAloneAndCoversNoOtherBoxOrName) {
    auto* w = open<frmBoltzmannMachineLearning>();
    auto* view = child<kv::StateGraphView>(w, "Image1");
    const int arcs = int(view->graph().arcs.size());
    std::vector<QPolygonF> arrows(arcs);  // points half a pixel apart from centre to centre: the arrows are straight
    for (int a = 0; a < arcs; ++a)
        for (int s = 0; s <= 2000; ++s)
            arrows[a] << view->mapTo(w, kv::ArcPoint(view->graph(), view->area(), a, s / 2000.0));
    auto rect = [&](const QString& n) {
        return QRectF(child<QWidget>(w, n)->mapTo(w, QPointF()), child<QWidget>(w, n)->size());
    };
    QList<QRectF> taken;  // the units' names and states, and the boxes placed before
    for (int i = 0; i < 10; ++i) taken << rect(ArrayName("Label1", i)) << rect(ArrayName("txtX", i));
    // These two have no spot clear of every other arrow: one crossing arrow clips a corner.
    const QList<int> clipped = {Model::WeightBoxIndex(0, 7), Model::WeightBoxIndex(5, 9)};
    for (int n = 0; n < arcs; ++n) {
        const QRectF b = rect(ArrayName("txtW", n));
        auto distance = [&](int a) {
            return std::ranges::min(arrows[a] | std::views::transform([&](QPointF p) { return QLineF(p, b.center()).length(); }));
        };
        auto through = [&](int a) { return std::ranges::any_of(arrows[a], [&](QPointF p) { return b.contains(p); }); };
        EXPECT_TRUE(through(n)) << n;
        for (int a = 0; a < arcs; ++a) {
            EXPECT_TRUE(a == n || distance(n) < distance(a)) << n << " is as near to arrow " << a;
            EXPECT_TRUE(a == n || clipped.contains(n) || !through(a)) << n << " is crossed by arrow " << a;
        }
        for (const QRectF& r : taken) EXPECT_FALSE(b.intersects(r)) << n;
        taken << b;
    }
}

TEST_F(BoltzmannLearningTest, TypingRecoloursItsColumnWithoutAWord) {
    auto* w = open<frmBoltzmannMachineLearning>();
    struct Case {
        const char* box;
        const char* typed;
        int column;
    };
    const Case cases[] = {
        {"txtQ1(0)", "1", 0},     // equal: both yellow
        {"txtQ1(0)", "", 0},      // on the way to a number: 1 and 0
        {"txtQ0(1)", "0.7", 1},   // output 0 now more probable
        {"txtQin(2)", "0.3", 2},  // a pattern that now occurs
        {"txtQin(0)", "-", 0},    // reads as 0: the column no longer occurs
        {"txtQin(0)", "0.", 0},
        {"txtQ0(4)", "1e999", 4}, // beyond a double: colours stay as they were
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + "=" + c.typed);
        const Rgb before0 = colour(w, ArrayName("txtQ0", c.column)), before1 = colour(w, ArrayName("txtQ1", c.column));
        type(w, c.box, c.typed);
        const int k = c.column;
        const auto qin = kv::ValFinite(text(w, ArrayName("txtQin", k)).toStdString());
        const auto a = kv::ValFinite(text(w, ArrayName("txtQ0", k)).toStdString());
        const auto b = kv::ValFinite(text(w, ArrayName("txtQ1", k)).toStdString());
        if (!qin || !a || !b) {
            EXPECT_EQ(colour(w, ArrayName("txtQ0", k)), before0);
            EXPECT_EQ(colour(w, ArrayName("txtQ1", k)), before1);
            continue;
        }
        EXPECT_EQ(colour(w, ArrayName("txtQin", k)), *qin > 0 ? kv::kRed : kv::kSkyBlue);
        expectPair(colour(w, ArrayName("txtQ0", k)), colour(w, ArrayName("txtQ1", k)), *qin, *a, *b, "training");
        expectPair(colour(w, ArrayName("txtExe0", k)), colour(w, ArrayName("txtExe1", k)), *qin, 0, 0, "result");
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannLearningTest, AStepShowsTheNetwork) {
    auto* w = quick("10");
    call(w, "Command1_Click");
    call(w, "Command2_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "1");
    const QString pattern = text(w, "txtInputPattern");
    const QStringList allowed = {"0(000)", "1(001)", "4(100)", "6(110)", "7(111)"};
    EXPECT_TRUE(allowed.contains(pattern)) << pattern.toStdString();
    const int k = pattern.left(1).toInt();
    // The inputs show the pattern drawn.
    EXPECT_EQ(text(w, "txtX(1)"), QString::number(k & 1));
    EXPECT_EQ(text(w, "txtX(3)"), QString::number((k >> 2) & 1));
    for (int i = 0; i < 10; ++i) {
        const QString x = text(w, ArrayName("txtX", i));
        EXPECT_EQ(colour(w, ArrayName("txtX", i)), x == "1" ? kv::kRed : kv::kGreen) << i;
    }
    EXPECT_EQ(text(w, "txtX(0)"), "1");
    for (int n = 0; n < 26; ++n) {
        const QString t = text(w, ArrayName("txtW", n));
        EXPECT_EQ(t.section('.', 1).size(), 5) << n << " " << t.toStdString();
        EXPECT_LE(std::abs(kv::Val(t.toStdString())), 0.2 + 1e-9);  // one iteration moves a weight by at most ε
        EXPECT_EQ(colour(w, ArrayName("txtW", n)), t.startsWith('-') ? kv::kRed : kv::kYellow) << n;
    }
    EXPECT_EQ(text(w, "txtError").section('.', 1).size(), 4);
    call(w, "Command2_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "2");
    // Initialise clears the counter and the weights, but the boxes keep what they show.
    const QString shown = text(w, "txtW(0)");
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtW(0)"), shown);
    call(w, "Command2_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "1");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannLearningTest, BatchEndsWithTheExecutionCheck) {
    auto* w = quick("30");
    call(w, "Command3_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "30");
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const double a = value(w, ArrayName("txtExe0", k)), b = value(w, ArrayName("txtExe1", k));
        EXPECT_NEAR(a + b, 1.0, 1e-9);
        EXPECT_EQ(text(w, ArrayName("txtExe0", k)).section('.', 1).size(), 4);
        expectPair(colour(w, ArrayName("txtExe0", k)), colour(w, ArrayName("txtExe1", k)),
                   value(w, ArrayName("txtQin", k)), a, b, "result");
    }
    EXPECT_FALSE(text(w, "txtExeError").isEmpty());
    EXPECT_TRUE(messages.isEmpty());

    // No iteration at all still ends with the check.
    type(w, "txtNumLearn", "0");
    for (int k = 0; k < 8; ++k) box(w, ArrayName("txtExe0", k))->clear();
    call(w, "Command3_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "0");
    EXPECT_FALSE(text(w, "txtExe0(0)").isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BoltzmannLearningTest, RefusedBoxesChangeNothing) {
    auto* w = quick("5");
    call(w, "Command3_Click");
    const QString shown = text(w, "txtNumOfLearn") + text(w, "txtW(3)") + text(w, "txtExe1(4)");
    struct Case {
        const char* box;
        const char* typed;
        const char* slot;
        QString message;
    };
    const Case cases[] = {
        {"txtNumUpdate", "0", "Command1_Click", QStringLiteral("「素子値状態更新回数」には1から32767までの整数を入力してください。")},
        {"txtNumUpdate", "32768", "Command3_Click", QStringLiteral("「素子値状態更新回数」には1から32767までの整数を入力してください。")},
        {"txtNumLearn", "32768", "Command3_Click", QStringLiteral("「学習繰返し回数」には0から32767までの整数を入力してください。")},
        {"txtQin(0)", "1.5", "Command1_Click", QStringLiteral("「入力出現確率（000）」には0から1までの数を入力してください。")},
        {"txtQ1(7)", "-0.5", "Command3_Click", QStringLiteral("「出力値 1 確率（111）」には0から1までの数を入力してください。")},
        {"txtEpsilon", "1e300", "Command1_Click", QStringLiteral("「重み修正係数(ε)」には0から100までの数を入力してください。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + "=" + c.typed);
        const QString good = text(w, c.box);
        messages.clear();
        type(w, c.box, c.typed);
        call(w, c.slot);
        EXPECT_EQ(messages, QStringList{c.message});
        EXPECT_EQ(text(w, "txtNumOfLearn") + text(w, "txtW(3)") + text(w, "txtExe1(4)"), shown);
        type(w, c.box, good);
    }
    // Steps carry on from the batch: its weights were not cleared by the refused presses.
    messages.clear();
    call(w, "Command2_Click");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "6");
}

TEST_F(BoltzmannLearningTest, CancelBeforeIterationNShowsNMinusOneAndStillChecks) {
    auto* w = quick("50");
    box(w, "txtExe0(0)")->clear();
    child<QCheckBox>(w, "Check1")->setChecked(true);  // a report after every iteration
    int reported = 0;
    answerWith([&](const QString& t) {
        if (t == kQuestion) return kv::MsgAnswer::Yes;
        if (++reported == 6) call(w, "Command4_Click");  // pressed during iteration 6
        return kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    EXPECT_EQ(messages.count(kQuestion), 1);
    EXPECT_EQ(reports(), 6);
    EXPECT_EQ(text(w, "txtNumOfLearn"), "6");  // cancelled before iteration 7
    EXPECT_FALSE(text(w, "txtExe0(0)").isEmpty());
    EXPECT_FALSE(text(w, "txtExeError").isEmpty());
}

TEST_F(BoltzmannLearningTest, TheCancelButtonIsAnsweredWhileTheBatchRuns) {
    auto* w = open<frmBoltzmannMachineLearning>();
    type(w, "txtNumUpdate", "2000");  // hundreds of milliseconds for all 5000 iterations, even optimised
    QString countedBeforeQuestion;
    answerWith([&](const QString& t) {
        if (t == kQuestion) countedBeforeQuestion = text(w, "txtNumOfLearn");
        return kv::MsgAnswer::Yes;
    });
    QApplication::processEvents();  // the window's first paint is not part of the batch
    // A real press of the cancel button, through the event loop, soon after the start.
    QTimer::singleShot(60, w, [w] { w->findChild<QPushButton*>("Command4")->click(); });
    call(w, "Command3_Click");
    ASSERT_EQ(messages, QStringList{kQuestion});
    const double shown = value(w, "txtNumOfLearn");
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 5000);
    // The progress boxes had counted before the question came.
    EXPECT_GT(kv::Val(countedBeforeQuestion.toStdString()), 0) << countedBeforeQuestion.toStdString();
    EXPECT_FALSE(text(w, "txtExeError").isEmpty());
}

TEST_F(BoltzmannLearningTest, AnsweringNoGoesOnAndAsksNoMore) {
    auto* w = quick("12");
    child<QCheckBox>(w, "Check1")->setChecked(true);
    int reported = 0;
    answerWith([&](const QString& t) {
        if (t == kQuestion) return kv::MsgAnswer::No;
        if (++reported == 3) call(w, "Command4_Click");
        return kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    EXPECT_EQ(messages.count(kQuestion), 1);
    EXPECT_EQ(reports(), 12);
    EXPECT_EQ(text(w, "txtNumOfLearn"), "12");
}

TEST_F(BoltzmannLearningTest, ASecondBatchPressIsIgnoredAndCancelOfTheReportUnchecksDebug) {
    auto* w = quick("8");
    auto* debug = child<QCheckBox>(w, "Check1");
    debug->setChecked(true);
    int reported = 0;
    answerWith([&](const QString&) {
        ++reported;
        if (reported == 2) call(w, "Command3_Click");  // would start over from iteration 1
        // The fourth report is answered Cancel: no more reports.
        return reported == 4 ? kv::MsgAnswer::Cancel : kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    EXPECT_EQ(reports(), 4);
    EXPECT_FALSE(debug->isChecked());
    EXPECT_EQ(text(w, "txtNumOfLearn"), "8");
    EXPECT_TRUE(plain(messages[0]).startsWith(QStringLiteral("1回目　WP 出力　"))) << messages[0].toStdString();
    EXPECT_TRUE(plain(messages[3]).startsWith(QStringLiteral("4回目　WP 出力　")));
    const QStringList lines = plain(messages[0]).split('\n');
    ASSERT_EQ(lines.size(), 1 + 10 + 2 + 10 + 2 + 10);
    EXPECT_EQ(lines[12], " WN ");
    EXPECT_EQ(lines[26], "  .00000");  // W(0, 1), never joined
}

TEST_F(BoltzmannLearningTest, TheDebugReportFitsOnALaptopScreen) {
    auto* w = quick("1");
    type(w, "txtEpsilon", "100");  // the largest ε takes weights beyond -10 within ten steps
    call(w, "Command1_Click");
    for (int s = 0; s < 10; ++s) call(w, "Command2_Click");
    child<QCheckBox>(w, "Check1")->setChecked(true);
    QSize size;
    double room = 0, widest = 1;  // the width given to the report's text, and its longest line
    RealBoxes boxes([&](QMessageBox* box) {
        size = box->frameGeometry().size();
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        QTextDocument d;
        d.setDefaultFont(label->font());
        d.setDocumentMargin(0);
        d.setHtml(label->text());
        room = label->contentsRect().width();
        widest = d.idealWidth();
    });
    call(w, "Command2_Click");
    ASSERT_EQ(boxes.texts.size(), 1);
    // 1366 x 768 with room for a task bar.
    EXPECT_LE(size.height(), 720);
    EXPECT_LE(size.width(), 1300);
    EXPECT_GT(size.height(), 0);
    EXPECT_LE(widest, room + 1);  // no line cut
}

TEST_F(BoltzmannLearningTest, ClosingTheWindowEndsTheBatchSafely) {
    // Built as the program builds it, so that closing frees it.
    QPointer<QWidget> w = kv::ShowWindow("frmBoltzmannMachineLearning");
    ASSERT_TRUE(w);
    type(w, "txtNumUpdate", "20");
    type(w, "txtNumLearn", "1000");
    child<QCheckBox>(w, "Check1")->setChecked(true);
    int reported = 0;
    answerWith([&](const QString&) {
        if (++reported == 3) w->close();
        return kv::MsgAnswer::Ok;
    });
    call(w, "Command3_Click");
    EXPECT_EQ(reported, 3);  // nothing ran after the window went
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(BoltzmannLearningTest, AutomaticRunTurnsDebugOffAndStepsOnEachTick) {
    auto* w = quick("10");
    auto* debug = child<QCheckBox>(w, "Check1");
    debug->setChecked(true);
    call(w, "Command6_Click");
    EXPECT_FALSE(debug->isChecked());
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 500);
    call(w, "Timer1_Timer");
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "txtNumOfLearn"), "2");
    call(w, "Command7_Click");
    EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
