// Writes the program's icon as PNGs for the desktop's icon theme: program_icons <folder>
// <size...> writes <folder>/<n>x<n>/korvalen.png for each size, from the same drawing every
// window carries, so the package needs no image tool to make them.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QTextStream>

#include "shell/app.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc < 3) {
        err << "usage: program_icons <folder> <size...>\n";
        return 64;
    }
    const QIcon icon = kv::ProgramIcon();
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        if (size <= 0 || image.size() != QSize(size, size) || !QDir().mkpath(folder) ||
            !image.save(folder + QStringLiteral("/korvalen.png"), "PNG")) {
            err << "cannot write the " << argv[i] << " pixel icon into " << folder << "\n";
            return 1;
        }
    }
    return 0;
}
