// What both learning windows share: sequential learning one step at a time, by hand
// ("逐次学習", Command2) or by Timer1 at the interval typed in Text1 ("自動学習実行",
// Command3), until Command4 ("自動学習実行停止") or a refused step stops the ticks.
#pragma once

#include <QWidget>

class QLineEdit;
class QTimer;

namespace kv::learning {

class LearningWindow : public QWidget {
    Q_OBJECT
public slots:
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Timer1_Timer();

protected:
    LearningWindow(const QString& name, const QString& caption);

    // One step of sequential learning; false when it was refused.
    virtual bool LearnOneStep() = 0;

    QTimer* Timer1;
    QLineEdit* Text1 = nullptr;  // placed by the window
};

}  // namespace kv::learning
