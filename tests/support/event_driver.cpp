#include "support/event_driver.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QValidator>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "kit/registry.h"
#include "plot/PlotSurface.h"
#include "plot/msgbox.h"
#include "shell/menus.h"

namespace kvtest {
namespace {

// Never a lower-case or capital n: whatever the driver types can then never read as "inf" or
// "nan", so any such text on screen was written by the program.
const char16_t* const kTexts[] = {
    u"", u"-", u"1e", u"1e999", u"-1e308", u"1e300", u"0", u"-0", u"-3", u"2.5", u"1e-320", u"&H10", u"&HFFFF",
    u"０．５", u"１２", u"－１", u" 7 ", u"0.5x", u".", u"3", u"0.01", u"-0.75", u"1000000", u"-1e6", u"1.9", u"100",
    u"1", u"10", u"50", u"5", u"65536", u"-1", u"1.7976931348623157e308", u"4.9e-324", u"1d5", u"e", u"+",
    u"1,5", u"１e３", u"0.5", u"2", u"-2.5", u"32767", u"32768", u"1e15", u"0.00001", u"abc", u"x", u"1 2", u"2.",
    u"-.5", u"1E+2", u"0x10", u"９９９", u"１．５ｅ３"};
const char16_t kAlphabet[] = u"0123456789.-+eE 0123456789０１２３．－，abxyz&H";
const QString kStart = QStringLiteral("frmMain");  // the window the program starts with

QString Shorten(const QString& text, int keep = 60) {
    if (text.size() <= keep) return text;
    return text.left(keep) + QStringLiteral("...(%1 chars)").arg(text.size());
}

bool ShowsNoNumber(const QString& text) {
    return text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

QString WindowName(const QWidget* w) {
    if (!w) return QStringLiteral("-");
    const QString name = w->window()->objectName();
    return name.isEmpty() ? QString::fromLatin1(w->window()->metaObject()->className()) : name;
}

QString BoxOwner(const QMessageBox* box) {
    return box->parentWidget() ? WindowName(box->parentWidget()) : QStringLiteral("(no parent)");
}

// What typing `c` must make of the box's text: the selection replaced, or `c` put in at the
// cursor, unless the length limit leaves no room or the validator refuses the result.
std::optional<QString> AfterTyping(const QLineEdit* box, QChar c) {
    if (!box->inputMask().isEmpty()) return std::nullopt;
    QString text = box->text();
    int at = box->cursorPosition();
    if (box->hasSelectedText()) {
        at = box->selectionStart();
        text.remove(at, box->selectionLength());
    }
    if (text.size() < box->maxLength()) text.insert(at, c);
    int pos = at + 1;
    if (box->validator() && box->validator()->validate(text, pos) == QValidator::Invalid) return box->text();
    return text;
}

// Input enters as a window system hands it over: QGuiApplication tries shortcuts first, drops
// it for a window under a modal box and routes it to the widget under the pointer or with the
// focus. These are the entries QTest's QWindow overloads use, without their trailing
// processEvents(), in which the driver's own ticker would act between a press and its release
// (a handler's own loop, a message box's or a batch run's, still lets it act).
int g_stamp = 0;  // the simulated clock of the pointer, in ms

void MouseAt(QWindow* win, QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::MouseButton button) {
    qt_handleMouseEvent(win, at, win->mapToGlobal(at), held, button, type, Qt::NoModifier, ++g_stamp);
}

// Presses and releases at `at` (twice for a double click, close enough in time to count as
// one); returns the events sent.
int MouseClick(QWindow* window, QPoint at, int times) {
    QPointer<QWindow> win(window);
    g_stamp += 1000;  // far from the last click: never a double click by accident
    for (int n = 0; n < times && win; ++n) {
        MouseAt(win, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        if (win) MouseAt(win, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
    }
    return 2 * times;
}

// A key, with Ctrl held around it when asked, as on a keyboard; returns the events sent.
int KeyClick(QWindow* window, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QPointer<QWindow> win(window);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    if (ctrl) qt_handleKeyEvent(win, QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        if (win) qt_handleKeyEvent(win, type, key, mods, text);
    if (ctrl && win) qt_handleKeyEvent(win, QEvent::KeyRelease, Qt::Key_Control, mods);
    return ctrl ? 4 : 2;
}

// The window's close box: the request comes from the window system, as the title bar's button sends it.
void CloseBox(QWidget* w) {
    if (QWindow* handle = w->windowHandle())
        handle->close();
    else
        w->close();
}

}  // namespace

// --- ActionLog ---------------------------------------------------------------------------

void ActionLog::add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
    while (lines_.size() > keep_) lines_.pop_front();
}

std::string ActionLog::recent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string all;
    for (const std::string& l : lines_) all += "    " + l + "\n";
    return all;
}

// --- StallWatchdog -----------------------------------------------------------------------

StallWatchdog::StallWatchdog(double limitSeconds, std::function<std::string()> describe)
    : limit_(limitSeconds), describe_(std::move(describe)), thread_([this] { watch(); }) {}

StallWatchdog::~StallWatchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void StallWatchdog::watch() {
    using Clock = std::chrono::steady_clock;
    std::uint64_t last = beats_.load();
    Clock::time_point since = Clock::now();
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        wake_.wait_for(lock, std::chrono::milliseconds(200));
        if (stop_) break;
        const std::uint64_t now = beats_.load();
        if (now != last) {
            last = now;
            since = Clock::now();
            continue;
        }
        if (std::chrono::duration<double>(Clock::now() - since).count() > limit_) {
            std::fprintf(stderr, "%s", describe_().c_str());
            std::fflush(stderr);
            std::abort();
        }
    }
}

// --- EventDriver -------------------------------------------------------------------------

// An action on the stack. Answering a box that an outer action raised is an inner action:
// it must not leave the outer one thinking its keys go elsewhere.
struct EventDriver::Scope {
    Scope(EventDriver& d, Doing what) : driver(d), typingInto(d.typingInto_) { driver.doing_.push_back(what); }
    ~Scope() {
        driver.doing_.pop_back();
        driver.typingInto_ = typingInto;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    EventDriver& driver;
    QString typingInto;
};

EventDriver::EventDriver(const DriverOptions& options) : options_(options), rng_(options.seed) {
    kinds_ = kv::WindowKinds();
}

EventDriver::~EventDriver() = default;

void EventDriver::Run() {
    QEventLoop loop;
    loop_ = &loop;
    // Closing the last window ends a real run, and would end this loop with it.
    const bool quitOnLast = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    const std::uint32_t seed = options_.seed;
    const double stall = options_.stallSeconds;
    StallWatchdog dog(stall, [this, seed, stall] {
        return "\nevent driver: no event processed for " + std::to_string(stall) + " s; seed " + std::to_string(seed) +
               " (replay with KORVALEN_DRIVER_SEED=" + std::to_string(seed) + ")\nlast actions:\n" + log_.recent();
    });
    watchdog_ = &dog;
    qApp->installEventFilter(this);

    clock_.start();
    connect(&check_, &QTimer::timeout, this, [this] { Check(); });
    connect(&heartbeat_, &QTimer::timeout, this, [this] { watchdog_->beat(); });
    Ticker(0)->start(2);
    check_.start(10);
    heartbeat_.start(50);
    loop.exec();
    for (QTimer* t : tickers_) t->stop();
    check_.stop();

    // The end of a run: every automatic run stopped, every window closed and freed.
    for (QWidget* w : QApplication::topLevelWidgets())
        for (QTimer* t : w->findChildren<QTimer*>(QStringLiteral("Timer1"))) t->stop();
    kv::CloseAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    heartbeat_.stop();
    qApp->removeEventFilter(this);
    watchdog_ = nullptr;
    loop_ = nullptr;
    QApplication::setQuitOnLastWindowClosed(quitOnLast);
}

bool EventDriver::eventFilter(QObject* watched, QEvent* event) {
    if (watchdog_) watchdog_->beat();
    switch (event->type()) {
        case QEvent::Show:
            if (auto* box = qobject_cast<QMessageBox*>(watched)) BoxShown(box);
            // A window a button showed is reached again through that button.
            else if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && !clicking_.button.isEmpty() &&
                                                                kinds_.contains(w->objectName()))
                routes_.insert(w->objectName(), clicking_);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
            // Real input never reaches a window under a modal box.
            if (auto* w = qobject_cast<QWidget*>(watched); w && event->spontaneous())
                if (const QWidget* modal = QApplication::activeModalWidget(); modal && w->window() != modal)
                    AddFault(QStringLiteral("input reached a window under a modal box"), WindowName(w),
                             QStringLiteral("%1 of %2 got a press while %3 was open")
                                 .arg(w->objectName(), WindowName(w), WindowName(modal)));
            break;
        case QEvent::Hide:
            // Boxes live on the stack, so the next one may well have the same address.
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                answerAt_.remove(box);
                tries_.remove(box);
            }
            break;
        case QEvent::Timer:
            if (watched->objectName() == QLatin1String("Timer1") && qobject_cast<QTimer*>(watched))
                return TimerTick(watched, event);
            break;
        default:
            break;
    }
    return false;
}

bool EventDriver::TimerTick(QObject* timer, QEvent* event) {
    auto* owner = qobject_cast<QWidget*>(timer->parent());
    QPointer<QWidget> window = owner ? owner->window() : nullptr;
    const bool underBox = !VisibleBoxes().isEmpty();
    const QStringList before = underBox && window ? TextsOf(window) : QStringList();
    const QString outer = tickingWindow_;
    tickingWindow_ = WindowName(window);
    const QString name = tickingWindow_;
    {
        Scope s(*this, Doing::Tick);
        timer->event(event);
    }
    tickingWindow_ = outer;
    if (underBox && window && TextsOf(window) != before)
        AddFault(QStringLiteral("timer step while a message box is open"), name,
                 QStringLiteral("Timer1 of %1 changed its window while a message box was open").arg(name));
    return true;
}

QStringList EventDriver::TextsOf(const QWidget* window) const {
    QStringList texts;
    for (const QLineEdit* b : window->findChildren<QLineEdit*>())
        texts << b->text() + QLatin1Char('|') + b->palette().color(QPalette::Base).name();
    for (const QLabel* l : window->findChildren<QLabel*>()) texts << l->text();
    return texts;
}

QList<QMessageBox*> EventDriver::VisibleBoxes() const {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) boxes << box;
    return boxes;
}

