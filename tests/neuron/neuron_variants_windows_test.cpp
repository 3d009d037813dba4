#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>
#include <vector>

#include "core/kernels.h"
#include "kit/registry.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmRandom2Model.h"
#include "neuron/frmTimeModel.h"
#include "neuron/neuron_model.h"
#include "plot/PlotSurface.h"
#include "plot/random.h"
#include "plot/timer.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"

namespace {

using kv::Sigmoid;

class NeuronVariants : public UiTest {
protected:
    kv::PlotSurface* plot(QWidget* w) { return child<kv::PlotSurface>(w, "Picture1"); }
    QImage image(QWidget* w) { return plot(w)->image(); }
    QPointF at(QWidget* w, double x, double y) { return plot(w)->toPixel(float(x), float(y)); }
    kv::Rgb pixelAt(QWidget* w, double x, double y) { return pixel(image(w), int(at(w, x, y).x()), int(at(w, x, y).y())); }
    int interval(QWidget* w) { return kv::TimerInterval(child<QTimer>(w, "Timer1")); }

    // Records, with each message, the timer interval at that moment.
    void watchTimer(QWidget* w) {
        kv::SetMsgBoxHook([this, w](const QString& t, kv::MsgButtons) {
            messages << t;
            intervalAtMessage.push_back(interval(w));
            return kv::MsgAnswer::Ok;
        });
    }
    std::vector<int> intervalAtMessage;

    // Ticks until a message comes: how many, or -1 after `limit`.
    int ticksUntilMessage(QWidget* w, int limit) {
        for (int n = 1; n <= limit; ++n) {
            call(w, "Timer1_Timer");
            if (!messages.isEmpty()) return n;
        }
        return -1;
    }

    // Every pixel that differs from the bare plot lies within the band of a width-3 marker at x.
    void expectOnlyMarkerAt(QWidget* w, const QImage& bare, double x) {
        const QImage now = image(w);
        int lo = now.width(), hi = -1;
        for (int py = 0; py < now.height(); ++py)
            for (int px = 0; px < now.width(); ++px)
                if (now.pixel(px, py) != bare.pixel(px, py)) lo = std::min(lo, px), hi = std::max(hi, px);
        const double centre = at(w, x, 0).x();
        EXPECT_TRUE(lo >= centre - 3 && hi <= centre + 3 && hi >= 0) << "marker at " << x << ": " << lo << ".." << hi;
    }
};

TEST_F(NeuronVariants, AnalogWindowComputesOrRefuses) {
    auto* w = open<kv::frmDecisionAnalogModel>();
    EXPECT_EQ(text(w, "Label5(3)") + text(w, "Label5(4)") + text(w, "Label5(5)") + text(w, "Label5(6)"),
              QStringLiteral("sigmoid(Z) =11 + e-αZ"));
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtS"), "0.7");
    EXPECT_EQ(text(w, "txtY"), "0.731058578630005");
    type(w, "txtAlfa", "abc");  // Val 0: a flat sigmoid
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtY"), "0.5");
    EXPECT_TRUE(messages.isEmpty());

    // Refused without a change: a gain beyond a double, then a sum beyond one.
    const QImage before = image(w);
    type(w, "txtAlfa", "1e999");
    call(w, "Command1_Click");
    type(w, "txtAlfa", "5");
    type(w, "txtW(0)", "1e308");
    type(w, "txtW(2)", "1e308");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("「α」")));
    EXPECT_TRUE(messages[1].contains(QStringLiteral("大きすぎ")));
    EXPECT_EQ(text(w, "txtS") + text(w, "txtY"), "0.70.5");
    EXPECT_EQ(image(w), before);
}

