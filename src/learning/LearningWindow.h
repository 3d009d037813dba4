// What both learning windows share: sequential learning one step at a time, by hand
// ("逐次学習", Command2) or by Timer1 at the interval typed in Text1 ("自動学習実行",
// Command3), until Command4 ("自動学習実行停止"), Escape or a refused step stops the ticks.
#pragma once

#include <QRect>
#include <QWidget>

#include "kit/stepper.h"

class QLineEdit;

namespace kv::learning {

class LearningWindow : public QWidget {
    Q_OBJECT
public slots:
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Timer1_Timer();

protected:
    // Text1 is made here, at `timerBox`, so that no window can be without it; the window
    // labels it.
    LearningWindow(const QString& name, const QString& caption, QRect timerBox);

    // One step of sequential learning; false when it was refused (and reported), which
    // ends an automatic run.
    virtual bool LearnOneStep() = 0;

    QLineEdit* Text1;
    Stepper* run_;
};

}  // namespace kv::learning
