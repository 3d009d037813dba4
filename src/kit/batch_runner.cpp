#include "kit/batch_runner.h"

#include <QApplication>

#include "kit/accessible.h"
#include "kit/busy.h"
#include "plot/msgbox.h"

namespace kv {
namespace {

BatchRunner::Clock& ClockHook() {
    static BatchRunner::Clock clock;
    return clock;
}

std::chrono::steady_clock::time_point Now() {
    const BatchRunner::Clock& hook = ClockHook();
    return hook ? hook() : std::chrono::steady_clock::now();
}

// The runner whose run is going on. Compared, never dereferenced: its window (and so the
// runner) may be freed while the run unwinds.
const BatchRunner* g_active = nullptr;

const QString kOtherRunMessage = QStringLiteral("ほかのウィンドウの一括処理が実行中です。終わってからもう一度押してください。");

// The ordinary pointer while the learner answers a question in the middle of a run.
struct NormalPointer {
    NormalPointer() { QApplication::restoreOverrideCursor(); }
    ~NormalPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;
};

struct ActiveRun {
    explicit ActiveRun(const BatchRunner* r) { g_active = r; }
    ~ActiveRun() { g_active = nullptr; }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;
};

}  // namespace

BatchRunner::BatchRunner(QWidget* window, Events events) : window_(window), events_(events) {}

bool BatchRunner::running() const { return g_active == this; }

bool BatchRunner::anyRunning() { return g_active != nullptr; }

bool BatchRunner::mayStart() const {
    if (!g_active) return true;
    if (g_active != this) MsgBox(window_, kOtherRunMessage);
    return false;
}

void BatchRunner::setClock(Clock clock) { ClockHook() = std::move(clock); }

BatchRunner::Outcome BatchRunner::run(const std::function<bool()>& iteration, const std::function<void()>& progress,
                                      const std::function<bool()>& confirm) {
    if (!mayStart()) return Outcome::kAlreadyRunning;
    const ActiveRun active(this);
    const BusyPointer busy;

    // After an event, a callback or a message box the window, and this runner with it, may
    // be gone: every such call is followed by this check before anything else is touched.
    const QPointer<QWidget> window = window_;
    const bool wasVisible = window && window->isVisible();
    const bool byTime = events_ == Events::kProcessByTime;
    const bool process = events_ == Events::kProcess || byTime;
    const bool withProgress = events_ == Events::kProcessWithProgress;
    auto gone = [&] { return !window || (wasVisible && !window->isVisible()); };

    cancelRequested_ = false;
    auto lastWrite = Now();
    auto lastEvents = lastWrite;
    bool first = true;
    for (;;) {
        if (process) {
            bool due = !byTime || first;
            if (!due) {
                const auto now = Now();
                due = now - lastEvents >= kEventPeriod;
                if (due) lastEvents = now;
            }
            first = false;
            if (due) {
                QApplication::processEvents();
                if (gone()) return Outcome::kWindowClosed;
            }
        }
        if (withProgress) {
            const auto now = Now();
            if (now - lastWrite >= kProgressPeriod) {
                lastWrite = now;
                if (progress) progress();
                if (gone()) return Outcome::kWindowClosed;
                QApplication::processEvents();
                if (gone()) return Outcome::kWindowClosed;
            }
        }
        if (cancelRequested_) {
            bool stop = true;
            if (confirm) {
                const NormalPointer asking;
                stop = confirm();
            }
            if (gone()) return Outcome::kWindowClosed;
            if (stop) return Outcome::kCancelled;
            cancelRequested_ = false;
        }
        if (progress && !withProgress) {
            const auto now = Now();
            if (now - lastWrite >= kProgressPeriod) {
                lastWrite = now;
                const RunReports paced;
                progress();
                if (gone()) return Outcome::kWindowClosed;
            }
        }
        const bool more = [&] {
            const RunReports paced;
            return iteration();
        }();
        if (gone()) return Outcome::kWindowClosed;
        if (!more) return Outcome::kFinished;
    }
}

}  // namespace kv
