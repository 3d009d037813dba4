// What a screen reader finds in a window: every control's spoken name and tooltip, given as
// data, and the values a run changes reported at a pace a reader can follow.
#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <vector>

class QAccessibleEvent;
class QObject;
class QWidget;

namespace kv {

// Sets what a reader says for `control` and, when given, its tooltip.
void Describe(QWidget* control, const QString& name, const QString& tip = {});

// One row of a window's table of spoken names and tooltips.
struct Spoken {
    QString control;  // an object name, or a control array's name for every member
    QString role;     // said before the name the label gives ("重み" and "ω1": "重み ω1")
    QString tip;      // the tooltip: one short sentence, with the unit where there is one
};
// Applies a window's table to the controls under `root`; a control without a name yet
// takes the role alone.
void DescribeControls(QWidget* root, std::initializer_list<Spoken> table);

// How often a run may report one control to assistive technology.
inline constexpr std::chrono::milliseconds kReportPeriod{500};

// The pace of those reports, on the caller's clock: a control reported at t goes out again
// at t + kReportPeriod at the earliest; a change in between is held, and goes out once then.
class ReportPace {
public:
    using Time = std::chrono::steady_clock::time_point;
    // Whether a change of `control` at `now` goes out now; otherwise it is held.
    bool Admit(const QObject* control, Time now);
    // The held changes due at `now`, which go out now and count as reported.
    std::vector<const QObject*> TakeDue(Time now);
    // When the first held change falls due, if one is held.
    std::optional<Time> NextDue() const;
    void Forget(const QObject* control);

private:
    struct Entry {
        Time last;
        bool held = false;
    };
    std::unordered_map<const QObject*, Entry> entries_;
};

// While one lives, the program is writing the values of a run (a tick of the stepping
// machine, an iteration of a batch): the changes Qt reports for assistive technology then
// keep the pace above, so that a run at a 1 ms interval does not flood a reader. Outside a
// run (typing, a button's one step) Qt's reports go out as they come.
class RunReports {
public:
    RunReports();
    ~RunReports();
    RunReports(const RunReports&) = delete;
    RunReports& operator=(const RunReports&) = delete;
};

// Qt's update handler from the first run on: what Qt reports for assistive technology (only
// while a reader listens) goes on at once, or, from a run, at the pace above.
void RouteReport(QAccessibleEvent* event);

// Replaces the pace's clock while set (tests move time by hand); empty restores the steady clock.
void SetReportClock(std::function<ReportPace::Time()> clock);
// Sends the held reports that are due by now; a timer calls it when the first falls due.
void SendDueReports();
// Where the reports a run lets through go instead of the platform, while set (tests read
// them there); empty restores the platform.
void SetReportSink(std::function<void(QAccessibleEvent*)> sink);

}  // namespace kv
