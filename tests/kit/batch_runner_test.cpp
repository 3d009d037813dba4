#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <vector>

#include "kit/batch_runner.h"
#include "kit/controls.h"
#include "support/ui_test.h"

using kv::BatchRunner;
using Events = BatchRunner::Events;
using Outcome = BatchRunner::Outcome;
using namespace std::chrono_literals;

namespace {

// A window that runs its loop through a runner it holds, with a stop button.
class Host : public QWidget {
public:
    explicit Host(Events events) : runner(this, events) {
        stop = kv::MakeButton(this, "Command4", QStringLiteral("停止"), QRect(10, 10, 80, 30), this, &Host::Stop);
    }
    void Stop() { runner.cancel(); }

    BatchRunner runner;
    QPushButton* stop;
};

bool Busy() { return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor; }

class BatchRunnerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        BatchRunner::setClock([this] { return now; });
    }
    void TearDown() override {
        BatchRunner::setClock({});
        for (QPointer<Host>& h : hosts)
            if (h) delete h.data();
        UiTest::TearDown();
    }
    Host* host(Events events) {
        auto* h = new Host(events);
        h->show();
        QApplication::processEvents();
        hosts.emplace_back(h);
        return h;
    }

    std::chrono::steady_clock::time_point now{};  // moved by hand: the run reads only this
    std::vector<QPointer<Host>> hosts;
};

}  // namespace

TEST_F(BatchRunnerTest, RunsTheLoopToItsEndUnderTheBusyPointer) {
    for (Events events : {Events::kHold, Events::kProcess}) {
        Host* h = host(events);
        int iterations = 0;
        bool busyThroughout = true, runningThroughout = true;
        const Outcome outcome = h->runner.run([&] {
            busyThroughout = busyThroughout && Busy();
            runningThroughout = runningThroughout && h->runner.running() && BatchRunner::anyRunning();
            return ++iterations < 50;
        });
        EXPECT_EQ(outcome, Outcome::kFinished);
        EXPECT_EQ(iterations, 50);
        EXPECT_TRUE(busyThroughout);
        EXPECT_TRUE(runningThroughout);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(h->runner.running());
        EXPECT_FALSE(BatchRunner::anyRunning());
    }
}

TEST_F(BatchRunnerTest, WritesProgressByElapsedTimeNotEveryIteration) {
    Host* h = host(Events::kHold);
    // 6 ms an iteration: a write is due every fourth one, never sooner, never later.
    std::vector<std::chrono::steady_clock::time_point> writes;
    int iterations = 0, lastIteration = -1;
    const auto start = now;
    h->runner.run(
        [&] {
            now += 6ms;
            return ++iterations < 100;
        },
        [&] {
            writes.push_back(now);
            lastIteration = iterations;
        });
    ASSERT_GE(writes.size(), 2u);
    EXPECT_LT(writes.size(), 100u / 3);
    auto previous = start;
    for (const auto& t : writes) {
        EXPECT_GE(t - previous, BatchRunner::kProgressPeriod);
        EXPECT_LT(t - previous, BatchRunner::kProgressPeriod + 6ms);
        previous = t;
    }
    EXPECT_LT(lastIteration, 100);  // nothing is written after the loop is done

    // However many iterations run within one period, none of them writes.
    int written = 0;
    iterations = 0;
    EXPECT_EQ(h->runner.run([&] { return ++iterations < 10000; }, [&] { ++written; }), Outcome::kFinished);
    EXPECT_EQ(written, 0);
}

TEST_F(BatchRunnerTest, LetsEventsThroughOnlyWhenTheWindowSaysSo) {
    for (Events events : {Events::kHold, Events::kProcess}) {
        SCOPED_TRACE(events == Events::kHold ? "hold" : "process");
        Host* h = host(events);
        int iterations = 0;
        // A press of the stop button, queued while the third iteration runs.
        const Outcome outcome = h->runner.run([&] {
            if (++iterations == 3) QMetaObject::invokeMethod(h->stop, "click", Qt::QueuedConnection);
            return iterations < 20;
        });
        if (events == Events::kProcess) {
            EXPECT_EQ(outcome, Outcome::kCancelled);
            EXPECT_EQ(iterations, 3);  // honoured before the fourth
        } else {
            EXPECT_EQ(outcome, Outcome::kFinished);
            EXPECT_EQ(iterations, 20);
            QApplication::processEvents();  // the press arrives after the run
        }
        // A request left from before does not stop the next run.
        iterations = 0;
        EXPECT_EQ(h->runner.run([&] { return ++iterations < 5; }), Outcome::kFinished);
        EXPECT_EQ(iterations, 5);
    }
}

