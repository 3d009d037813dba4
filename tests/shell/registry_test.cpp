#include <QApplication>

#include "kit/registry.h"
#include "support/ui_test.h"

class RegistryTest : public UiTest {
protected:
    static void closeAndDispose(QWidget* w) {
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(RegistryTest, OneInstancePerKindBroughtForwardWithItsEdits) {
    QWidget* first = kv::ShowWindow("frmDecision2Model");
    ASSERT_NE(first, nullptr);
    type(first, "txtTheta", "1.25");
    QWidget* again = kv::ShowWindow("frmDecision2Model");
    EXPECT_EQ(again, first);
    EXPECT_EQ(text(again, "txtTheta"), "1.25");
    EXPECT_EQ(kv::WindowInstance("frmDecision2Model"), first);

    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) count += w->objectName() == "frmDecision2Model";
    EXPECT_EQ(count, 1);
}

TEST_F(RegistryTest, AClosedWindowComesBackWithItsDefaults) {
    QWidget* w = kv::ShowWindow("frmDecision2Model");
    ASSERT_NE(w, nullptr);
    type(w, "txtTheta", "1.25");
    type(w, "txtX(1)", "7");
    call(w, "Command1_Click");
    closeAndDispose(w);
    EXPECT_EQ(kv::WindowInstance("frmDecision2Model"), nullptr);

    QWidget* fresh = kv::ShowWindow("frmDecision2Model");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(text(fresh, "txtTheta"), "0.5");
    EXPECT_EQ(text(fresh, "txtX(1)"), "0");
    EXPECT_EQ(text(fresh, "txtS"), "");
}

TEST_F(RegistryTest, NoModelStateSurvivesAClose) {
    // At ε = 0 the error stays at 60, so a step reports the limit whenever the error before it
    // was 60 as well: within one opening, the error of the last run carries into the next.
    const QString limit = QStringLiteral("これ以上の精度は出ません.");
    for (const char* kind : {"frmLinearSystem1", "frmLinearSystem2"}) {
        SCOPED_TRACE(kind);
        messages.clear();
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr);
        type(w, "txtEpsilon", "0");
        call(w, "Command2_Click");
        call(w, "Command3_Click");
        call(w, "Command3_Click");
        call(w, "Command2_Click");
        call(w, "Command3_Click");
        ASSERT_EQ(messages.size(), 2);
        EXPECT_TRUE(messages.last().startsWith(limit));
        closeAndDispose(w);

        // Reopened, the window learns from nothing: its first step is no limit, its second is.
        w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr);
        type(w, "txtEpsilon", "0");
        call(w, "Command2_Click");
        call(w, "Command3_Click");
        EXPECT_EQ(messages.size(), 2);
        call(w, "Command3_Click");
        EXPECT_EQ(messages.size(), 3);
        closeAndDispose(w);
    }
}

TEST_F(RegistryTest, ClosingTheMainMenuLeavesOtherWindowsWorking) {
    QWidget* main = kv::ShowWindow("frmMain");
    call(main, "Command1_Click");
    QWidget* menu = kv::WindowInstance("frmNeuronModel");
    ASSERT_NE(menu, nullptr);
    call(menu, "Command1_Click");
    QWidget* neuron = kv::WindowInstance("frmDecision2Model");
    ASSERT_NE(neuron, nullptr);
    closeAndDispose(main);

    EXPECT_TRUE(neuron->isVisible());
    EXPECT_TRUE(menu->isVisible());
    call(neuron, "Command1_Click");
    EXPECT_EQ(text(neuron, "txtS"), "0.7");
    // The main menu reopens as the one instance again.
    EXPECT_NE(kv::ShowWindow("frmMain"), nullptr);
    EXPECT_EQ(kv::ShowWindow("frmNeuronModel"), menu);
}

// Every window whose timer ticks can wait for a box being typed has the line that says so,
// hidden until a tick waits, below its controls; no other window has one.
TEST_F(RegistryTest, WindowsWhoseTicksCanWaitHaveAStatusLine) {
    const QStringList waiting = {"frmMarKovModel", "frmMarKovModel2", "frmMarKovModel3", "frmMarKovModel4", "frmMarKovModel5",
                                 "frmMarKovModel6", "frmNetworkFeedForward", "frmNetworkRecurrent", "frmSlopeMethod1",
                                 "frmSlopeMethod2", "frmLinearSystem1", "frmLinearSystem2", "frmSOM", "frmLVQ", "frmTimeModel",
                                 "frmUnitLearning", "frmFeedFowardLearning", "frmBoltzmannMachineExec"};
    for (const QString& kind : kv::WindowKinds()) {
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr) << kind.toStdString();
        auto* line = w->findChild<QWidget*>("lblWait");
        EXPECT_EQ(line != nullptr, waiting.contains(kind)) << kind.toStdString();
        if (!line) continue;
        EXPECT_TRUE(line->isHidden()) << kind.toStdString();
        EXPECT_GE(line->y(), w->findChild<QWidget*>("content")->geometry().bottom()) << kind.toStdString();
    }
}

TEST_F(RegistryTest, UnknownKindsShowNothing) {
    EXPECT_EQ(kv::ShowWindow("frmNoSuchWindow"), nullptr);
    EXPECT_EQ(kv::WindowInstance("frmNoSuchWindow"), nullptr);
    EXPECT_TRUE(kv::WindowKinds().contains("frmMain"));
}
