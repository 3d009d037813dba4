// A driver that uses the program as a hurried learner would: key and mouse events sent
// through the window system to every window (so Qt's modal blocking and shortcuts take part),
// windows reached through the menus, message boxes answered by clicking them, windows closed
// while their timers run. It watches for what must never be seen on screen and
// records each distinct fault with the actions that led to it.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

class QEventLoop;
class QMessageBox;
class QWidget;
class QWindow;

namespace kvtest {

// The last actions of the driver, readable from the watchdog thread as well.
class ActionLog {
public:
    explicit ActionLog(std::size_t keep = 14) : keep_(keep) {}
    void add(const std::string& line);
    std::string recent() const;

private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    std::size_t keep_;
};

// Aborts the process when the GUI thread has processed nothing for `limitSeconds`: a frozen
// program would otherwise hold the test until CTest's timeout, with nothing to replay.
class StallWatchdog {
public:
    StallWatchdog(double limitSeconds, std::function<std::string()> describe);
    ~StallWatchdog();
    StallWatchdog(const StallWatchdog&) = delete;
    StallWatchdog& operator=(const StallWatchdog&) = delete;

    void beat() { beats_.fetch_add(1, std::memory_order_relaxed); }

private:
    void watch();

    double limit_;
    std::function<std::string()> describe_;
    std::atomic<std::uint64_t> beats_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

struct DriverOptions {
    std::uint32_t seed = 1;
    double seconds = 45;
    double stallSeconds = 5;
    bool verbose = false;  // print every action as it is sent
};

struct Fault {
    QString kind;  // e.g. "two message boxes at once"
    QString key;   // what makes two sightings the same fault
    QString detail;
    std::string lastActions;  // the driver's actions up to the first sighting
    double at = 0;            // seconds into the run
    int count = 1;
};

class EventDriver : public QObject {
public:
    explicit EventDriver(const DriverOptions& options);
    ~EventDriver() override;

    // Drives the windows until the time is up, then answers what is still open, stops the
    // timers and closes every window.
    void Run();

    const std::vector<Fault>& faults() const { return faults_; }
    std::uint64_t eventsSent() const { return events_.load(); }
    std::uint64_t actions() const { return actionCount_; }
    const std::map<QString, int>& actionsByKind() const { return byKind_; }
    const QSet<QString>& kindsShown() const { return kindsShown_; }
    int boxesAnswered() const { return boxesAnswered_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the innermost action is doing. A message box that comes up while a key goes into
    // a text box, or during a timer tick, was not asked for by a button.
    enum class Doing { Typing, Key, Click, DoubleClick, Close, Open, Answer, Move, Tick };
    struct Scope;

    void Tick();
    void TickAt(std::size_t level);
    QTimer* Ticker(std::size_t level);
    // Records a fault for more than one box open at once.
    void ReportBoxes(const QList<QMessageBox*>& boxes);
    void Check();
    void Act();
    void Note(const char* kind, const QString& what, const QWidget* where = nullptr);
    void AddFault(const QString& kind, const QString& key, const QString& detail);
    double Seconds() const { return clock_.elapsed() / 1000.0; }

    // Choices.
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    QList<QWidget*> OpenWindows() const;
    QWidget* PickWindow();
    template <typename T>
    T* PickReachable(QWidget* window);
    QString PickText();

    // The learner's hands. Events go only where a real pointer or keyboard could send them.
    bool Reachable(const QWidget* w) const;
    QWindow* Front(QWidget* w);
    bool Click(QWidget* w, QPoint at = QPoint());
    bool Send(QWidget* w, QPoint at = QPoint());
    bool DoubleClick(QWidget* w);
    void Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void KeyToFocus(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void TypeInto(QWidget* window, const QString& text);
    void Enter(QWidget* window, const QString& text);
    void Commit(QWidget* to, const QString& text);

    // The actions.
    bool Open(const QString& kind);
    bool Explore();
    void ClickButton(QWidget* window);
    void TypeIntoBox(QWidget* window);
    void EditBox(QWidget* window);
    void DoubleClickBox(QWidget* window);
    void PressKey(QWidget* window);
    void MoveOver(QWidget* window);
    void MoveToOtherScreen(QWidget* window);
    void CloseWindow();
    void QueueInputThenClick(QWidget* window);
    void AnswerBox(QMessageBox* box);

    void BoxShown(QMessageBox* box);
    bool TimerTick(QObject* timer, QEvent* event);
    QStringList TextsOf(const QWidget* window) const;
    QList<QMessageBox*> VisibleBoxes() const;

    DriverOptions options_;
    std::mt19937 rng_;
    ActionLog log_;
    StallWatchdog* watchdog_ = nullptr;
    QEventLoop* loop_ = nullptr;
    // A timer does not fire again while its own tick is still running, so each level of
    // nesting (a message box opened by an action) has its own ticker.
    std::vector<QTimer*> tickers_;
    QTimer check_, heartbeat_;
    QElapsedTimer clock_;
    QStringList kinds_;
    // How each kind was reached: the window and the button whose click showed it.
    struct Route {
        QString from, button;
    };
    QHash<QString, Route> routes_;
    QSet<QString> tried_;  // "window:button" pairs clicked so far
    Route clicking_;       // the button being clicked, if any
    bool stopping_ = false;
    int quiet_ = 0;  // while set, ticks only answer boxes
    qint64 idleUntil_ = 0;

    std::vector<Doing> doing_;
    QString typingInto_;     // the box the current key goes into
    QString tickingWindow_;  // the window whose Timer1 tick is innermost

    QHash<const QMessageBox*, qint64> answerAt_;
    QHash<const QMessageBox*, int> tries_;

    std::vector<Fault> faults_;
    std::atomic<std::uint64_t> events_{0};
    std::uint64_t actionCount_ = 0;
    std::map<QString, int> byKind_;
    QSet<QString> kindsShown_;
    int boxesAnswered_ = 0;
};

}  // namespace kvtest
