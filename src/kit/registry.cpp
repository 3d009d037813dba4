#include "kit/registry.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QMetaObject>
#include <QWidget>

#include <exception>

namespace kv {
namespace {

std::vector<WindowKind>& Table() {
    static std::vector<WindowKind> table;
    return table;
}

QMap<QString, QPointer<QWidget>>& Instances() {
    static QMap<QString, QPointer<QWidget>> instances;
    return instances;
}

}  // namespace

void RunFormLoad(QWidget* window) {
    const QMetaObject* meta = window->metaObject();
    if (meta->indexOfSlot("Form_Load()") >= 0) QMetaObject::invokeMethod(window, "Form_Load", Qt::DirectConnection);
}

void InstallWindowTable(const std::vector<WindowKind>& table) { Table() = table; }

QWidget* WindowInstance(const QString& kind) { return Instances().value(kind); }

void CloseAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QPointer<QWidget>& w : Instances()) delete w.data();
    Instances().clear();
}

QStringList WindowKinds() {
    QStringList kinds;
    for (const WindowKind& k : Table()) kinds << QString::fromLatin1(k.name);
    return kinds;
}

bool HasHelpButton(const QString& kind) {
    for (const WindowKind& k : Table())
        if (kind == QLatin1String(k.name)) return k.helpButton;
    return false;
}

QWidget* ShowWindow(const QString& kind) {
    QPointer<QWidget>& slot = Instances()[kind];
    if (!slot) {
        const WindowKind* entry = nullptr;
        for (const WindowKind& k : Table())
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
