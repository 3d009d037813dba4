// Runs a window's long model loop (a batch of learning passes or steps) one iteration at a
// time on the window's thread: the busy pointer shows, progress is written by elapsed time
// rather than at every iteration, a cancel request is honoured between iterations, and a
// window closed in the middle ends the run without anything touching it again.
//
// A window either holds the thread (no events are processed: the learner waits, and only
// what the progress callback repaints itself reaches the screen) or lets pending events
// through between iterations, every time or by the clock, so that a stop button and
// repaints get in.
#pragma once

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>

namespace kv {

class BatchRunner {
public:
    enum class Events {
        kHold,     // process nothing while running; the progress callback repaints what it writes
        kProcess,  // process pending events before every iteration
        // Process pending events before the first iteration and then once kEventPeriod
        // has passed: for loops of many short iterations, whose learner still expects a
        // stop button to be answered at once.
        kProcessByTime,
        // Process pending events right after each progress write (once kProgressPeriod has
        // passed, whether or not there is a progress callback) and not before: for loops of
        // many short iterations whose start needs no showing. A run over within one period
        // shows only its end, and what progress draws reaches the screen at once.
        kProcessWithProgress,
    };
    enum class Outcome {
        kFinished,        // the iteration said the loop was done
        kCancelled,       // cancel() was honoured before an iteration
        kWindowClosed,    // the window was closed or freed; nothing of it may be touched now
        kAlreadyRunning,  // another run was in progress: nothing ran
    };

    // How often progress is written while a run goes on.
    static constexpr std::chrono::milliseconds kProgressPeriod{20};
    // How often pending events get through with Events::kProcessByTime.
    static constexpr std::chrono::milliseconds kEventPeriod{10};

    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `window` is the window whose loop this runs. The runner lives inside it (or longer).
    BatchRunner(QWidget* window, Events events);

    // Calls `iteration` until it returns false (the model loop is done). Before an
    // iteration, once kProgressPeriod has passed since the start or the last write, calls
    // `progress`; with Events::kHold it must repaint what it writes (e.g. label->repaint()).
    // When cancel() was called, `confirm` (if given) is asked first: false carries on and
    // drops the request. Only one run goes on at a time in the whole program: a run started
    // while one is going on (from one of its callbacks or from an event it let through)
    // returns kAlreadyRunning at once, and when that run is another window's the learner is
    // told so on this window.
    // After kWindowClosed the caller must not touch its window either: it may be freed.
    Outcome run(const std::function<bool()>& iteration, const std::function<void()>& progress = {},
                const std::function<bool()>& confirm = {});

    // Whether a run may start now, asked before the window reads or resets anything for
    // it: while another window's run goes on the learner is told so (as run() tells it) and
    // the answer is no. While this runner's own run goes on the answer is no without a
    // word: what a second press does is the window's to decide.
    bool mayStart() const;

    // Asks the run to stop before its next iteration (a stop button's whole work).
    void cancel() { cancelRequested_ = true; }

    bool running() const;
    static bool anyRunning();

    // Replaces the clock while set (tests step time by hand); an empty function restores
    // the steady clock.
    static void setClock(Clock clock);

private:
    QPointer<QWidget> window_;
    Events events_;
    bool cancelRequested_ = false;
};

}  // namespace kv