void EventDriver::Note(const char* kind, const QString& what, const QWidget* where) {
    ++actionCount_;
    ++byKind_[QString::fromLatin1(kind)];
    const std::string line = QStringLiteral("#%1 %2s [%3] %4")
                                 .arg(actionCount_)
                                 .arg(Seconds(), 0, 'f', 3)
                                 .arg(WindowName(where), what)
                                 .toStdString();
    log_.add(line);
    if (options_.verbose) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

void EventDriver::AddFault(const QString& kind, const QString& key, const QString& detail) {
    const QString full = kind + QLatin1Char('|') + key;
    for (Fault& f : faults_)
        if (f.key == full) {
            ++f.count;
            return;
        }
    Fault f{kind, full, detail, log_.recent(), Seconds(), 1};
    std::fprintf(stderr, "event driver: FAULT at %.3f s (seed %u): %s: %s\n", f.at, options_.seed,
                 kind.toStdString().c_str(), detail.toStdString().c_str());
    faults_.push_back(std::move(f));
}

void EventDriver::ReportBoxes(const QList<QMessageBox*>& boxes) {
    QStringList owners, texts;
    for (QMessageBox* b : boxes) {
        owners << BoxOwner(b);
        texts << QStringLiteral("%1: 「%2」").arg(BoxOwner(b), Shorten(b->text()));
    }
    owners.sort();
    AddFault(QStringLiteral("two message boxes at once"), owners.join(QLatin1Char('+')), texts.join(QStringLiteral(" / ")));
}

void EventDriver::Check() {
    if (watchdog_) watchdog_->beat();
    const QList<QMessageBox*> boxes = VisibleBoxes();
    if (boxes.size() > 1) ReportBoxes(boxes);
    for (QMessageBox* b : boxes) {
        const QScreen* screen = b->screen() ? b->screen() : QGuiApplication::primaryScreen();
        const QRect room = screen->availableGeometry();
        const QSize size = b->frameGeometry().size();
        if (size.width() > room.width() || size.height() > room.height())
            AddFault(QStringLiteral("message box larger than the screen"), BoxOwner(b),
                     QStringLiteral("%1x%2 on a %3x%4 screen, from %5: 「%6」")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(room.width())
                         .arg(room.height())
                         .arg(BoxOwner(b), Shorten(b->text())));
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (kinds_.contains(top->objectName())) kindsShown_.insert(top->objectName());
        const QString where = WindowName(top);
        for (const QLineEdit* b : top->findChildren<QLineEdit*>())
            if (ShowsNoNumber(b->text()))
                AddFault(QStringLiteral("inf or nan on screen"), where + QLatin1Char(':') + b->objectName(),
                         QStringLiteral("%1 %2 shows 「%3」").arg(where, b->objectName(), Shorten(b->text())));
        for (const QLabel* l : top->findChildren<QLabel*>())
            if (ShowsNoNumber(l->text()))
                AddFault(QStringLiteral("inf or nan on screen"), where + QLatin1Char(':') + l->objectName(),
                         QStringLiteral("%1 %2 shows 「%3」").arg(where, l->objectName(), Shorten(l->text())));
    }
}

void EventDriver::BoxShown(QMessageBox* box) {
    if (answerAt_.contains(box)) return;
    // Most boxes are answered at once; some are read for a while, so timers keep running.
    const int r = Pick(100);
    const qint64 delay = r < 75 ? 0 : r < 95 ? 20 + Pick(300) : 300 + Pick(1200);
    answerAt_[box] = clock_.elapsed() + delay;
    tries_[box] = 0;

    QList<QMessageBox*> boxes = VisibleBoxes();
    if (!boxes.contains(box)) boxes << box;
    if (boxes.size() > 1) ReportBoxes(boxes);
    if (box->windowTitle() != kv::kAppTitle)
        AddFault(QStringLiteral("message box without the program's title"), BoxOwner(box),
                 QStringLiteral("title 「%1」 on 「%2」").arg(box->windowTitle(), Shorten(box->text())));
    if (doing_.empty()) return;
    const QString text = box->text();
    if (doing_.back() == Doing::Typing)
        AddFault(QStringLiteral("message box while typing"), BoxOwner(box) + QLatin1Char(':') + typingInto_,
                 QStringLiteral("a key into %1 of %2 raised 「%3」").arg(typingInto_, BoxOwner(box), Shorten(text)));
    if (doing_.back() == Doing::Tick && text.contains(QStringLiteral("の欄")))
        AddFault(QStringLiteral("message box about a text box from a timer tick"),
                 tickingWindow_ + QLatin1Char(':') + text.section(QStringLiteral("」"), 0, 0),
                 QStringLiteral("a Timer1 tick of %1 raised 「%2」").arg(tickingWindow_, Shorten(text)));
}

QTimer* EventDriver::Ticker(std::size_t level) {
    while (tickers_.size() <= level) {
        auto* t = new QTimer(this);
        const std::size_t n = tickers_.size();
        connect(t, &QTimer::timeout, this, [this, n] { TickAt(n); });
        tickers_.push_back(t);
    }
    return tickers_[level];
}

void EventDriver::TickAt(std::size_t level) {
    // Whatever runs a nested event loop during this tick gets its ticks from the next level.
    QTimer* inner = Ticker(level + 1);
    inner->start(2);
    Tick();
    inner->stop();
}

void EventDriver::Tick() {
    if (watchdog_) watchdog_->beat();
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!modal && !box) {
        const QList<QMessageBox*> boxes = VisibleBoxes();
        if (!boxes.isEmpty()) box = boxes.first();
    }
    if (box) {
        if (!answerAt_.contains(box)) BoxShown(box);
        if (stopping_ || clock_.elapsed() >= answerAt_.value(box)) {
            AnswerBox(box);
            Check();
        }
        return;
    }
    if (modal) {
        Scope s(*this, Doing::Close);
        Note("close", QStringLiteral("close the modal window %1").arg(WindowName(modal)), modal);
        ++events_;
        CloseBox(modal);
        return;
    }
    if (stopping_) {
        const QList<QWidget*> open = OpenWindows();
        if (doing_.empty()) {
            loop_->quit();
        } else if (!quiet_ && !open.isEmpty()) {
            // A handler still running its own loop (a batch run) ends when its window closes,
            // as when the learner quits the program; the run then ends on time.
            Scope s(*this, Doing::Close);
            Note("close", QStringLiteral("close the window to quit"), open.first());
            CloseBox(open.first());
        }
        return;
    }
    if (Seconds() >= options_.seconds) {
        stopping_ = true;
        Note("stop", QStringLiteral("time is up"));
        return;
    }
    // Deep nesting means a handler is still running under several boxes: let it unwind. While
    // the driver waits for a window to come forward, it only answers what comes up.
    if (clock_.elapsed() < idleUntil_ || doing_.size() >= 4 || quiet_) return;
    Act();
    Check();
}