TEST_F(NeuronVariants, AnalogPlotIsTheSigmoidFromMinusTwoToTwo) {
    auto* w = open<kv::frmDecisionAnalogModel>();
    type(w, "txtAlfa", "1");  // a gentle slope, clear of the axes and the asymptote
    type(w, "txtTheta", "0");
    const QImage img = image(w);
    for (int px = int(std::ceil(at(w, -2, 0).x())); px <= int(at(w, 2, 0).x()); ++px) {
        const double x = -2.2 + (px + 0.5) * 4.4 / img.width();
        ASSERT_TRUE(colourNear(img, at(w, x, Sigmoid(x, 1)), kv::kBlack, 1)) << "gap at S = " << x;
    }
    const QPointF mid = at(w, 1.5, Sigmoid(1.5, 1));
    for (int dy : {-1, 1}) EXPECT_EQ(pixel(img, int(mid.x()), int(mid.y()) + dy), kv::kBlack);  // width 3
    EXPECT_EQ(pixelAt(w, 1, 0.5), kv::kWhite);
    for (double x : {-2.08, 2.08}) EXPECT_FALSE(colourNear(img, at(w, x, Sigmoid(x, 1)), kv::kBlack, 1)) << x;
    EXPECT_TRUE(colourNear(img, at(w, 1.8, 1), kv::kBlack, 1));  // the asymptote runs past theta

    type(w, "txtAlfa", "5");  // redraws nothing until the next press
    EXPECT_EQ(image(w), img);
    type(w, "txtTheta", "1");  // each keystroke does
    EXPECT_TRUE(colourNear(image(w), at(w, 1, 0.5), kv::kBlack, 1));
}

TEST_F(NeuronVariants, InformationWindowOpensOnce) {
    auto* w = open<kv::frmDecisionAnalogModel>();
    call(w, "Command2_Click");
    QWidget* info = kv::WindowInstance("frmDecisionAnalogModelElse");
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(info->findChildren<QLineEdit*>().isEmpty());
    QStringList captions;
    for (const QLabel* l : info->findChildren<QLabel*>()) captions << l->text();
    for (const QString& t : {QStringLiteral("1 (固定）"), QStringLiteral("= －θ"), QStringLiteral("Y = sigmoid(S)"),
                             QStringLiteral("重みの学習と閾値の学習を\u3000\u3000ひとつの処理として実現できる")})
        EXPECT_TRUE(captions.contains(t)) << t.toStdString();
    call(w, "Command2_Click");
    EXPECT_EQ(kv::WindowInstance("frmDecisionAnalogModelElse"), info);
}

TEST_F(NeuronVariants, StochasticWindowFollowsOneDrawPerPress) {
    auto* w = open<kv::frmRandom2Model>();
    EXPECT_EQ(w->findChild<QPushButton*>("Command2"), nullptr);
    // Unlike its siblings, the instruction names no α.
    EXPECT_EQ(text(w, "Label6"), QStringLiteral("X, ω, θの値を変えて，「計算実行」ボタンをクリックしてみよう。"));
    auto* analog = open<kv::frmDecisionAnalogModel>();
    EXPECT_EQ(image(w), image(analog));  // the firing probability, as the analog curve

    const int presses = 40;
    kv::SeedRandomForTest(7);
    std::vector<float> draws;
    for (int i = 0; i <= presses; ++i) draws.push_back(kv::Rnd());
    kv::SeedRandomForTest(7);
    QString outputs;
    for (int i = 0; i < presses; ++i) {
        call(w, "Command1_Click");
        ASSERT_EQ(text(w, "txtY"), draws[i] < kv::neuron::AnalogOutput(0.7, 0.5, 5) ? "1" : "0") << i;
        outputs += text(w, "txtY");
    }
    EXPECT_EQ(kv::Rnd(), draws[presses]);  // the redraws drew nothing
    EXPECT_TRUE(outputs.contains('0') && outputs.contains('1'));
}

