#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "plot/msgbox.h"
#include "shell/app.h"
#include "window_table.h"

int main(int argc, char** argv) {
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