void EventDriver::Act() {
    for (const QString& kind : kinds_)
        if (!kindsShown_.contains(kind)) {
            if (Open(kind)) return;
            break;
        }
    QWidget* window = PickWindow();
    if (!window) {
        Open(kinds_[Pick(static_cast<int>(kinds_.size()))]);
        return;
    }
    const int r = Pick(100);
    if (r < 3) {
        // Mostly a window that is not open: a closed one comes back with its defaults.
        QStringList closed;
        for (const QString& k : kinds_)
            if (!kv::WindowInstance(k) || !kv::WindowInstance(k)->isVisible()) closed << k;
        const QStringList& from = closed.isEmpty() || Chance(0.3) ? kinds_ : closed;
        Open(from[Pick(static_cast<int>(from.size()))]);
    } else if (r < 27) {
        ClickButton(window);
    } else if (r < 53) {
        TypeIntoBox(window);
    } else if (r < 61) {
        EditBox(window);
    } else if (r < 69) {
        DoubleClickBox(window);
    } else if (r < 76) {
        PressKey(window);
    } else if (r < 79) {
        MoveOver(window);
    } else if (r < 80) {
        MoveToOtherScreen(window);
    } else if (r < 84) {
        CloseWindow();
    } else if (r < 90) {
        QueueInputThenClick(window);
    } else if (r < 91) {
        const int ms = 20 + Pick(600);
        Note("idle", QStringLiteral("wait %1 ms").arg(ms));
        idleUntil_ = clock_.elapsed() + ms;
    } else {
        ClickButton(window);
    }
}

