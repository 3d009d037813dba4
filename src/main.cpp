#include <QApplication>

#include "shell/app.h"
#include "shell/registry.h"

int main(int, char* argv[]) {
    // The program takes no command line: whatever was typed after its name is ignored.
    int argc = 1;
    QApplication app(argc, argv);
    kv::SetUpApplication(app);
    kv::ShowWindow(QStringLiteral("frmMain"));
    const int status = QApplication::exec();
    kv::CloseAllWindows();
    return status;
}
