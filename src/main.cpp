#include <QApplication>

#include "kit/registry.h"
#include "shell/app.h"
#include "window_table.h"

int main(int, char* argv[]) {
    // The program takes no command line: whatever was typed after its name is ignored.
    int argc = 1;
    kv::ExplainDisplayFailure(true);
    QApplication app(argc, argv);
    kv::ExplainDisplayFailure(false);
    kv::SetUpApplication(app);
    kv::WarnIfNoJapaneseFont();
    kv::InstallWindowTable(kv::AllWindows());
    kv::ShowWindow(QStringLiteral("frmMain"));
    const int status = QApplication::exec();
    kv::CloseAllWindows();
    return status;
}