// --- choices -----------------------------------------------------------------------------

QList<QWidget*> EventDriver::OpenWindows() const {
    QList<QWidget*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && kinds_.contains(w->objectName())) open << w;
    return open;
}

QWidget* EventDriver::PickWindow() {
    // Windows with boxes to fill get more of the driver's attention than the menus.
    const QList<QWidget*> open = OpenWindows();
    std::vector<int> weights;
    for (QWidget* w : open) weights.push_back(3 + std::min<int>(6, static_cast<int>(w->findChildren<QLineEdit*>().size())));
    if (open.isEmpty()) return nullptr;
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    return open[pick(rng_)];
}

template <typename T>
T* EventDriver::PickReachable(QWidget* window) {
    QList<T*> reachable;
    for (T* c : window->findChildren<T*>())
        if (Reachable(c)) reachable << c;
    return reachable.isEmpty() ? nullptr : reachable[Pick(static_cast<int>(reachable.size()))];
}

QString EventDriver::PickText() {
    const int r = Pick(100);
    if (r < 58) return QString::fromUtf16(kTexts[Pick(static_cast<int>(std::size(kTexts)))]);
    const int letters = static_cast<int>(std::size(kAlphabet)) - 1;
    if (r < 94) {
        QString text;
        for (int i = 1 + Pick(8); i > 0; --i) text += QChar(kAlphabet[Pick(letters)]);
        return text;
    }
    // A few hundred characters, pasted or typed by a learner leaning on a key; now and then a
    // whole document pasted, beyond the box's length limit.
    const int n = Chance(0.2) ? 1000 + Pick(39000) : 150 + Pick(350);
    switch (Pick(5)) {
        case 0: {
            QString digits = QString(QChar(u'1' + Pick(9)));
            while (digits.size() < n) digits += QChar(u'0' + Pick(10));
            return digits;
        }
        case 1: return QStringLiteral("0.") + QString(n, QChar(u'0')) + QLatin1Char('1');
        case 2: return QLatin1Char('-') + QString(n, QChar(u'9'));
        case 3: return QLatin1Char('1') + QString(n, QChar(u'0'));
        default: {
            QString text;
            while (text.size() < n) text += QChar(kAlphabet[Pick(letters)]);
            return text;
        }
    }
}

