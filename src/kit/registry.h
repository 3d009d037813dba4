// The one way windows come on screen: each window kind has one instance for the whole run.
// The registry knows no window itself; the program installs its table of kinds at start.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace kv {

struct WindowKind {
    const char* name;
    QWidget* (*create)();
    // A demonstration: its window carries the ヘルプ button beside its own controls.
    bool helpButton = false;
};

// Runs the window's Form_Load slot, when it has one: the last step of building any window.
void RunFormLoad(QWidget* window);

// What follows the constructor of every window: the form's last step of building (its Tab
// chain and keys), then its Form_Load.
void FinishWindow(QWidget* window);

// Builds a window of type W with its defaults and runs its Form_Load once. Every window is
// built this way (by the registry, the tests and the benchmarks), never with a bare `new`
// followed by a hand-made load.
template <typename W>
W* BuildWindow() {
    auto* w = new W;
    FinishWindow(w);
    return w;
}

template <typename W>
QWidget* BuildAnyWindow() {
    return BuildWindow<W>();
}

// The kinds ShowWindow can build, the main menu first; set once at start, before the
// first window is shown.
void InstallWindowTable(const std::vector<WindowKind>& table);

// Shows the window of this kind: builds it (with its defaults) when it has no instance or
// the learner closed it, otherwise brings the open one forward unchanged. Returns the
// window, or null for a kind that is not built yet or could not be created.
// A window built afresh comes on the screen of `opener` (by default the active window),
// beside it or cascaded from it, inside the screen's available area and, where that area
// is wide enough for both, clear of the main menu (the first kind of the table).
QWidget* ShowWindow(const QString& kind, QWidget* opener = nullptr);

// The live instance of a kind, or null.
QWidget* WindowInstance(const QString& kind);

// Closes every window and frees it (at the end of a run, so nothing is left behind).
void CloseAllWindows();

// Every kind that can be shown, in a stable order.
QStringList WindowKinds();

// Whether windows of this kind carry the ヘルプ button (asked while a window is being built).
bool HasHelpButton(const QString& kind);

}  // namespace kv
