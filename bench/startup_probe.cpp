// Starts exactly as the program does (main.cpp) and prints, in nanoseconds of the realtime
// clock, the moment the main menu first paints; then ends. bench/startup.sh takes the
// launch time before exec and compares two builds with it. It repeats main.cpp's few lines
// rather than sharing them: the script builds it into earlier commits too, which have only
// the functions main.cpp calls.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

#include "kit/registry.h"
#include "shell/app.h"
#include "window_table.h"

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (!done_ && e->type() == QEvent::Paint && w && w->window()->objectName() == QLatin1String("frmMain")) {
            done_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

int main(int, char* argv[]) {
    int argc = 1;
    QApplication app(argc, argv);
    FirstPaint watch;
    app.installEventFilter(&watch);
    kv::SetUpApplication(app);
    kv::WarnIfNoJapaneseFont();
    kv::InstallWindowTable(kv::AllWindows());
    kv::ShowWindow(QStringLiteral("frmMain"));
    const int status = QApplication::exec();
    kv::CloseAllWindows();
    return status;
}