// --- hands -------------------------------------------------------------------------------

bool EventDriver::Reachable(const QWidget* w) const {
    if (!w || !w->isVisible() || !w->isEnabled()) return false;
    const QWidget* top = w->window();
    // An open message box blocks every other window, as it does for a real pointer.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && top != modal) return false;
    if (w == top) return true;
    // Only what is not covered by another control can be clicked.
    const QWidget* hit = top->childAt(w->mapTo(top, w->rect().center()));
    return hit == w || w->isAncestorOf(hit);
}

QWindow* EventDriver::Front(QWidget* w) {
    QPointer<QWidget> top = w->window();
    const QWidget* modal = QApplication::activeModalWidget();
    if (!top->isActiveWindow() && (!modal || modal == top)) {
        // The window comes forward and takes the keyboard, as a window manager does at the
        // first click; meanwhile the driver only answers what comes up.
        top->activateWindow();
        ++quiet_;
        QCoreApplication::processEvents();
        --quiet_;
    }
    return top ? top->windowHandle() : nullptr;
}

bool EventDriver::Click(QWidget* w, QPoint at) {
    if (!Reachable(w)) return false;
    // A click within a typing action (copying to another box) is a click: a message it
    // raises came from a press, not from a keystroke.
    if (!doing_.empty() && doing_.back() == Doing::Typing) doing_.back() = Doing::Click;
    return Send(w, at);
}

bool EventDriver::Send(QWidget* w, QPoint at) {
    QPointer<QWidget> target(w);
    QWindow* win = Front(w);
    if (!win || !target) return false;
    const QPoint p = w->mapTo(w->window(), at.isNull() ? w->rect().center() : at);
    const Route outer = clicking_;
    if (qobject_cast<QPushButton*>(w)) {
        clicking_ = {WindowName(w), w->objectName()};
        tried_.insert(clicking_.from + QLatin1Char(':') + clicking_.button);
    }
    events_ += MouseClick(win, p, 1);
    clicking_ = outer;
    return target;
}

bool EventDriver::DoubleClick(QWidget* w) {
    if (!Reachable(w)) return false;
    QPointer<QWidget> target(w);
    QWindow* win = Front(w);
    if (!win || !target) return false;
    // Press, release, then the second press arrives as a double click, and its release.
    events_ += MouseClick(win, w->mapTo(w->window(), w->rect().center()), 2);
    return target;
}

void EventDriver::Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods) {
    if (!to) return;
    // Return and Enter ask the box's window to act, as its button would (a table's row runs):
    // a message they raise comes from a press, not from typing.
    const bool typing = qobject_cast<QLineEdit*>(to) && key != Qt::Key_Return && key != Qt::Key_Enter;
    if (!doing_.empty() && doing_.back() != Doing::Answer) doing_.back() = typing ? Doing::Typing : Doing::Key;
    typingInto_ = to->objectName();
    // The key goes to the window's focus, which is `to`.
    const char ascii = QTest::keyToAscii(key);
    if (QWindow* win = Front(to)) events_ += KeyClick(win, key, mods, ascii ? QString(QChar::fromLatin1(ascii)) : QString());
}

