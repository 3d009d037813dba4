#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "plot/msgbox.h"
#include "shell/app.h"
#include "window_table.h"

namespace {

// Times of an unoptimised or sanitizer build say nothing about what a learner waits for, and
// are easily mistaken for real ones: such a build only compiles the benchmarks.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr bool kTimesAreReal = true;
#else
constexpr bool kTimesAreReal = false;
#endif

}  // namespace

int main(int argc, char** argv) {
    if (!kTimesAreReal) {
        std::fputs("korvalen_bench: this build is unoptimised or has sanitizers; its times would mean nothing, "
                   "so nothing is timed. Time a release build:\n"
                   "  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALEN_TESTS=OFF\n"
                   "  cmake --build build-bench --target korvalen_bench && build-bench/bench/korvalen_bench\n",
                   stderr);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", KORVALEN_BENCH_PLATFORM, 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    kv::SetUpApplication(app);
    kv::InstallWindowTable(kv::AllWindows());
    kv::SetMsgBoxHook([](const QString&, kv::MsgButtons) { return kv::MsgAnswer::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
