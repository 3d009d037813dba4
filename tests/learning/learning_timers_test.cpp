// The learning windows' automatic runs through the real event loop: with other windows'
// runs and real message boxes about, and stopped by Escape.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "kit/controls.h"
#include "learning/frmFeedFowardLearning.h"
#include "learning/frmUnitLearning.h"
#include "neuron/frmTimeModel.h"
#include "plot/timer.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"

namespace {

class LearningTimers : public UiTest {
protected:
    int interval(QWidget* w) { return kv::TimerInterval(child<QTimer>(w, "Timer1")); }
    // Every box of the window, as one text: changes whenever a step shows anything.
    QString shown(QWidget* w) {
        QString all;
        for (const QLineEdit* b : w->findChildren<QLineEdit*>()) {
            const kv::Rgb c = kv::BackColor(b);
            all += QStringLiteral("%1=%2 (%3,%4,%5);").arg(b->objectName(), b->text()).arg(c.r).arg(c.g).arg(c.b);
        }
        return all;
    }
};

TEST_F(LearningTimers, AnOverflowBoxHoldsTheRunOfAnotherWindow) {
    auto* time = open<kv::frmTimeModel>();
    type(time, "txtIpsi", "0.1");  // settles about 130 ticks after its start
    type(time, "txtTimer", "2");
    auto* unit = open<kv::frmUnitLearning>();
    type(unit, "txtTrain1(0)", "1e300");
    type(unit, "txtTrain3(0)", "1e300");  // the first update overflows
    type(unit, "Text1", "1");

    QString before, under;
    RealBoxes boxes([&](QMessageBox* box) {
        if (!box->text().contains(QStringLiteral("訓練データ 1行目"))) return;
        before = text(time, "txtS");
        boxes.WaitCounting(500);
        under = text(time, "txtS");
    });
    call(time, "Command1_Click");
    ASSERT_TRUE(boxes.WaitUntil([&] { return !text(time, "txtS").isEmpty(); }, 5000));
    call(unit, "Command3_Click");
    ASSERT_TRUE(boxes.WaitUntil([&] { return boxes.texts.size() >= 2; }, 20000)) << boxes.texts.join("|").toStdString();

    EXPECT_EQ(boxes.mostOpen, 1);
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("訓練データ 1行目"))) << boxes.texts[0].toStdString();
    EXPECT_EQ(boxes.texts[1], QStringLiteral("平衡状態に入りました"));
    EXPECT_FALSE(before.isEmpty());
    EXPECT_EQ(under, before);  // the time-evolution run did not move under the other box
    EXPECT_EQ(text(time, "txtS"), "0.7000");
    EXPECT_EQ(interval(unit), 0);
    EXPECT_EQ(interval(time), 0);
}

TEST_F(LearningTimers, ABatchResultBoxHoldsTheRunOfAnotherWindow) {
    auto* unit = open<kv::frmUnitLearning>();
    type(unit, "Text1", "1");
    auto* net = open<kv::frmFeedFowardLearning>();

    QString before, under;
    RealBoxes boxes([&](QMessageBox*) {
        before = shown(unit);
        boxes.WaitCounting(200);
        under = shown(unit);
    });
    const QString start = shown(unit);
    call(unit, "Command3_Click");
    ASSERT_TRUE(boxes.WaitUntil([&] { return shown(unit) != start; }, 5000));
    call(net, "Command5_Click");
    EXPECT_EQ(boxes.texts, QStringList{"131"});
    EXPECT_EQ(under, before);
    EXPECT_EQ(interval(unit), 1);
    // The run comes back once the box is answered.
    const QString after = shown(unit);
    EXPECT_TRUE(boxes.WaitUntil([&] { return shown(unit) != after; }, 5000));
    call(unit, "Command4_Click");
    EXPECT_EQ(boxes.mostOpen, 1);
}

TEST_F(LearningTimers, EscapeStopsAnAutomaticRunAndStepsByHandGoOn) {
    for (QWidget* w : {static_cast<QWidget*>(open<kv::frmFeedFowardLearning>()), static_cast<QWidget*>(open<kv::frmUnitLearning>())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        type(w, "Text1", "1");
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QLineEdit* timerBox = box(w, "Text1");
        timerBox->setFocus();
        const QString start = shown(w);
        call(w, "Command3_Click");
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown(w) != start; }, 5000));

        QTest::keyClick(timerBox, Qt::Key_Escape);
        EXPECT_EQ(interval(w), 0);
        const QString stopped = shown(w);
        QTest::qWait(30);
        EXPECT_EQ(shown(w), stopped);
        call(w, "Command2_Click");
        EXPECT_NE(shown(w), stopped);
        EXPECT_TRUE(messages.isEmpty());
    }
}

}  // namespace

// A tick that finds a training box it cannot read says nothing and waits; the run goes on
// once the box reads again. A press of 逐次学習 on the same box reports it.
TEST_F(LearningTimers, UnitLearningTicksWaitWhileATrainingBoxIsRetyped) {
    auto* w = open<kv::frmUnitLearning>();
    QApplication::setActiveWindow(w);
    type(w, "Text1", "1");
    call(w, "Command3_Click");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(w, "txtOut").isEmpty(); }, 5000));

    // Every row is read in turn, so every row's box is met while it holds "1e999".
    QLineEdit* cell = box(w, "txtTrain1(1)");
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, "1e999");
    const QString held = shown(w);
    QTest::qWait(60);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_GT(interval(w), 0);  // still running, waiting
    EXPECT_EQ(QApplication::focusWidget(), cell);
    EXPECT_EQ(text(w, "txtTrain1(1)"), "1e999");

    QTest::keyClick(cell, Qt::Key_Backspace);  // "1e99" reads again
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown(w) != held; }, 5000));
    EXPECT_TRUE(messages.isEmpty());

    call(w, "Command4_Click");
    QTest::keyClicks(cell, "9");
    call(w, "Command2_Click");  // the press may stop on row 1 or before it; drive on to it
    for (int i = 0; i < 12 && messages.isEmpty(); ++i) call(w, "Command2_Click");
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.first().contains(QStringLiteral("訓練データ 2行目の入力 1"))) << messages.first().toStdString();
}