TEST_F(NeuronVariants, TimeModelRunsToEquilibriumWithXorMarker) {
    auto* w = open<kv::frmTimeModel>();
    EXPECT_EQ(text(w, "Label6"), QStringLiteral("X, ω, α, θの値を変えて，「計算実行」ボタンをクリックしてみよう。"));
    watchTimer(w);
    const QImage bare = image(w);
    call(w, "Command1_Click");
    EXPECT_EQ(interval(w), 50);
    EXPECT_EQ(text(w, "txtS"), "");
    expectOnlyMarkerAt(w, bare, 0);
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "txtS"), "0.0140");
    EXPECT_EQ(text(w, "txtY"), "0.080913");
    EXPECT_EQ(interval(w), 50);

    EXPECT_EQ(ticksUntilMessage(w, 1000), 553);
    EXPECT_EQ(messages, QStringList{QStringLiteral("平衡状態に入りました")});
    EXPECT_EQ(intervalAtMessage, std::vector<int>{0});
    EXPECT_EQ(text(w, "txtS"), "0.7000");
    EXPECT_EQ(text(w, "txtY"), "0.731049");
    // Each old marker was erased by drawing it again; the last one is red (white xor cyan)
    // on the blank surface and cyan on the black axis.
    expectOnlyMarkerAt(w, bare, 0.7);
    EXPECT_EQ(pixelAt(w, 0.7, 0.5), kv::kRed);
    EXPECT_TRUE(colourNear(image(w), at(w, 0.7, 0), kv::kCyan, 1));

    messages.clear();
    for (const char* box : {"txtW(0)", "txtW(1)", "txtW(2)"}) type(w, box, "-0.1");
    call(w, "Command1_Click");
    EXPECT_GT(ticksUntilMessage(w, 1000), 0);
    EXPECT_EQ(text(w, "txtS"), "-0.2000");
    expectOnlyMarkerAt(w, bare, -0.2);
}

TEST_F(NeuronVariants, TimeModelThetaEditMidRunKeepsTheMarker) {
    auto* w = open<kv::frmTimeModel>();
    type(w, "txtIpsi", "0.5");
    call(w, "Command1_Click");
    call(w, "Timer1_Timer");  // S = 0.35
    type(w, "txtTheta", "0.3");
    // The same run started with the new theta: the redraw put the marker back where it was.
    auto* reference = open<kv::frmTimeModel>();
    type(reference, "txtTheta", "0.3");
    type(reference, "txtIpsi", "0.5");
    call(reference, "Command1_Click");
    call(reference, "Timer1_Timer");
    EXPECT_EQ(image(w), image(reference));
    call(w, "Timer1_Timer");  // the erase at 0.35 takes the marker away cleanly
    EXPECT_EQ(pixelAt(w, 0.35, 0.2), kv::kWhite);
    EXPECT_EQ(pixelAt(w, 0.525, 0.2), kv::kRed);
    call(w, "Timer1_Timer");
    EXPECT_EQ(pixelAt(w, 0.35, 0.2), kv::kWhite);
    EXPECT_EQ(pixelAt(w, 0.525, 0.2), kv::kWhite);
    EXPECT_EQ(pixelAt(w, 0.6125, 0.2), kv::kRed);
}

TEST_F(NeuronVariants, TimeModelRefusesAStartItCannotRun) {
    auto* w = open<kv::frmTimeModel>();
    const QImage bare = image(w);
    for (const char* e : {"0", "-0.5", "2", "abc", "1e999"}) {
        type(w, "txtIpsi", e);
        call(w, "Command1_Click");
        ASSERT_EQ(messages.size(), 1) << e;
        EXPECT_TRUE(messages.takeFirst().contains(QStringLiteral("「ε」"))) << e;
        EXPECT_EQ(interval(w), 0);
        EXPECT_EQ(image(w), bare);
    }
    // A refused restart leaves the run in progress alone.
    type(w, "txtIpsi", "0.02");
    call(w, "Command1_Click");
    call(w, "Timer1_Timer");
    type(w, "txtIpsi", "2.5");
    call(w, "Command1_Click");
    EXPECT_EQ(interval(w), 50);
    call(w, "Timer1_Timer");
    EXPECT_EQ(text(w, "txtS"), "0.0277");
}

TEST_F(NeuronVariants, TimeModelStopsOnceOnAValueItCannotUse) {
    const struct { std::vector<std::pair<const char*, const char*>> boxes; QString named; } bad[] = {
        {{{"txtX(0)", "abc"}}, QStringLiteral("「X1」")},
        {{{"txtW(0)", "1e308"}, {"txtW(2)", "1e308"}}, QStringLiteral("大きすぎ")},  // an infinite sum
        {{{"txtW(0)", "1e308"}, {"txtIpsi", "1.9"}}, QStringLiteral("大きすぎ")},  // S overshoots to 1.9e308
    };
    for (const auto& b : bad) {
        auto* w = open<kv::frmTimeModel>();
        watchTimer(w);
        messages.clear();
        intervalAtMessage.clear();
        for (const auto& [box, value] : b.boxes) type(w, box, value);
        call(w, "Command1_Click");
        call(w, "Timer1_Timer");
        ASSERT_EQ(messages.size(), 1) << b.boxes[0].first;
        EXPECT_TRUE(messages[0].contains(b.named)) << messages[0].toStdString();
        EXPECT_EQ(intervalAtMessage, std::vector<int>{0}) << b.boxes[0].first;  // stopped before the message
        EXPECT_EQ(text(w, "txtS") + text(w, "txtY"), "");
    }
}

