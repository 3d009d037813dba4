// Real message boxes in a window test: the test hook is cleared, so the program shows true
// QMessageBox instances, and this answers them as a learner would, one after another.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class QMessageBox;

class RealBoxes : public QObject {
public:
    // Every box is answered within a few milliseconds of showing: `whileOpen` runs for it
    // first (a test looks at the program under the box there, waiting with WaitCounting or
    // WaitUntil), then its OK (or first) button is clicked. A box that opens while another
    // one is being looked at is recorded and answered at once, so that a program showing
    // boxes on top of each other fails the test instead of hanging it; so is one still open
    // when this object goes. The test hook stays cleared afterwards.
    explicit RealBoxes(std::function<void(QMessageBox*)> whileOpen = {});
    ~RealBoxes() override;

    // Message boxes on screen now.
    static int Visible();
    // Lets the event loop run for `ms`, noting how many boxes are on screen as it goes.
    void WaitCounting(int ms);
    // Lets the event loop run until `done` holds or `ms` pass; whether it held.
    bool WaitUntil(const std::function<bool()>& done, int ms);

    QStringList texts;  // the boxes' texts, in the order they appeared
    int mostOpen = 0;   // the most boxes seen on screen at once

private:
    void Poll();
    void Guard();
    void Note();

    std::function<void(QMessageBox*)> whileOpen_;
    QTimer poll_;
    QTimer guard_;  // answers boxes on top of the one being looked at
    QMessageBox* held_ = nullptr;
    bool answering_ = false;
};
