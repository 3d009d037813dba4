// What both learning windows share: loading initialises ("初期化", Command1); sequential
// learning one step at a time, by hand ("逐次学習", Command2, or F5) or by Timer1 at the
// interval typed in Text1 ("自動学習実行", Command3, or F6), until Command4 ("自動学習実行停止"),
// Escape or a refused step stops the ticks; batch learning (Command5); and the normal run on
// the input boxes ("通常実行", Command6) or on a training row double-clicked in its first two
// columns, or with Return in any of its boxes.
#pragma once

#include <QRect>

#include "kit/form.h"
#include "kit/stepper.h"

class QLineEdit;

namespace kv::learning {

class LearningWindow : public SteppedForm {
    Q_OBJECT
public slots:
    void Form_Load();
    virtual void Command1_Click() = 0;
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    virtual void Command5_Click() = 0;
    void Command6_Click();
    void txtTrain1_DblClick(int Index);
    void txtTrain2_DblClick(int Index);

protected:
    // Text1 is made here, at `timerBox` in the content, so that no window can be without
    // it; the window labels it.
    LearningWindow(const QString& name, const QString& caption, QRect timerBox);

    // One step of sequential learning. A step by hand reports a box it cannot read and
    // stops; a tick says nothing about it and waits for the next tick.
    virtual StepResult LearnOneStep(StepBy by) = 0;
    // The network's output for the input boxes, reporting a box it cannot read.
    virtual void NormalRun() = 0;
    // Copies training row `row` into the input boxes; false (nothing copied) for a row
    // that does not exist.
    virtual bool CopyRow(int row) = 0;

    QLineEdit* Text1;
};

}  // namespace kv::learning
