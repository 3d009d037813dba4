#include <QLineEdit>

#include <string_view>

#include "kit/curve_view.h"
#include "kit/registry.h"
#include "plot/numtext.h"
#include "support/ui_test.h"

namespace {

// A window's curve against what the window showed: the point, written with the window's
// pattern, is the text of the box (or the end of the label) that showed its value.
struct Kind {
    const char* name;
    const char* step;  // pressed `presses` times; 0: until the window says it has converged
    int presses;
    const char* box;
    std::string_view pattern;
    int series;        // -1: the point's step
    int fromEnd;       // the point that many before the last; in a bar chart, the bar
    const char* reset;
    const char* batch = nullptr;  // a batch of five passes, counted in `loopBox`
    const char* loopBox = nullptr;
    bool carriesOn = false;  // the batch goes on from the weights as they are, and so does the curve
    bool bars = false;
};

using kv::kFixed3, kv::kFixed4, kv::kFixed6;
constexpr std::string_view kG = kv::kGeneralPattern;
const Kind kKinds[] = {
    {"frmUnitLearning", "Command2_Click", 12, "txtError", kFixed6, 0, 0, "Command1_Click", "Command5_Click", "txtLoop", true},
    {"frmFeedFowardLearning", nullptr, 0, "txtMaxError", kFixed6, 0, 0, "Command1_Click", "Command5_Click", "txtLoop", true},
    {"frmBoltzmannMachineLearning", "Command2_Click", 2, "txtError", kFixed4, 0, 0, "Command1_Click", "Command3_Click",
     "txtNumLearn"},
    {"frmBoltzmannMachineExec", "Command3_Click", 5, "txtP(7)", kFixed3, 0, 7, "Command2_Click", nullptr, nullptr, false, true},
    {"frmSlopeMethod1", "Command3_Click", 0, "lblResult", kFixed4, 0, 1, "Command2_Click"},
    {"frmSlopeMethod2", "Command3_Click", 0, "lblResult", kFixed4, 0, 1, "Command2_Click"},
    {"frmLinearSystem1", "Command3_Click", 3, "lblResult", kFixed6, 0, 0, "Command2_Click"},
    {"frmLinearSystem2", "Command3_Click", 3, "lblResult", kFixed6, 0, 0, "Command2_Click"},
    {"frmMarKovModel", "Command1_Click", 2, "txtNode(0)", kG, 0, 0, "Command2_Click"},
    {"frmMarKovModel2", "Command1_Click", 2, "txtNode(1)", kG, 1, 0, "Command2_Click"},
    {"frmMarKovModel3", "Command1_Click", 3, "txtNode(2)", kG, 2, 0, "Command2_Click"},
    {"frmMarKovModel4", "Command1_Click", 3, "txtNode(3)", kG, 3, 0, "Command2_Click"},
    {"frmMarKovModel5", "Command1_Click", 4, "txtNode(4)", kG, 4, 0, "Command2_Click"},
    {"frmMarKovModel6", "Command1_Click", 5, "txtNode(1)", kG, 1, 0, "Command2_Click"},
    {"frmSOM", "Command2_Click", 2, "Label7", kG, -1, 0, "Command1_Click", "Command3_Click", "txtLoop"},
    {"frmLVQ", "Command2_Click", 2, "Label7", kG, -1, 0, "Command1_Click", "Command3_Click", "txtLoop"},
};

}  // namespace

class CurvesTest : public UiTest {};

TEST_F(CurvesTest, EveryCurveHoldsWhatItsWindowShowedGainsAPointPerPassAndEmptiesOnReset) {
    for (const Kind& k : kKinds) {
        SCOPED_TRACE(k.name);
        QWidget* w = kv::ShowWindow(k.name);
        ASSERT_NE(w, nullptr);
        auto* curve = w->findChild<kv::CurveView*>("Curve1");
        ASSERT_NE(curve, nullptr);

        if (k.batch) {
            if (auto* limit = w->findChild<QLineEdit*>("txtLimitError")) limit->setText("0");  // every pass runs
            type(w, k.loopBox, "5");
            const int before = curve->count();
            call(w, k.batch);
            EXPECT_EQ(curve->count(), (k.carriesOn ? before : 0) + 5);
        }
        messages.clear();
        for (int i = 0; k.step && (k.presses > 0 ? i < k.presses : messages.isEmpty() && i < 400); ++i) call(w, k.step);

        const int point = k.bars ? k.fromEnd : curve->count() - 1 - k.fromEnd;
        const QString expected = QString::fromStdString(
            k.series < 0 ? kv::GeneralText(curve->step(point)) : kv::Format(curve->value(k.series, point), k.pattern));
        if (w->findChild<QLineEdit*>(k.box)) EXPECT_EQ(text(w, k.box), expected);
        else EXPECT_TRUE(text(w, k.box).endsWith(expected)) << text(w, k.box).toStdString() << " / " << expected.toStdString();

        call(w, k.reset);
        if (k.bars) {
            for (int s = 0; s < curve->count(); ++s) EXPECT_EQ(curve->value(0, s), 0) << s;
        } else {
            EXPECT_EQ(curve->count(), 0);
        }
    }
}
