#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <stdexcept>
#include <vector>

#include "kit/form.h"
#include "kit/stepper.h"
#include "plot/msgbox.h"
#include "plot/timer.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"

namespace {

using kv::StepBy;
using kv::StepResult;

// A window with an interval box and a stepper whose step the test writes.
struct RunWindow {
    explicit RunWindow(const char* interval = "50") {
        window = std::make_unique<QWidget>();
        box = new QLineEdit(QString::fromLatin1(interval), window.get());
        box->setObjectName("txtTimer");
        run = new kv::Stepper(window.get(), box, QStringLiteral("タイマー"), [this](StepBy by) {
            calls.push_back(by);
            return step ? step(by) : StepResult::Continue;
        });
    }
    int interval() const { return kv::TimerInterval(run->timer()); }
    bool ticking() const { return run->timer()->isActive(); }
    int steps() const { return int(calls.size()); }

    std::unique_ptr<QWidget> window;
    QLineEdit* box;
    kv::Stepper* run;
    std::function<StepResult(StepBy)> step;
    std::vector<StepBy> calls;
};

class StepperTest : public UiTest {};

TEST_F(StepperTest, StartTakesTheIntervalBoxOrRefusesIt) {
    RunWindow w;
    EXPECT_EQ(w.run->timer()->objectName(), "Timer1");
    EXPECT_EQ(w.run->timer()->parent(), w.window.get());
    EXPECT_FALSE(w.run->Running());
    EXPECT_FALSE(w.ticking());

    w.box->setText("25.5");  // halves go to even
    EXPECT_TRUE(w.run->Start());
    EXPECT_TRUE(w.run->Running());
    EXPECT_EQ(w.interval(), 26);
    EXPECT_TRUE(w.ticking());

    // Refused: the run goes on at its interval, and the learner is told which rule.
    for (const char* bad : {"70000", "-1", "1e999"}) {
        w.box->setText(bad);
        EXPECT_FALSE(w.run->Start()) << bad;
        EXPECT_EQ(w.interval(), 26) << bad;
        EXPECT_TRUE(w.ticking()) << bad;
    }
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("0から65535"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[2].contains(QStringLiteral("「タイマー」"))) << messages[2].toStdString();

    // Val of a text that is no number is 0: the ticks stop, without a message.
    messages.clear();
    for (const char* none : {"abc", ""}) {
        w.box->setText("10");
        w.run->Start();
        w.box->setText(none);
        EXPECT_TRUE(w.run->Start()) << none;
        EXPECT_FALSE(w.run->Running()) << none;
        EXPECT_FALSE(w.ticking()) << none;
    }
    EXPECT_TRUE(messages.isEmpty());

    w.box->setText("10");
    w.run->Start();
    w.run->Stop();
    EXPECT_EQ(w.interval(), 0);
    EXPECT_FALSE(w.ticking());
    EXPECT_EQ(w.steps(), 0);
}

TEST_F(StepperTest, RefusesAWindowWithoutAnIntervalBox) {
    QWidget window;
    EXPECT_THROW(kv::Stepper(&window, nullptr, QStringLiteral("タイマー"), [](StepBy) { return StepResult::Continue; }),
                 std::logic_error);
    EXPECT_EQ(window.findChild<QTimer*>("Timer1"), nullptr);
}

TEST_F(StepperTest, TicksStepOnlyDuringARunAndHandStepsAlways) {
    RunWindow w;
    w.run->Tick();
    EXPECT_EQ(w.steps(), 0);
    EXPECT_EQ(w.run->Step(), StepResult::Continue);
    w.run->Start();
    w.run->Tick();
    EXPECT_EQ(w.calls, (std::vector<StepBy>{StepBy::Hand, StepBy::Timer}));

    // Real ticks arrive through the event loop at the interval.
    w.box->setText("1");
    w.run->Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.steps() >= 6; }, 5000));
    for (std::size_t i = 1; i < w.calls.size(); ++i) EXPECT_EQ(w.calls[i], StepBy::Timer);
}

TEST_F(StepperTest, TicksRestWhileAStepRuns) {
    RunWindow w("1");
    w.run->Start();
    int nested = 0;
    w.step = [&](StepBy) {
        EXPECT_FALSE(w.ticking());
        EXPECT_TRUE(w.run->Running());
        // A step that lets events through (a message box does) meets no second step.
        if (w.steps() == 1) {
            QTest::qWait(40);
            w.run->Tick();
            nested += w.run->Step() == StepResult::Wait;
        }
        return StepResult::Continue;
    };
    w.run->Tick();
    EXPECT_EQ(w.steps(), 1);
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(w.ticking());
    EXPECT_EQ(w.interval(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.steps() >= 3; }, 5000));
}