void EventDriver::KeyToFocus(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods) {
    if (!window) return;
    QWidget* to = window->focusWidget() ? window->focusWidget() : window;
    if (Reachable(to)) Key(to, key, mods);
}

void EventDriver::TypeInto(QWidget* window, const QString& text) {
    QPointer<QWidget> win(window);
    for (int i = 0; i < text.size();) {
        // Each key goes where the focus is now: a message box may have moved it to another box.
        if (!win) return;
        QWidget* to = win->focusWidget();
        if (!to || !Reachable(to)) return;
        const QChar c = text[i];
        // Full-width characters come from an input method as a whole run, or key by key.
        if (c.unicode() >= 0x80 && to->testAttribute(Qt::WA_InputMethodEnabled) && Chance(0.5)) {
            int end = i;
            while (end < text.size() && text[end].unicode() >= 0x80) ++end;
            Commit(to, text.mid(i, end - i));
            i = end;
            continue;
        }
        // The window comes forward first; whatever that let happen, the key goes where the focus is then.
        QWindow* handle = Front(to);
        if (!handle || !win || !(to = win->focusWidget()) || !Reachable(to)) return;
        QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(to);
        if (!doing_.empty()) doing_.back() = box ? Doing::Typing : Doing::Key;
        typingInto_ = to->objectName();
        const QString before = box ? box->text() : QString();
        // A box that Space clicks, as a button, takes no blank.
        const bool typed = box && !box->isReadOnly() && !(c == u' ' && box->property("spaceClicks").toBool());
        const std::optional<QString> after = typed ? AfterTyping(box, c) : std::nullopt;
        const int key = c.unicode() < 0x80 ? QTest::asciiToKey(c.toLatin1()) : Qt::Key_unknown;
        events_ += KeyClick(handle, key, Qt::NoModifier, QString(c));
        if (box && after && box->text() != *after)
            AddFault(QStringLiteral("typed character lost"), WindowName(box) + QLatin1Char(':') + box->objectName(),
                     QStringLiteral("「%1」 typed into %2 of %3: 「%4」 became 「%5」, not 「%6」")
                         .arg(c)
                         .arg(box->objectName(), WindowName(box), Shorten(before), Shorten(box->text()), Shorten(*after)));
        ++i;
    }
}

void EventDriver::Enter(QWidget* window, const QString& text) {
    // Long texts are pasted: typing tens of thousands of keys would take the whole run.
    if (text.size() > 500 || (text.size() > 100 && Chance(0.5))) {
        QApplication::clipboard()->setText(text);
        KeyToFocus(window, Qt::Key_V, Qt::ControlModifier);
    } else {
        TypeInto(window, text);
    }
}

void EventDriver::Commit(QWidget* to, const QString& text) {
    // An input method hands its text straight to the focus widget, as here.
    QPointer<QWidget> target(to);
    if (!doing_.empty()) doing_.back() = qobject_cast<QLineEdit*>(to) ? Doing::Typing : Doing::Key;
    typingInto_ = to->objectName();
    if (Chance(0.5)) {
        QInputMethodEvent composing(text.left(1 + Pick(static_cast<int>(text.size()))), {});
        ++events_;
        QApplication::sendEvent(to, &composing);
    }
    if (!target) return;
    QInputMethodEvent commit;
    commit.setCommitString(text);
    ++events_;
    QApplication::sendEvent(target, &commit);
}

// --- actions -----------------------------------------------------------------------------

bool EventDriver::Open(const QString& kind) {
    Scope s(*this, Doing::Open);
    const auto shown = [](const QString& k) { return kv::WindowInstance(k) && kv::WindowInstance(k)->isVisible(); };
    if (kind == kStart) {
        Note("open", QStringLiteral("start the program at %1").arg(kind));
        return kv::ShowWindow(kind);
    }
    // As a learner does: from the main menu through the topic menu to the window.
    const auto route = routes_.constFind(kind);
    if (route == routes_.cend()) return shown(kStart) ? Explore() : Open(kStart);
    if (!shown(route->from)) {
        if (!Open(route->from)) return false;
        if (!shown(route->from)) return true;
    }
    auto* button = kv::WindowInstance(route->from)->findChild<QPushButton*>(route->button);
    if (!button) return false;
    Note("open", QStringLiteral("click %1 「%2」 to open %3").arg(button->objectName(), button->text(), kind), button);
    Click(button);
    return true;
}

