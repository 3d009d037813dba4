#include "kit/accessible.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <unordered_set>

#include "plot/msgbox.h"

namespace kv {

void Describe(QWidget* control, const QString& name, const QString& tip) {
    control->setAccessibleName(name);
    if (!tip.isEmpty()) control->setToolTip(tip);
}

void DescribeControls(QWidget* root, std::initializer_list<Spoken> table) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString id = w->objectName();
        for (const Spoken& row : table) {
            if (id != row.control && !(id.startsWith(row.control) && id.mid(row.control.size()).startsWith(u'('))) continue;
            if (!row.role.isEmpty())
                w->setAccessibleName(w->accessibleName().isEmpty() ? row.role : row.role + u' ' + w->accessibleName());
            if (!row.tip.isEmpty()) w->setToolTip(row.tip);
        }
    }
}

bool ReportPace::Admit(const QObject* control, Time now) {
    auto [it, fresh] = entries_.try_emplace(control, Entry{now, false});
    Entry& e = it->second;
    if (fresh || now - e.last >= kReportPeriod) {
        e = Entry{now, false};
        return true;
    }
    e.held = true;
    return false;
}

std::vector<const QObject*> ReportPace::TakeDue(Time now) {
    std::vector<const QObject*> due;
    for (auto& [control, e] : entries_) {
        if (!e.held || now - e.last < kReportPeriod) continue;
        e = Entry{now, false};
        due.push_back(control);
    }
    return due;
}

std::optional<ReportPace::Time> ReportPace::NextDue() const {
    std::optional<Time> first;
    for (const auto& [control, e] : entries_)
        if (e.held && (!first || e.last + kReportPeriod < *first)) first = e.last + kReportPeriod;
    return first;
}

void ReportPace::Forget(const QObject* control) { entries_.erase(control); }

namespace {

// A change held back, and the text it replaced, so that its late report says what changed.
struct Held {
    QPointer<QObject> control;
    QAccessible::Event type;
    QString oldText;
};

struct Pacing {
    ReportPace pace;
    int runs = 0;
    std::unordered_map<const QObject*, Held> held;
    std::unordered_set<const QObject*> watched;  // forgotten when they go
    std::function<ReportPace::Time()> clock;
    std::function<void(QAccessibleEvent*)> sink;
    QAccessible::UpdateHandler previous = nullptr;
    bool installed = false;
    QPointer<QTimer> timer;
};

Pacing& State() {
    static Pacing p;
    return p;
}

ReportPace::Time Now() { return State().clock ? State().clock() : std::chrono::steady_clock::now(); }

bool IsTextChange(QAccessible::Event t) {
    return t == QAccessible::TextUpdated || t == QAccessible::TextInserted || t == QAccessible::TextRemoved;
}

void Deliver(QAccessibleEvent* event) {
    Pacing& p = State();
    if (p.sink) {
        p.sink(event);
        return;
    }
    if (p.previous) {
        p.previous(event);
        return;
    }
    // Qt hands an event to the platform only while no handler is installed.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&RouteReport);
}

QString OldText(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextUpdated) return static_cast<QAccessibleTextUpdateEvent*>(event)->textRemoved();
    if (event->type() == QAccessible::TextRemoved) return static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved();
    return {};
}

void ScheduleDue() {
    Pacing& p = State();
    const auto due = p.pace.NextDue();
    if (!due) return;
    if (!p.timer) {
        p.timer = new QTimer(QCoreApplication::instance());
        p.timer->setSingleShot(true);
        QObject::connect(p.timer, &QTimer::timeout, &SendDueReports);
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*due - Now());
    p.timer->start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

void Install() {
    Pacing& p = State();
    if (p.installed) return;
    p.previous = QAccessible::installUpdateHandler(&RouteReport);
    p.installed = true;
}

}  // namespace

void RouteReport(QAccessibleEvent* event) {
    Pacing& p = State();
    QObject* control = event->object();
    const QAccessible::Event type = event->type();
    const bool paced = IsTextChange(type) || type == QAccessible::ValueChanged || type == QAccessible::NameChanged ||
                       type == QAccessible::VisibleDataChanged;
    // A message box a step opens is heard as it comes, and so is what the learner does there.
    if (p.runs == 0 || MsgBoxOpen() || !control || !(paced || type == QAccessible::TextCaretMoved)) {
        Deliver(event);
        return;
    }
    // A run moves no caret a reader follows: the box it writes is not the one being typed in.
    if (type == QAccessible::TextCaretMoved) return;
    if (p.watched.insert(control).second)
        QObject::connect(control, &QObject::destroyed, [control] {
            State().pace.Forget(control);
            State().held.erase(control);
            State().watched.erase(control);
        });
    if (p.pace.Admit(control, Now())) {
        p.held.erase(control);
        Deliver(event);
        return;
    }
    auto [it, fresh] = p.held.try_emplace(control, Held{control, type, OldText(event)});
    if (!fresh && !IsTextChange(it->second.type)) it->second.type = type;
    ScheduleDue();
}

RunReports::RunReports() {
    Install();
    ++State().runs;
}

RunReports::~RunReports() { --State().runs; }

void SetReportClock(std::function<ReportPace::Time()> clock) { State().clock = std::move(clock); }

void SetReportSink(std::function<void(QAccessibleEvent*)> sink) { State().sink = std::move(sink); }

void SendDueReports() {
    Pacing& p = State();
    for (const QObject* key : p.pace.TakeDue(Now())) {
        const auto it = p.held.find(key);
        if (it == p.held.end()) continue;
        const Held h = it->second;
        p.held.erase(it);
        if (!h.control) continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(h.control);
        if (!iface) continue;
        if (IsTextChange(h.type)) {
            QAccessibleTextUpdateEvent e(h.control, 0, h.oldText, iface->text(QAccessible::Value));
            Deliver(&e);
        } else if (h.type == QAccessible::ValueChanged && iface->valueInterface()) {
            QAccessibleValueChangeEvent e(h.control, iface->valueInterface()->currentValue());
            Deliver(&e);
        } else {
            QAccessibleEvent e(h.control, h.type == QAccessible::ValueChanged ? QAccessible::VisibleDataChanged : h.type);
            Deliver(&e);
        }
    }
    ScheduleDue();
}

}  // namespace kv
