#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "kit/controls.h"
#include "logic/frmLogicalUnit.h"
#include "support/ui_test.h"

using kv::ArrayName;

namespace {

class LogicWindow : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = open<kv::frmLogicalUnit>();
    }
    QString text(const char* name, int i) { return UiTest::text(w, ArrayName(name, i)); }
    // A real mouse click in the middle of an input box.
    void click(const char* name, int i) {
        QLineEdit* b = box(w, ArrayName(name, i));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    // Clicks the frame's inputs until they hold x1 and x2 (each click toggles 0 and 1).
    void setInputs(int frame, int x1, int x2) {
        if (text("txtIn1", frame) != QString::number(x1)) click("txtIn1", frame);
        if (text("TxtIn2", frame) != QString::number(x2)) click("TxtIn2", frame);
        ASSERT_EQ(text("txtIn1", frame), QString::number(x1));
        ASSERT_EQ(text("TxtIn2", frame), QString::number(x2));
    }

    kv::frmLogicalUnit* w = nullptr;
};

}  // namespace

TEST_F(LogicWindow, DefaultsAfterTheThreeRunButtons) {
    EXPECT_EQ(w->objectName(), "frmLogicalUnit");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("論理素子のニューロンによる表現"));
    const char* captions[] = {"OR", "AND", "EXOR"};
    for (int f = 0; f < 3; ++f) EXPECT_EQ(child<QGroupBox>(w, ArrayName("Frame1", f))->title(), captions[f]);
    EXPECT_EQ(UiTest::text(w, "Label1"), QStringLiteral("入力フィールドをクリックすると値が切り替わります。入力を変えて確認しましょう。"));
    for (int u = 0; u < 5; ++u) {
        EXPECT_EQ(text("txtS", u), "");
        EXPECT_EQ(text("txtX", u), "");
    }
    EXPECT_EQ(text("txtTheta", 1), "1.5");
    EXPECT_EQ(text("txtW1", 3), "-1");
    EXPECT_EQ(text("txtW2", 3), "-1");
    EXPECT_EQ(child<QPushButton>(w, "Command1(0)")->text(), QStringLiteral("実行"));

    child<QPushButton>(w, "Command1(0)")->click();
    child<QPushButton>(w, "Command1(1)")->click();
    child<QPushButton>(w, "Command2")->click();
    const char* sums[] = {"1", "1", "1", "-1", "1"};
    const char* outputs[] = {"1", "0", "1", "0", "1"};
    for (int u = 0; u < 5; ++u) {
        EXPECT_EQ(text("txtS", u), sums[u]) << u;
        EXPECT_EQ(text("txtX", u), outputs[u]) << u;
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_LE(w->width(), 1200);
    EXPECT_LE(w->height(), 800);
}

TEST_F(LogicWindow, TruthTablesByClickingTheInputs) {
    const int pairs[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const char* orTable[] = {"0", "1", "1", "1"};
    const char* andTable[] = {"0", "0", "0", "1"};
    const char* exorTable[] = {"0", "1", "1", "0"};
    for (int p = 0; p < 4; ++p) {
        SCOPED_TRACE(p);
        for (int f = 0; f < 3; ++f) setInputs(f, pairs[p][0], pairs[p][1]);
        EXPECT_EQ(text("txtX", 0), orTable[p]);
        EXPECT_EQ(text("txtX", 1), andTable[p]);
        EXPECT_EQ(text("txtX", 4), exorTable[p]);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LogicWindow, AClickRecomputesEveryCircuitFromItsOwnInputs) {
    click("txtIn1", 0);  // OR's input 1: 1 -> 0; AND and EXOR keep (1, 0)
    EXPECT_EQ(text("txtIn1", 0), "0");
    EXPECT_EQ(text("txtS", 0), "0");
    EXPECT_EQ(text("txtX", 0), "0");
    EXPECT_EQ(text("txtS", 1), "1");
    EXPECT_EQ(text("txtX", 1), "0");
    EXPECT_EQ(text("txtS", 3), "-1");
    EXPECT_EQ(text("txtX", 4), "1");
    EXPECT_EQ(text("txtIn1", 1), "1");
    EXPECT_EQ(text("txtIn1", 2), "1");
}

TEST_F(LogicWindow, ToggledTextsNonNumbersAndTheTolerance) {
    QLineEdit* in = box(w, "TxtIn2(1)");
    in->setText("abc");  // reads as 0
    click("TxtIn2", 1);
    EXPECT_EQ(in->text(), "1");
    EXPECT_EQ(text("txtX", 1), "1");  // AND with (1, 1)
    in->setText("0.3");
    click("TxtIn2", 1);
    EXPECT_EQ(in->text(), "0.7");
    EXPECT_EQ(in->cursorPosition(), 0);
    EXPECT_EQ(text("txtS", 1), "1.7");

    // A sum less than 0.00001 below the threshold fires; 0.00001 or more below does not.
    type(w, "txtTheta(0)", "1.000009");
    click("TxtIn2", 0);
    click("TxtIn2", 0);  // back to (1, 0): S = 1
    EXPECT_EQ(text("txtX", 0), "1");
    type(w, "txtTheta(0)", "1.00002");
    child<QPushButton>(w, "Command1(0)")->click();
    EXPECT_EQ(text("txtX", 0), "0");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LogicWindow, NumbersBeyondADoubleAreNamedNotUsed) {
    QLineEdit* in = box(w, "txtIn1(0)");
    in->setText("1e999");
    click("txtIn1", 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("OR の入力 1"))) << messages[0].toStdString();
    EXPECT_EQ(in->accessibleName(), QStringLiteral("OR の入力 1"));  // read out by the name messages give it
    EXPECT_EQ(in->text(), "1e999");
    EXPECT_EQ(text("txtS", 0), "");

    // A weight beyond a double stops only its circuit, with one message for the click.
    in->setText("1");
    type(w, "txtW2(4)", "1e999");
    click("txtIn1", 1);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("下のユニット→出力ユニット"))) << messages[1].toStdString();
    EXPECT_EQ(text("txtX", 0), "1");
    EXPECT_EQ(text("txtX", 1), "0");
    EXPECT_EQ(text("txtX", 2), "1");  // the hidden units are shown, the output unit is not
    EXPECT_EQ(text("txtX", 4), "");

    type(w, "txtW1(0)", "1e300");
    type(w, "txtIn1(0)", "1e300");
    child<QPushButton>(w, "Command1(0)")->click();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[2].contains(QStringLiteral("OR のユニット"))) << messages[2].toStdString();
    EXPECT_EQ(text("txtX", 0), "");
}