bool EventDriver::Explore() {
    // Looking for a window not seen yet: a button not pressed yet, a menu's first.
    QList<QPushButton*> menus, others;
    for (QWidget* w : OpenWindows())
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (Reachable(b) && !tried_.contains(WindowName(b) + QLatin1Char(':') + b->objectName()))
                (qobject_cast<kv::MenuWindow*>(w) ? menus : others) << b;
    const QList<QPushButton*>& from = menus.isEmpty() ? others : menus;
    if (from.isEmpty()) return false;
    QPushButton* b = from[Pick(static_cast<int>(from.size()))];
    Scope s(*this, Doing::Click);
    Note("open", QStringLiteral("look for a window behind %1 「%2」").arg(b->objectName(), b->text()), b);
    Click(b);
    return true;
}

void EventDriver::ClickButton(QWidget* window) {
    QPushButton* b = PickReachable<QPushButton>(window);
    if (!b) return;
    Scope s(*this, Doing::Click);
    Note("click", QStringLiteral("click %1 「%2」").arg(b->objectName(), b->text()), window);
    Click(b);
}

void EventDriver::TypeIntoBox(QWidget* window) {
    QLineEdit* box = PickReachable<QLineEdit>(window);
    if (!box) return;
    Scope s(*this, Doing::Click);
    const QString text = PickText();
    const int how = Pick(4);
    static const char* const kHow[] = {"over all of", "at the end of", "where clicked in", "after clearing"};
    Note("type", QStringLiteral("type 「%1」 %2 %3").arg(Shorten(text), QLatin1String(kHow[how]), box->objectName()), window);
    QPointer<QWidget> win(window);
    if (!Click(box, QPoint(2 + Pick(std::max(1, box->width() - 4)), box->height() / 2)) || !win) return;
    switch (how) {
        case 0: KeyToFocus(win, Qt::Key_A, Qt::ControlModifier); break;
        case 1: KeyToFocus(win, Qt::Key_End); break;
        case 3:
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_Delete);
            break;
        default: break;
    }
    if (win) Enter(win, text);
}

void EventDriver::EditBox(QWidget* window) {
    QLineEdit* box = PickReachable<QLineEdit>(window);
    if (!box) return;
    Scope s(*this, Doing::Click);
    static const char* const kHow[] = {"backspace at the end of", "select all and delete in", "delete at the start of",
                                       "select all and backspace in", "undo in", "cut and paste back in",
                                       "copy to another box from"};
    const int how = Pick(static_cast<int>(std::size(kHow)));
    Note("edit", QStringLiteral("%1 %2").arg(QLatin1String(kHow[how]), box->objectName()), window);
    QPointer<QWidget> win(window);
    if (!Click(box) || !win) return;
    switch (how) {
        case 0:
            KeyToFocus(win, Qt::Key_End);
            for (int k = 1 + Pick(6); k > 0 && win; --k) KeyToFocus(win, Qt::Key_Backspace);
            break;
        case 1:
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_Delete);
            break;
        case 2:
            KeyToFocus(win, Qt::Key_Home);
            for (int k = 1 + Pick(3); k > 0 && win; --k) KeyToFocus(win, Qt::Key_Delete);
            break;
        case 3:
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_Backspace);
            break;
        case 4: KeyToFocus(win, Qt::Key_Z, Qt::ControlModifier); break;
        case 5:
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_X, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_V, Qt::ControlModifier);
            break;
        default: {
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_C, Qt::ControlModifier);
            if (!win) return;
            QLineEdit* other = PickReachable<QLineEdit>(win);
            if (!other || !Click(other) || !win) return;
            KeyToFocus(win, Qt::Key_A, Qt::ControlModifier);
            KeyToFocus(win, Qt::Key_V, Qt::ControlModifier);
        }
    }
}

void EventDriver::DoubleClickBox(QWidget* window) {
    QLineEdit* box = PickReachable<QLineEdit>(window);
    if (!box) return;
    Scope s(*this, Doing::DoubleClick);
    Note("double-click", QStringLiteral("double-click %1").arg(box->objectName()), window);
    QPointer<QWidget> win(window);
    if (!DoubleClick(box) || !win) return;
    // Typing over the word the double click selected.
    if (Chance(0.3)) Enter(win, PickText());
}

void EventDriver::PressKey(QWidget* window) {
    static const Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backtab,
                                    Qt::Key_Space,  Qt::Key_Up,    Qt::Key_Down,   Qt::Key_Left, Qt::Key_Right,
                                    Qt::Key_Home,   Qt::Key_End,   Qt::Key_Tab,    Qt::Key_Space};
    const Qt::Key key = kKeys[Pick(static_cast<int>(std::size(kKeys)))];
    Scope s(*this, Doing::Key);
    const QWidget* to = window->focusWidget() ? window->focusWidget() : window;
    Note("key", QStringLiteral("press %1 on %2").arg(QKeySequence(key).toString(), to->objectName()), window);
    KeyToFocus(window, key);
}

