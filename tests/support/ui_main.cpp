#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "shell/app.h"
#include "window_table.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", KORVALEN_TEST_PLATFORM, 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kv::SetUpApplication(app);
    kv::InstallWindowTable(kv::AllWindows());
    return RUN_ALL_TESTS();
}
