#include "shell/app.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>

namespace kv {

void SetUpApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Korvalen"));
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(app.style()->standardPalette());
    // Prefer a CJK face so that every caption renders the same on every machine.
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Sans CJK JP", "IPAGothic", "IPAexGothic", "Noto Sans JP"}) {
        if (families.contains(QLatin1String(name))) {
            QFont f{QString::fromLatin1(name)};
            f.setPointSize(10);
            app.setFont(f);
            break;
        }
    }
}

}  // namespace kv
