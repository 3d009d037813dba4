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
    // first (a test looks at the program under the box there), then its OK (or first)
    // button is clicked. A box still open when this object goes fails the test and is
    // closed, so that no test waits for a click. The test hook stays cleared afterwards.
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
    void Note();

    std::function<void(QMessageBox*)> whileOpen_;
    QTimer poll_;
    bool answering_ = false;
};