TEST_F(NeuronVariants, TimeModelRunRestsUnderTheBoxOfARefusedRestart) {
    auto* w = open<kv::frmTimeModel>();
    type(w, "txtIpsi", "0.1");  // settles about 130 ticks after the start
    type(w, "txtTimer", "2");
    QString underBox;
    bool heldStill = false;
    RealBoxes boxes([&](QMessageBox*) {
        underBox = text(w, "txtS");
        boxes.WaitCounting(500);  // long enough for the whole run, were it going on
        heldStill = text(w, "txtS") == underBox && interval(w) == 2;
    });
    call(w, "Command1_Click");
    ASSERT_TRUE(boxes.WaitUntil([&] { return !text(w, "txtS").isEmpty(); }, 5000));
    type(w, "txtIpsi", "2.5");
    call(w, "Command1_Click");
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("「ε」")));
    EXPECT_TRUE(heldStill) << underBox.toStdString() << " became " << text(w, "txtS").toStdString();

    // The run goes on to its end once the box is answered.
    EXPECT_TRUE(boxes.WaitUntil([&] { return boxes.texts.size() == 2; }, 20000));
    EXPECT_EQ(boxes.texts.value(1), QStringLiteral("平衡状態に入りました"));
    EXPECT_EQ(text(w, "txtS"), "0.7000");
    EXPECT_EQ(boxes.mostOpen, 1);
    EXPECT_EQ(interval(w), 0);
}

TEST_F(NeuronVariants, TimeModelRunWaitsWhileTheLearnerRetypesAnInput) {
    auto* w = open<kv::frmTimeModel>();
    type(w, "txtIpsi", "0.05");
    type(w, "txtTimer", "2");
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QLineEdit* x1 = box(w, "txtX(0)");
    x1->setFocus();
    call(w, "Command1_Click");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(w, "txtS").isEmpty(); }, 5000));

    // Each text on the way to "-1" is left in the box for several ticks.
    QTest::keyClick(x1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(x1, Qt::Key_Backspace);
    ASSERT_EQ(x1->text(), "");
    QTest::qWait(20);
    const QString held = text(w, "txtS");
    QTest::qWait(40);
    EXPECT_EQ(text(w, "txtS"), held);  // the empty box is waited for, not read as 0
    QTest::keyClicks(x1, "-");
    QTest::qWait(60);
    EXPECT_EQ(text(w, "txtS"), held);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_EQ(interval(w), 2);
    EXPECT_EQ(w->focusWidget(), x1);
    QTest::keyClicks(x1, "1");
    EXPECT_EQ(x1->text(), "-1");

    // The run heads for the new sum, -0.5 + 0.2, and settles there.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 20000));
    EXPECT_EQ(messages, QStringList{QStringLiteral("平衡状態に入りました")});
    EXPECT_EQ(text(w, "txtS"), "-0.3000");
    EXPECT_EQ(w->focusWidget(), x1);
}

TEST_F(NeuronVariants, TimeModelEscapeStopsTheRun) {
    auto* w = open<kv::frmTimeModel>();
    type(w, "txtTimer", "2");
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    box(w, "txtW(1)")->setFocus();
    call(w, "Command1_Click");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(w, "txtS").isEmpty(); }, 5000));
    QTest::keyClick(box(w, "txtW(1)"), Qt::Key_Escape);
    EXPECT_EQ(interval(w), 0);
    const QString stopped = text(w, "txtS");
    QTest::qWait(30);
    EXPECT_EQ(text(w, "txtS"), stopped);
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
