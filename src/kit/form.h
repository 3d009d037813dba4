// The one set-up every window of the program shares: its name, its caption, its fixed size
// and the content widget that holds its controls. What every window gains later (scrolling
// on a small screen, shortcuts, help) is added here, once.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "kit/stepper.h"

class QLabel;
class QPushButton;
class QScreen;
class QScrollArea;

namespace kv {

class CurveView;
struct CurveSetup;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    // The widget every control of the window is placed in, at the window's top-left corner.
    QWidget* content() const { return content_; }
    // The diagram's controls in the order Tab takes them, as the window declared them.
    const QStringList& tabFlow() const { return tabFlow_; }
    // The last step of building, once every control of the window and of its variant
    // exists: the Tab chain in page order (see kit/tab_chain.h).
    virtual void finishBuilding();

    // Sizes the window for `screen`: at the size of its content where that fits the
    // screen's room (see plot/screen_room.h), otherwise as large as the room allows with
    // the content scrolling inside, the controls where they always are. Runs whenever the
    // window is shown or moves to another screen; whoever places a window before showing
    // it runs it first, to place it at the size it will have.
    void fitToScreen(const QScreen* screen);

    // The help page F1 (and the ヘルプ button) opens from this window: the page of the window
    // kind `page`, at `anchor` when one is given. By default the window's own page.
    void setHelpPage(const QString& page, const QString& anchor = {});
    QString helpPage() const { return helpPage_; }
    QString helpAnchor() const { return helpAnchor_; }

public slots:
    // F1 and the ヘルプ button: shows this window's help page.
    void cmdHelp_Click();

protected:
    // `name` is the window's kind and object name; `caption` its title bar text.
    FormWindow(const QString& name, const QString& caption);
    // Fixes the window to the size of its content.
    void setContentSize(QSize size);
    // For a window whose content is laid out by a layout: the size that layout asks for.
    void fitContent();
    // For a window whose timer ticks can wait for a box the learner is typing: a status
    // line, lblWait, in a strip the window gains below its content, shown while `run`
    // waits, so that a run that stands still says why.
    void showWaitsOf(Stepper* run);
    // A small button the program adds beyond the window's own controls (help, the learning
    // curve), in a row at the window's top-right corner; the first one added stands
    // rightmost. Where a control of the window already stands there, the row stands just
    // below it at the right edge, or, when nothing is free there either, the window gains a
    // strip on its right for the row, outside the scrolling content, so that no control is
    // covered or moved; otherwise the row stands in content() and scrolls with it.
    QPushButton* addCornerButton(const QString& name, const QString& caption);
    // The learning curve in a small window of its own beside this one (kit/curve_window.h),
    // opened by 「学習曲線」 `cmdCurve` in the corner row: its view.
    CurveView* addCurveWindow(CurveSetup setup);

    bool event(QEvent* e) override;

    void showEvent(QShowEvent* event) override;
    // A diagram's controls by name, in the order of its flow: Tab takes them so, as one
    // block of the page. A name the window lacks is passed over.
    void setTabFlow(QStringList names) { tabFlow_ = std::move(names); }

private:
    void applySize();
    // Where the corner row goes: inside content() when that spot is free, else in the strip.
    void placeCornerRow();
    void cornerRowLast();
    void setScrolling(bool on);
    void showWhole(const QWidget* control);

    QWidget* content_;
    QLabel* waitLine_ = nullptr;
    QScrollArea* scroll_ = nullptr;  // only while the window is larger than its screen's room
    bool followsScreen_ = false;
    QList<QPushButton*> corner_;
    int stripWidth_ = 0;
    QStringList tabFlow_;
    QString helpPage_, helpAnchor_;
};

// Shows the help window at the page of window kind `page` (and `anchor` in it).
void ShowHelp(const QString& page, const QString& anchor = {});

// A window whose model steps by hand and on Timer1, through the kit's stepping machine.
class SteppedForm : public FormWindow {
    Q_OBJECT
public:
    void finishBuilding() override;

public slots:
    // Timer1's handler by its name, for whoever drives a window through its handlers;
    // Timer1 itself reaches the stepping machine directly.
    void Timer1_Timer();

protected:
    using FormWindow::FormWindow;
    // Which buttons F5, F6 and Escape press, named in the window's constructor; the buttons
    // may be made after it (by a variant), as they are looked up when building finishes.
    void setRunKeys(RunKeys keys) { keys_ = std::move(keys); }

    // Set in the window's constructor, once its interval box exists.
    Stepper* run_ = nullptr;

private:
    RunKeys keys_;
};

}  // namespace kv
