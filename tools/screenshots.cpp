// Opens every window kind that is built, offscreen, and writes one PNG per window.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextStream>
#include <QWidget>

#include <cstdlib>

#include "kit/registry.h"
#include "plot/msgbox.h"
#include "plot/random.h"
#include "shell/app.h"
#include "shell/help_pages.h"
#include "window_table.h"

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
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
    kv::SetMsgBoxHook([&err](const QString& text, kv::MsgButtons) {
        err << "message: " << text << "\n";
        return kv::MsgAnswer::Ok;
    });
    // The same random start every time (the maps start from random weights), so that
    // two runs' pictures can be compared pixel by pixel.
    kv::FixRandomizeForTools(1);
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