TEST_F(BatchRunnerTest, CancelMayBeConfirmed) {
    Host* h = host(Events::kHold);
    int iterations = 0, asked = 0;
    bool busyWhileAsked = false;
    const Outcome outcome = h->runner.run(
        [&] {
            ++iterations;
            if (iterations == 2 || iterations == 5) h->runner.cancel();
            return iterations < 20;
        },
        {},
        [&] {
            busyWhileAsked = busyWhileAsked || Busy();
            return ++asked == 2;  // the first request is declined
        });
    EXPECT_EQ(outcome, Outcome::kCancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(iterations, 5);  // the declined request was dropped, not asked again at 4
    EXPECT_FALSE(busyWhileAsked);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BatchRunnerTest, RefusesASecondRunWhileOneGoesOn) {
    Host* first = host(Events::kProcess);
    Host* second = host(Events::kProcess);
    int inner = 0, outer = 0;
    std::vector<Outcome> refused;
    const Outcome outcome = first->runner.run([&] {
        refused.push_back(first->runner.run([&] { return ++inner < 3; }));
        refused.push_back(second->runner.run([&] { return ++inner < 3; }));
        return ++outer < 4;
    });
    EXPECT_EQ(outcome, Outcome::kFinished);
    EXPECT_EQ(outer, 4);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(refused, std::vector<Outcome>(8, Outcome::kAlreadyRunning));
    // Only the other window's refusals are told, each once.
    EXPECT_EQ(messages, QStringList(4, QStringLiteral("ほかのウィンドウの一括処理が実行中です。終わってからもう一度押してください。")));
    // Once it is over, either may run.
    EXPECT_EQ(second->runner.run([&] { return ++inner < 3; }), Outcome::kFinished);
    EXPECT_EQ(inner, 3);
}

TEST_F(BatchRunnerTest, MayStartOnlyWhenNoRunGoesOnAndTellsWhenAnotherWindowsDoes) {
    Host* first = host(Events::kProcess);
    Host* second = host(Events::kProcess);
    bool ownMay = true, otherMay = true;
    first->runner.run([&] {
        ownMay = first->runner.mayStart();
        otherMay = second->runner.mayStart();
        return false;
    });
    EXPECT_FALSE(ownMay);
    EXPECT_FALSE(otherMay);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ほかのウィンドウの一括処理が実行中です。終わってからもう一度押してください。")});
    EXPECT_TRUE(second->runner.mayStart());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(BatchRunnerTest, EndsWhenItsWindowIsClosedOrFreedInTheMiddle) {
    // Closed by the learner (a closed window frees itself), freed outright by an event, or
    // freed by the run's own callbacks: the runner lives in the window, so any touch of it
    // afterwards is a use after free.
    enum class How { kCloseEvent, kDeleteEvent, kDeleteInIteration, kDeleteInProgress, kHideEvent };
    for (How how : {How::kCloseEvent, How::kDeleteEvent, How::kDeleteInIteration, How::kDeleteInProgress, How::kHideEvent}) {
        SCOPED_TRACE(static_cast<int>(how));
        const bool byEvent = how == How::kCloseEvent || how == How::kDeleteEvent || how == How::kHideEvent;
        Host* h = host(byEvent ? Events::kProcess : Events::kHold);
        h->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<Host> alive(h);
        int iterations = 0;
        const Outcome outcome = h->runner.run(
            [&] {
                ++iterations;
                if (iterations == 3) {
                    switch (how) {
                        case How::kCloseEvent: QTimer::singleShot(0, h, [h] { h->close(); }); break;
                        case How::kDeleteEvent: QTimer::singleShot(0, qApp, [alive] { delete alive.data(); }); break;
                        case How::kHideEvent: QTimer::singleShot(0, h, [h] { h->hide(); }); break;
                        case How::kDeleteInIteration: delete h; break;
                        case How::kDeleteInProgress: break;
                    }
                }
                now += 25ms;
                return iterations < 50;
            },
            [&] {
                if (how == How::kDeleteInProgress && iterations >= 3) delete alive.data();
            });
        EXPECT_EQ(outcome, Outcome::kWindowClosed);
        EXPECT_EQ(iterations, 3);
        EXPECT_FALSE(BatchRunner::anyRunning());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (how == How::kHideEvent) {
            EXPECT_FALSE(alive.isNull());
        } else {
            EXPECT_TRUE(alive.isNull());
        }
    }
    // Another window's run goes on as usual afterwards.
    int iterations = 0;
    EXPECT_EQ(host(Events::kProcess)->runner.run([&] { return ++iterations < 3; }), Outcome::kFinished);
}

TEST_F(BatchRunnerTest, ByTimeLetsEventsThroughOnlyOncePerPeriod) {
    Host* h = host(Events::kProcessByTime);
    int iterations = 0, pressedAt = 0;
    // The press is queued during the second iteration; the clock moves 1 ms per iteration,
    // so the events get through only once a whole period has passed since the start.
    const Outcome outcome = h->runner.run([&] {
        now += 1ms;
        if (++iterations == 2) {
            pressedAt = iterations;
            QMetaObject::invokeMethod(h->stop, "click", Qt::QueuedConnection);
        }
        return iterations < 1000;
    });
    EXPECT_EQ(outcome, Outcome::kCancelled);
    EXPECT_EQ(pressedAt, 2);
    EXPECT_EQ(iterations, static_cast<int>(BatchRunner::kEventPeriod / 1ms));

    // Before the first iteration the events get through at once.
    iterations = 0;
    QMetaObject::invokeMethod(h->stop, "click", Qt::QueuedConnection);
    EXPECT_EQ(h->runner.run([&] { return ++iterations < 5; }), Outcome::kCancelled);
    EXPECT_EQ(iterations, 0);
}

TEST_F(BatchRunnerTest, WithProgressLetsEventsThroughRightAfterEachWriteAndNotBefore) {
    Host* h = host(Events::kProcessWithProgress);
    // A press queued before the run waits for the first write; the clock moves 1 ms per
    // iteration, and each write is followed at once by the events it drew for.
    QMetaObject::invokeMethod(h->stop, "click", Qt::QueuedConnection);
    int iterations = 0, writes = 0;
    const Outcome outcome = h->runner.run([&] {
        now += 1ms;
        return ++iterations < 1000;
    }, [&] { ++writes; });
    EXPECT_EQ(outcome, Outcome::kCancelled);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(iterations, static_cast<int>(BatchRunner::kProgressPeriod / 1ms));
}
