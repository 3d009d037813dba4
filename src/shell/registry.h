// The one way windows come on screen: each window kind has one instance for the whole run.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kv {

// Shows the window of this kind: builds it (with its defaults) when it has no instance or
// the learner closed it, otherwise brings the open one forward unchanged. Returns the
// window, or null for a kind that is not built yet or could not be created.
QWidget* ShowWindow(const QString& kind);

// The live instance of a kind, or null.
QWidget* WindowInstance(const QString& kind);

// Closes every window and frees it (at the end of a run, so nothing is left behind).
void CloseAllWindows();

// Every kind that can be shown, in a stable order.
QStringList WindowKinds();

}  // namespace kv
