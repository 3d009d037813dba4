// How many steps a second a window on Timer1 takes on a real display at the shortest
// interval: the window is opened as the menus open it, placed at the given left edge,
// given an interval of 1 ms and started with its own start button; then the ticks of its
// Timer1 are counted for a while, with the processor time the program spent meanwhile.
// One window a program, so that two measured side by side do not share one event loop
// (in one program every pass of the loop would tick both, at the pace of the slower).
// bench/tick_rate.sh runs two at once and brings up a display when there is none.
//
//   tick_rate KIND [seconds] [left] [start]
//
// `start`, in milliseconds since the epoch, is when counting begins (default: once the
// window is shown), so that two programs count over the same time. Prints one line: the
// kind, the steps, the steps a second, and the milliseconds a step takes in all, of
// processor time (the program's), and waiting for a processor (the window's thread, when
// other programs keep the machine busy); the rest of a step's time is asleep, waiting for
// the next tick or for the display.
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMetaObject>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "kit/registry.h"
#include "plot/msgbox.h"
#include "shell/app.h"
#include "window_table.h"

namespace {

#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr bool kTimesAreReal = true;
#else
constexpr bool kTimesAreReal = false;
#endif

// The start button of each window kind that steps on Timer1 with an interval box Text1.
const std::map<QString, const char*>& StartButtons() {
    static const std::map<QString, const char*> starts = {
        {"frmMarKovModel", "Command3_Click"},  {"frmMarKovModel2", "Command3_Click"},
        {"frmMarKovModel3", "Command3_Click"}, {"frmMarKovModel4", "Command3_Click"},
        {"frmMarKovModel5", "Command3_Click"}, {"frmMarKovModel6", "Command3_Click"},
        {"frmNetworkFeedForward", "Command2_Click"},
    };
    return starts;
}

// Seconds this thread has waited, ready to run, for a processor so far (0 where the kernel
// does not tell).
double QueuedSeconds() {
    std::FILE* f = std::fopen("/proc/thread-self/schedstat", "r");
    if (!f) return 0;
    unsigned long long running = 0, waiting = 0;
    const int read = std::fscanf(f, "%llu %llu", &running, &waiting);
    std::fclose(f);
    return read == 2 ? 1e-9 * static_cast<double>(waiting) : 0;
}

// Processor time of the whole program so far, user and system, in seconds.
double ProcessSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); };
    return s(u.ru_utime) + s(u.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    if (!kTimesAreReal) std::fputs("tick_rate: an unoptimised or sanitizer build: its rates mean little.\n", stderr);
    if (argc < 2 || !StartButtons().count(QString::fromLocal8Bit(argv[1]))) {
        std::fputs("usage: tick_rate KIND [seconds] [left] [start]; KIND is one of:", stderr);
        for (const auto& [kind, button] : StartButtons()) std::fprintf(stderr, " %s", qPrintable(kind));
        std::fputs("\n", stderr);
        return 2;
    }
    const QString kind = QString::fromLocal8Bit(argv[1]);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 2.0;
    const int left = argc > 3 ? std::atoi(argv[3]) : 0;
    const qint64 start = argc > 4 ? std::atoll(argv[4]) : 0;
    if (!(seconds > 0)) {
        std::fputs("tick_rate: the time must be a positive number of seconds\n", stderr);
        return 2;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    kv::SetUpApplication(app);
    kv::InstallWindowTable(kv::AllWindows());
    kv::SetMsgBoxHook([](const QString&, kv::MsgButtons) { return kv::MsgAnswer::Ok; });

    QWidget* w = kv::ShowWindow(kind);
    if (!w) return 2;
    w->move(left, 0);
    // Until the window has been mapped and painted, and the start time has come.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 700 || QDateTime::currentMSecsSinceEpoch() < start)
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    // A Markov run goes round for ever instead of stopping at its equilibrium.
    if (auto* repeat = w->findChild<QCheckBox*>("Check1")) repeat->setChecked(true);
    w->findChild<QLineEdit*>("Text1")->setText("1");
    long ticks = 0;
    QObject::connect(w->findChild<QTimer*>("Timer1"), &QTimer::timeout, w, [&ticks] { ++ticks; });

    const double cpuBefore = ProcessSeconds(), queuedBefore = QueuedSeconds();
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(w, StartButtons().at(kind), Qt::DirectConnection);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QApplication::quit);
    app.exec();
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    const double cpu = ProcessSeconds() - cpuBefore, queued = QueuedSeconds() - queuedBefore;

    const auto perStep = [ticks](double s) { return ticks ? 1000 * s / static_cast<double>(ticks) : 0.0; };
    std::printf("%-24s %8ld %10.1f %10.3f %10.3f %10.3f\n", qPrintable(kind), ticks, static_cast<double>(ticks) / elapsed,
                perStep(elapsed), perStep(cpu), perStep(queued));
    return 0;
}