void EventDriver::MoveOver(QWidget* window) {
    QList<QWidget*> reachable;
    for (QWidget* c : window->findChildren<QWidget*>())
        if (Reachable(c)) reachable << c;
    if (reachable.isEmpty()) return;
    QPointer<QWidget> w = reachable[Pick(static_cast<int>(reachable.size()))];
    Scope s(*this, Doing::Move);
    Note("move", QStringLiteral("move the pointer over %1").arg(w->objectName()), window);
    for (int k = 1 + Pick(6); k > 0 && w && Reachable(w) && w->window()->windowHandle(); --k) {
        ++events_;
        MouseAt(w->window()->windowHandle(), QEvent::MouseMove, w->mapTo(w->window(), QPoint(Pick(w->width()), Pick(w->height()))),
                Qt::NoButton, Qt::NoButton);
    }
}

void EventDriver::MoveToOtherScreen(QWidget* window) {
    // Onto a screen of another ratio, in whatever state the window is: its plots must follow.
    QList<QScreen*> others;
    for (QScreen* s : QGuiApplication::screens())
        if (s->devicePixelRatio() != window->devicePixelRatioF()) others << s;
    if (others.isEmpty() || !Reachable(window)) return;
    QScreen* to = others[Pick(static_cast<int>(others.size()))];
    Scope s(*this, Doing::Move);
    Note("screen", QStringLiteral("move the window to the screen at %1 %").arg(100 * to->devicePixelRatio()), window);
    ++events_;
    window->setScreen(to);
    window->move(to->geometry().topLeft() + QPoint(Pick(120), Pick(120)));
    QApplication::processEvents();
    if (!window->isVisible()) return;
    for (const kv::PlotSurface* plot : window->findChildren<kv::PlotSurface*>())
        if (plot->pixelRatio() != window->devicePixelRatioF())
            AddFault(QStringLiteral("plot not at its screen's ratio"), window->objectName(),
                     QStringLiteral("%1 at %2, its window at %3")
                         .arg(plot->objectName())
                         .arg(plot->pixelRatio())
                         .arg(window->devicePixelRatioF()));
}

void EventDriver::CloseWindow() {
    const QList<QWidget*> open = OpenWindows();
    if (open.isEmpty()) return;
    // A window whose automatic run is going is the interesting one to close.
    std::vector<int> weights;
    for (QWidget* w : open) {
        const QTimer* t = w->findChild<QTimer*>(QStringLiteral("Timer1"));
        weights.push_back(t && t->isActive() ? 8 : 1);
    }
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    QWidget* w = open[pick(rng_)];
    if (!Reachable(w)) return;
    const QTimer* t = w->findChild<QTimer*>(QStringLiteral("Timer1"));
    Scope s(*this, Doing::Close);
    Note("close", t && t->isActive() ? QStringLiteral("close the window while its timer runs") : QStringLiteral("close the window"), w);
    ++events_;
    CloseBox(w);
}

void EventDriver::QueueInputThenClick(QWidget* window) {
    // Clicks made while a handler holds the thread wait in the queue and arrive after it;
    // a box that is open by then blocks them, as it blocks real ones.
    for (int n = 1 + Pick(3); n > 0; --n) {
        QWidget* in = Chance(0.7) ? window : PickWindow();
        if (!in) continue;
        QWidget* control = Chance(0.6) ? static_cast<QWidget*>(PickReachable<QPushButton>(in))
                                       : static_cast<QWidget*>(PickReachable<QLineEdit>(in));
        if (!control) continue;
        const QString name = control->objectName();
        Note("queue", QStringLiteral("queue a click on %1").arg(name), in);
        QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(control), name] {
            if (!target || !target->isVisible()) {
                Note("queue", QStringLiteral("queued click on %1 dropped").arg(name));
                return;
            }
            // Sent even under a message box: Qt must hold it back there.
            Scope s(*this, Doing::Click);
            Note("queue", QStringLiteral("queued click on %1 arrives").arg(name), target);
            Send(target);
        });
    }
    ClickButton(window);
}

void EventDriver::AnswerBox(QMessageBox* box) {
    if (++tries_[box] > 30) {
        AddFault(QStringLiteral("message box that does not close"), BoxOwner(box), Shorten(box->text()));
        box->done(0);
        return;
    }
    Scope s(*this, Doing::Answer);
    ++boxesAnswered_;
    const QString text = Shorten(box->text(), 40);
    const int r = Pick(100);
    if (const QList<QAbstractButton*> buttons = box->buttons(); r < 60 && !buttons.isEmpty()) {
        QAbstractButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
        Note("answer", QStringLiteral("answer 「%1」 with 「%2」").arg(text, b->text()), box);
        Click(b);
    } else if (r < 80) {
        Note("answer", QStringLiteral("answer 「%1」 with Return").arg(text), box);
        Key(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    } else if (r < 92) {
        Note("answer", QStringLiteral("answer 「%1」 with Escape").arg(text), box);
        Key(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
    } else {
        Note("answer", QStringLiteral("close 「%1」 by its close box").arg(text), box);
        ++events_;
        CloseBox(box);
    }
}

}  // namespace kvtest