TEST_F(StepperTest, WaitKeepsTheRunAndStopEndsIt) {
    RunWindow w("5");
    w.run->Start();
    StepResult next = StepResult::Wait;
    w.step = [&](StepBy) { return next; };
    w.run->Tick();
    w.run->Tick();
    EXPECT_TRUE(w.run->Running());
    EXPECT_TRUE(w.ticking());
    EXPECT_EQ(w.interval(), 5);

    next = StepResult::Stop;
    w.run->Tick();
    EXPECT_FALSE(w.run->Running());
    EXPECT_FALSE(w.ticking());
    w.run->Tick();
    EXPECT_EQ(w.steps(), 3);

    // A hand step that cannot go on ends the run as well; one that waits does not.
    w.run->Start();
    next = StepResult::Wait;
    w.run->Step();
    EXPECT_TRUE(w.run->Running());
    next = StepResult::Stop;
    w.run->Step();
    EXPECT_FALSE(w.run->Running());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(StepperTest, TicksRestWhileAMessageIsAnswered) {
    RunWindow w("2");
    w.run->Start();
    RunWindow idle;
    bool checked = false;
    kv::SetMsgBoxHook([&](const QString&, kv::MsgButtons) {
        EXPECT_TRUE(kv::MsgBoxOpen());
        EXPECT_FALSE(w.ticking());
        w.run->Tick();
        EXPECT_EQ(w.steps(), 0);
        // A start pressed meanwhile takes its interval but waits for the box as well.
        idle.run->Start();
        EXPECT_TRUE(idle.run->Running());
        EXPECT_FALSE(idle.ticking());
        checked = true;
        return kv::MsgAnswer::Ok;
    });
    kv::MsgBox(nullptr, "x");
    EXPECT_TRUE(checked);
    EXPECT_FALSE(kv::MsgBoxOpen());
    EXPECT_TRUE(w.ticking());
    EXPECT_TRUE(idle.ticking());
    EXPECT_EQ(w.interval(), 2);
}

TEST_F(StepperTest, ARealMessageBoxHoldsEveryRunUntilItIsClosed) {
    RunWindow w("2");
    int before = -1, stepsUnderBox = -1, ticking = -1;
    RealBoxes boxes([&](QMessageBox*) {
        boxes.WaitCounting(120);
        stepsUnderBox = w.steps() - before;
        ticking = w.ticking();
    });
    w.run->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.steps() >= 2; }, 5000));
    QWidget other;
    before = w.steps();
    kv::MsgBox(&other, QStringLiteral("別の窓からのお知らせ"));
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("別の窓からのお知らせ")});
    EXPECT_EQ(stepsUnderBox, 0);
    EXPECT_EQ(ticking, 0);
    EXPECT_TRUE(w.run->Running());
    const int after = w.steps();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.steps() > after; }, 5000));  // the run came back
    w.run->Stop();
}

TEST_F(StepperTest, RunsOfTwoWindowsNeverShowTwoBoxesAtOnce) {
    // Each run shows a message at some of its steps and goes on: each box must be the only
    // one, and no step of either run may happen under it.
    RunWindow a("1"), b("3");
    int stepsUnderBoxes = 0;
    RealBoxes boxes([&](QMessageBox*) {
        const int before = a.steps() + b.steps();
        boxes.WaitCounting(30);
        stepsUnderBoxes += a.steps() + b.steps() - before;
    });
    a.step = [&](StepBy) {
        if (a.steps() % 4 == 0) kv::MsgBox(a.window.get(), "a");
        return StepResult::Continue;
    };
    b.step = [&](StepBy) {
        kv::MsgBox(b.window.get(), "b");
        return StepResult::Continue;
    };
    a.run->Start();
    b.run->Start();
    EXPECT_TRUE(boxes.WaitUntil([&] { return boxes.texts.count("a") >= 3 && boxes.texts.count("b") >= 3; }, 15000));
    a.run->Stop();
    b.run->Stop();
    boxes.WaitCounting(20);
    EXPECT_EQ(boxes.mostOpen, 1);
    EXPECT_EQ(stepsUnderBoxes, 0);
}

TEST_F(StepperTest, EscapeStopsTheRunOfTheActiveWindowOnly) {
    RunWindow a("20"), b("20");
    for (RunWindow* w : {&a, &b}) {
        w->window->show();
        w->run->Start();
    }
    QApplication::setActiveWindow(a.window.get());
    a.box->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(a.window.get()));
    QTest::keyClick(a.box, Qt::Key_Escape);
    EXPECT_FALSE(a.run->Running());
    EXPECT_TRUE(b.run->Running());
    EXPECT_EQ(a.box->text(), "20");  // the key did nothing else

    QTest::keyClick(a.box, Qt::Key_Escape);  // no run: nothing to stop, nothing said
    EXPECT_FALSE(a.run->Running());
    EXPECT_TRUE(messages.isEmpty());
    b.run->Stop();
}

}  // namespace

namespace {
struct WaitingWindow : kv::FormWindow {
    WaitingWindow() : FormWindow("frmWaiting", "w") { setContentSize(QSize(300, 200)); }
    using FormWindow::showWaitsOf;
};
}  // namespace

// A tick that waits for a box being typed says so in a line below the window's controls;
// the line goes when the run moves on or stops, and a step by hand never shows it.
TEST_F(StepperTest, AWaitingTickShowsTheStatusLineUntilTheRunMovesOnOrStops) {
    WaitingWindow window;
    auto* box = new QLineEdit("50", window.content());
    StepResult next = StepResult::Wait;
    auto* run = new kv::Stepper(&window, box, QStringLiteral("タイマー"), [&](StepBy) { return next; });
    window.showWaitsOf(run);
    auto* line = window.findChild<QLabel*>("lblWait");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QStringLiteral("入力中の欄があるため、待機しています"));
    EXPECT_EQ(window.content()->geometry(), QRect(0, 0, 300, 200));  // the controls stay where they were
    EXPECT_GE(line->geometry().top(), 200);
    EXPECT_EQ(window.height(), line->geometry().bottom() + 1);
    const auto shown = [&] { return !line->isHidden(); };
    EXPECT_FALSE(shown());
    run->Step();
    EXPECT_FALSE(shown());
    ASSERT_TRUE(run->Start());
    for (const auto& [result, visible] : std::vector<std::pair<StepResult, bool>>{
             {StepResult::Wait, true}, {StepResult::Wait, true}, {StepResult::Continue, false}, {StepResult::Wait, true}}) {
        next = result;
        run->Tick();
        EXPECT_EQ(shown(), visible);
    }
    run->Stop();
    EXPECT_FALSE(shown());
}
