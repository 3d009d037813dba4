#include "shell/registry.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QWidget>

#include <exception>

#include "shell/window_table.h"

namespace kv {
namespace {

QMap<QString, QPointer<QWidget>>& Instances() {
    static QMap<QString, QPointer<QWidget>> instances;
    return instances;
}

}  // namespace

QWidget* WindowInstance(const QString& kind) { return Instances().value(kind); }

void CloseAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QPointer<QWidget>& w : Instances()) delete w.data();
    Instances().clear();
}

QStringList WindowKinds() {
    QStringList kinds;
    for (const WindowKind& k : WindowTable()) kinds << QString::fromLatin1(k.name);
    return kinds;
}

QWidget* ShowWindow(const QString& kind) {
    QPointer<QWidget>& slot = Instances()[kind];
    if (!slot) {
        const WindowKind* entry = nullptr;
        for (const WindowKind& k : WindowTable())
            if (kind == QLatin1String(k.name)) entry = &k;
        if (!entry) return nullptr;
        try {
            slot = entry->create();
        } catch (const std::exception&) {
            return nullptr;  // the menu stays usable
        }
        // A closed window is destroyed, so the next showing builds it afresh.
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    if (slot->isMinimized()) slot->showNormal();
    slot->raise();
    slot->activateWindow();
    return slot;
}

}  // namespace kv
