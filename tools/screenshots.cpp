// Opens every window kind that is built, offscreen, and writes one PNG per window.
// With --curves after the folder: the windows with a learning curve instead, each after a
// typical run, with its curve's companion window beside it where it has one.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMetaObject>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextStream>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "kit/registry.h"
#include "plot/msgbox.h"
#include "plot/random.h"
#include "shell/app.h"
#include "shell/help_pages.h"
#include "window_table.h"

namespace {

// A typical run of a window with a curve: its boxes as typed, then a handler pressed
// `presses` times, or until the window shows a message (0).
struct Run {
    const char* kind;
    const char* slot;
    int presses;
    std::vector<std::pair<const char*, const char*>> boxes = {};
};

const std::vector<Run>& CurveRuns() {
    static const std::vector<Run> runs = {
        {"frmUnitLearning", "Command5_Click", 1},
        {"frmFeedFowardLearning", "Command5_Click", 1},
        {"frmMarKovModel", "Command1_Click", 0},
        {"frmMarKovModel2", "Command1_Click", 12},
        {"frmMarKovModel3", "Command1_Click", 40},
        {"frmMarKovModel4", "Command1_Click", 40},
        {"frmMarKovModel5", "Command1_Click", 60},
        {"frmMarKovModel6", "Command1_Click", 60},
        {"frmBoltzmannMachineExec", "Command1_Click", 1, {{"txtLoop", "1000"}}},
        {"frmBoltzmannMachineLearning", "Command3_Click", 1},
        {"frmSlopeMethod1", "Command3_Click", 0},
        {"frmSlopeMethod2", "Command3_Click", 0},
        {"frmLinearSystem1", "Command3_Click", 0},
        {"frmLinearSystem2", "Command3_Click", 0},
        {"frmSOM", "Command3_Click", 1},
        {"frmLVQ", "Command3_Click", 1},
    };
    return runs;
}

bool Save(QWidget* w, const QString& folder, QTextStream& err) {
    const QString file = QDir(folder).filePath(w->objectName() + ".png");
    if (w->grab().save(file)) return true;
    err << "could not write " << file << "\n";
    return false;
}

int CurveShots(const QString& folder, QTextStream& err, int& messages) {
    int written = 0;
    for (const Run& run : CurveRuns()) {
        QWidget* w = kv::ShowWindow(run.kind);
        if (!w) {
            err << "could not open " << run.kind << "\n";
            return -1;
        }
        for (const auto& [box, text] : run.boxes)
            if (auto* b = w->findChild<QLineEdit*>(box)) b->setText(text);
        const int before = messages;
        for (int i = 0; run.presses > 0 ? i < run.presses : messages == before && i < 2000; ++i)
            QMetaObject::invokeMethod(w, run.slot, Qt::DirectConnection);
        if (auto* button = w->findChild<QPushButton*>("cmdCurve")) button->click();
        QApplication::processEvents();
        if (!Save(w, folder, err)) return -1;
        ++written;
        if (QWidget* companion = w->findChild<QWidget*>(QStringLiteral("frmCurve") + run.kind)) {
            if (!Save(companion, folder, err)) return -1;
            ++written;
        }
        w->close();
    }
    return written;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Qt's own offscreen screen (800 x 600) is smaller than many windows, which would show
    // them scrolled: plain "offscreen" gets screens large enough for every window whole.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::strcmp(platform, "offscreen") == 0) setenv("QT_QPA_PLATFORM", KORVALEN_SCREENSHOT_PLATFORM, 1);
    QApplication app(argc, argv);
    kv::SetUpApplication(app);
    kv::InstallWindowTable(kv::AllWindows());
    QTextStream err(stderr);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    if (!QDir().mkpath(folder)) {
        err << "cannot create " << folder << "\n";
        return 1;
    }
    // A window that shows a message while it loads must not block the tool.
    int messages = 0;
    kv::SetMsgBoxHook([&err, &messages](const QString& text, kv::MsgButtons) {
        err << "message: " << text << "\n";
        ++messages;
        return kv::MsgAnswer::Ok;
    });
    // The same random start every time (the maps start from random weights), so that
    // two runs' pictures can be compared pixel by pixel.
    kv::FixRandomizeForTools(1);
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("--curves")) {
        const int shots = CurveShots(folder, err, messages);
        kv::CloseAllWindows();
        if (shots < 0) return 1;
        QTextStream(stdout) << shots << " screenshots in " << QDir(folder).absolutePath() << "\n";
        return 0;
    }
    int written = 0;
    for (const QString& kind : kv::WindowKinds()) {
        QWidget* w = kv::ShowWindow(kind);
        if (!w) {
            err << "could not open " << kind << "\n";
            return 1;
        }
        QApplication::processEvents();
        const QString file = QDir(folder).filePath(kind + ".png");
        if (!w->grab().save(file)) {
            err << "could not write " << file << "\n";
            return 1;
        }
        ++written;
    }
    // Every help page as the help window shows it: its top, and each further screenful.
    for (const QString& page : kv::help::PageKinds()) {
        QWidget* help = kv::ShowWindow(QStringLiteral("frmHelp"));
        QMetaObject::invokeMethod(help, "ShowPage", Q_ARG(QString, page), Q_ARG(QString, QString()));
        QScrollBar* scroll = help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"))->verticalScrollBar();
        for (int screen = 1;; ++screen) {
            QApplication::processEvents();
            const QString file = QDir(folder).filePath(
                screen == 1 ? QStringLiteral("frmHelp-%1.png").arg(page) : QStringLiteral("frmHelp-%1-%2.png").arg(page).arg(screen));
            if (!help->grab().save(file)) {
                err << "could not write " << file << "\n";
                return 1;
            }
            ++written;
            if (scroll->value() >= scroll->maximum()) break;
            scroll->setValue(scroll->value() + scroll->pageStep());
        }
    }
    kv::CloseAllWindows();
    QTextStream(stdout) << written << " screenshots in " << QDir(folder).absolutePath() << "\n";
    return 0;
}
