// Opening every window kind, as the learner waits for it: built, loaded, shown and painted
// for the first time. Each kind is one row, timed alternately with a bare copy of its
// controls: plain Qt widgets of the same kinds at the same places with the same texts, in a
// plain window of the same size, shown and painted. "x_bare" is the window's time over the
// copy's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "floor_ratio.h"
#include "kit/registry.h"
#include "window_table.h"

namespace {

// Counts the paint events any widget receives while it lives.
class PaintCount : public QObject {
public:
    PaintCount() { qApp->installEventFilter(this); }
    ~PaintCount() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Lets the first paint of a window just shown happen, as the event loop would.
void FirstPaint(QWidget* w) {
    PaintCount count;
    QApplication::processEvents();
    if (count.paints == 0 && w) w->repaint();
}

// A control as the bare copy makes it: the nearest plain Qt kind, its place and its text.
struct Control {
    enum Kind { kWidget, kLabel, kBox, kButton, kCheck, kOption, kFrame } kind = kWidget;
    QRect geometry;
    QString text;
    bool checked = false, hidden = false;
    std::vector<Control> children;
};

Control Describe(const QWidget& w) {
    Control c;
    c.geometry = w.geometry();
    c.hidden = w.isHidden();
    if (auto* l = qobject_cast<const QLabel*>(&w)) c = {Control::kLabel, c.geometry, l->text(), false, c.hidden, {}};
    else if (auto* e = qobject_cast<const QLineEdit*>(&w)) c = {Control::kBox, c.geometry, e->text(), false, c.hidden, {}};
    else if (auto* b = qobject_cast<const QCheckBox*>(&w)) c = {Control::kCheck, c.geometry, b->text(), b->isChecked(), c.hidden, {}};
    else if (auto* r = qobject_cast<const QRadioButton*>(&w)) c = {Control::kOption, c.geometry, r->text(), r->isChecked(), c.hidden, {}};
    else if (auto* p = qobject_cast<const QPushButton*>(&w)) c = {Control::kButton, c.geometry, p->text(), false, c.hidden, {}};
    else if (auto* g = qobject_cast<const QGroupBox*>(&w)) c = {Control::kFrame, c.geometry, g->title(), false, c.hidden, {}};
    for (const QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) c.children.push_back(Describe(*child));
    return c;
}

QWidget* Build(const Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind) {
    case Control::kWidget: w = new QWidget(parent); break;
    case Control::kLabel: w = new QLabel(c.text, parent); break;
    case Control::kBox: w = new QLineEdit(c.text, parent); break;
    case Control::kButton: w = new QPushButton(c.text, parent); break;
    case Control::kCheck: w = new QCheckBox(c.text, parent); static_cast<QCheckBox*>(w)->setChecked(c.checked); break;
    case Control::kOption: w = new QRadioButton(c.text, parent); static_cast<QRadioButton*>(w)->setChecked(c.checked); break;
    case Control::kFrame: w = new QGroupBox(c.text, parent); break;
    }
    w->setGeometry(c.geometry);
    if (c.hidden) w->hide();
    for (const Control& child : c.children) Build(child, w);
    return w;
}

void OpenKind(benchmark::State& state, const QString& kind) {
    // The copy is made from the window as it opens.
    QWidget* first = kv::ShowWindow(kind);
    if (!first) {
        state.SkipWithError("no such window");
        return;
    }
    const Control bare = Describe(*first);
    const QString title = first->windowTitle();
    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    std::vector<double> open, copy;
    for (auto _ : state)
        for (int round = 0; round < 7; ++round) {
            double start = kv::bench::ThreadSeconds();
            QWidget* w = kv::ShowWindow(kind);
            FirstPaint(w);
            open.push_back(kv::bench::ThreadSeconds() - start);
            if (w) w->close();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

            start = kv::bench::ThreadSeconds();
            const std::unique_ptr<QWidget> b(Build(bare, nullptr));
            b->setWindowTitle(title);
            b->show();
            FirstPaint(b.get());
            copy.push_back(kv::bench::ThreadSeconds() - start);
        }
    const double ms = 1e3 * kv::bench::Median(open), bareMs = 1e3 * kv::bench::Median(copy);
    state.counters["ms"] = ms;
    state.counters["ms_bare"] = bareMs;
    state.counters["x_bare"] = ms / bareMs;
}

// One row per window kind of the table.
const bool kRegistered = [] {
    for (const kv::WindowKind& k : kv::AllWindows()) {
        const QString kind = QString::fromLatin1(k.name);
        benchmark::RegisterBenchmark((std::string("BM_EveryWindowOpen/") + k.name).c_str(),
                                     [kind](benchmark::State& s) { OpenKind(s, kind); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}();

}  // namespace
