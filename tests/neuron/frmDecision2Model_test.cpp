#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <cmath>

#include "kit/controls.h"
#include "neuron/frmDecision2Model.h"
#include "neuron/frmDecisionAnalogModel.h"
#include "neuron/frmRandom2Model.h"
#include "neuron/frmTimeModel.h"
#include "plot/PlotSurface.h"
#include "plot/numtext.h"
#include "support/ui_test.h"

class BinaryNeuronWindow : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = open<kv::frmDecision2Model>();
        QApplication::setActiveWindow(w);
        plot = child<kv::PlotSurface>(w, "Picture1");
    }
    bool inkAt(float x, float y) const { return colourNear(plot->image(), plot->toPixel(x, y), kv::kBlack); }
    // Black pixels in the column through (x, y), within 3 rows: 3 on a thick line.
    int thickness(float x, float y) const {
        const QPointF p = plot->toPixel(x, y);
        int n = 0;
        for (int dy = -3; dy <= 3; ++dy) n += pixel(plot->image(), int(p.x()), int(p.y()) + dy) == kv::kBlack;
        return n;
    }
    // The strip under the S axis where the "0" and theta labels are printed.
    QImage labelStrip() const {
        const QPointF a = plot->toPixel(-0.1f, -0.08f), b = plot->toPixel(0.6f, -0.45f);
        return plot->image().copy(QRectF(a, b).toRect());
    }

    kv::frmDecision2Model* w = nullptr;
    kv::PlotSurface* plot = nullptr;
};

TEST_F(BinaryNeuronWindow, DefaultsAndTheFiringEdge) {
    EXPECT_EQ(w->windowTitle(), "決定的2値モデル");
    EXPECT_EQ(text(w, "txtS"), "");
    EXPECT_EQ(text(w, "txtY"), "");
    EXPECT_EQ(text(w, "Label5(2)"), "S≧θ\u3000のとき\u3000Y＝1");
    EXPECT_EQ(text(w, "Label5(3)"), "S＜θ\u3000のとき\u3000Y＝0");

    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtS"), "0.7");
    EXPECT_EQ(text(w, "txtY"), "1");

    type(w, "txtX(2)", "0");  // S = 0.5 = theta fires
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtS"), "0.5");
    EXPECT_EQ(text(w, "txtY"), "1");
    type(w, "txtTheta", "0.51");
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtY"), "0");
    type(w, "txtTheta", "abc");  // theta is read leniently: no number is 0
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtY"), "1");
    EXPECT_TRUE(messages.isEmpty());

    // A sum with all its 15 digits shows from its first one, not scrolled to its tail.
    type(w, "txtX(0)", "123456.789012345");
    call(w, "Command1_Click");
    EXPECT_TRUE(text(w, "txtS").startsWith("61728.39"));
    EXPECT_EQ(box(w, "txtS")->cursorPosition(), 0);
}

TEST_F(BinaryNeuronWindow, ResponsePlotFollowsTheScale) {
    EXPECT_TRUE(inkAt(-1.5f, 0));    // thick response below theta
    EXPECT_TRUE(inkAt(1.5f, 1));     // and above it
    EXPECT_TRUE(inkAt(0, 1.5f));     // the Y axis
    EXPECT_TRUE(inkAt(1.95f, 0.025f));  // the S arrowhead
    EXPECT_FALSE(inkAt(-1, 1));      // nothing left of the Y axis at the level Y = 1
    EXPECT_FALSE(inkAt(0.5f, 1.5f)); // no riser above the threshold's dotted line
    // The thick segments are 3 pixels wide; the axis is 1.
    EXPECT_EQ(thickness(-1.5f, 0), 3);
    EXPECT_EQ(thickness(1.5f, 0), 1);
    EXPECT_EQ(thickness(1.5f, 1), 3);
}

TEST_F(BinaryNeuronWindow, ThetaKeystrokesRedrawThePlotButNotTheResults) {
    call(w, "Command1_Click");
    type(w, "txtTheta", "1.5");
    EXPECT_EQ(text(w, "txtY"), "1");
    EXPECT_EQ(text(w, "txtS"), "0.7");
    EXPECT_LE(thickness(1.0f, 1), 1);  // only the dotted level is left of the new threshold
    EXPECT_EQ(thickness(1.8f, 1), 3);
    EXPECT_EQ(thickness(1.0f, 0), 3);

    // Partial texts while typing read as 0, and a value far outside is clipped, not fatal.
    for (const char* t : {"-", ".", "-1e30", "5"}) type(w, "txtTheta", t);
    EXPECT_EQ(thickness(1.5f, 0), 3);
    EXPECT_LE(thickness(1.5f, 1), 1);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BinaryNeuronWindow, NoThetaLabelAtZero) {
    type(w, "txtTheta", "2.5");  // its label falls off the surface: the strip holds only "0"
    const QImage zeroOnly = labelStrip();
    type(w, "txtTheta", "0");
    EXPECT_EQ(labelStrip(), zeroOnly);
    type(w, "txtTheta", "0.25");
    EXPECT_NE(labelStrip(), zeroOnly);
}

TEST_F(BinaryNeuronWindow, UnreadableBoxesWriteAndDrawNothing) {
    call(w, "Command1_Click");
    type(w, "txtTheta", "0.3");
    const QImage before = plot->image();
    type(w, "txtW(1)", "0.3x");
    type(w, "txtX(0)", "2");
    call(w, "Command1_Click");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "「ω2」の欄の「0.3x」は数値として読めません。数値を入力してください。");
    EXPECT_EQ(text(w, "txtS"), "0.7");
    EXPECT_EQ(text(w, "txtY"), "1");
    EXPECT_EQ(text(w, "txtW(1)"), "0.3x");
    EXPECT_EQ(plot->image(), before);
    EXPECT_EQ(QApplication::focusWidget(), box(w, "txtW(1)"));

    type(w, "txtW(1)", "0.3");
    type(w, "txtX(2)", "");
    call(w, "Command1_Click");
    EXPECT_EQ(messages.last(), "「X3」の欄が空です。数値を入力してください。");

    type(w, "txtX(2)", "1");
    type(w, "txtTheta", "1e999");  // too large to draw: the plot stays, silently, while typing
    EXPECT_EQ(plot->image(), before);
    EXPECT_EQ(messages.size(), 2);
    call(w, "Command1_Click");
    EXPECT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages.last().contains("θ"));
    EXPECT_EQ(text(w, "txtS"), "0.7");

    type(w, "txtTheta", "0.5");
    type(w, "txtX(1)", "1e300");
    type(w, "txtW(1)", "1e300");  // each box fine, their product beyond a double
    call(w, "Command1_Click");
    EXPECT_EQ(messages.size(), 4);
    EXPECT_EQ(text(w, "txtS"), "0.7");

    type(w, "txtX(1)", "0");
    call(w, "Command1_Click");
    EXPECT_EQ(text(w, "txtS"), "1.2");
    EXPECT_EQ(text(w, "txtY"), "1");
}

TEST_F(BinaryNeuronWindow, ThresholdFarToTheRightDrawsTheSamePlotAsJustBeyondIt) {
    type(w, "txtTheta", "5");
    const QImage beyond = plot->image();
    for (const char* t : {"7e16", "1e17", "1e30", "4.3e36", "1e37", "3e38"}) {
        type(w, "txtTheta", t);
        // Y = 0 all along S, and no thick Y = 1 anywhere over it (away from the "1" label
        // and the arrowhead).
        for (int k = 0; k < 38; ++k) {
            const float x = -1.95f + 0.1f * float(k);
            if (x > -0.3f && x < 0) continue;
            EXPECT_EQ(thickness(x, 0), 3) << "theta " << t << ", S " << x;
            EXPECT_LE(thickness(x, 1), 1) << "theta " << t << ", S " << x;
        }
        EXPECT_EQ(plot->image(), beyond) << "theta " << t;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BinaryNeuronWindow, ReturnOrEnterOnTheComputeButtonComputes) {
    auto* button = child<QPushButton>(w, "Command1");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(text(w, "txtS"), "0.7");
    type(w, "txtX(1)", "1");
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(text(w, "txtS"), "1");
    EXPECT_TRUE(messages.isEmpty());
}

// What every neuron window shares: the diagram's layout and the way through it by keyboard.
template <typename W>
class NeuronDiagram : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        w = this->template open<W>();
        QApplication::setActiveWindow(w);
    }

    // Where a box draws its text: inside its frame, less the margin a text box keeps.
    static QRect textArea(const QLineEdit* box) {
        QStyleOptionFrame opt;
        opt.initFrom(box);
        opt.rect = box->contentsRect();
        opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
        opt.state |= QStyle::State_Sunken;
        const QRect r = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box).marginsRemoved(box->textMargins());
        return r.adjusted(2, 0, -2, 0);  // the horizontal margin of a text box
    }

    QWidget* w = nullptr;
};

using NeuronWindows = ::testing::Types<kv::frmDecision2Model, kv::frmDecisionAnalogModel, kv::frmRandom2Model, kv::frmTimeModel>;
TYPED_TEST_SUITE(NeuronDiagram, NeuronWindows);

TYPED_TEST(NeuronDiagram, ResultBoxesShowTheLongestNumberWhole) {
    // General texts of 21 and 22 characters, the longest a double gives.
    for (double s : {-1.23456789012345e-100, -8.88888888888888e+300, -0.000888888888888888}) {
        const QString longest = QString::fromStdString(kv::GeneralText(s));
        EXPECT_GE(longest.size(), 21);
        for (const char* name : {"txtS", "txtY", "txtTheta"}) {
            QLineEdit* box = this->box(this->w, name);
            const int needed = QFontMetrics(box->font()).horizontalAdvance(longest) + 1;  // and the cursor
            EXPECT_LE(needed, this->textArea(box).width()) << name << " " << longest.toStdString();
        }
    }
}

TYPED_TEST(NeuronDiagram, NoControlCoversAnother) {
    QList<QWidget*> controls;
    // The window's controls sit in its content widget, which covers the window from its corner.
    for (QWidget* c : static_cast<TypeParam*>(this->w)->content()->template findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (qobject_cast<QLineEdit*>(c) || qobject_cast<QPushButton*>(c) || c->objectName() == "Picture1") controls << c;
    EXPECT_GE(controls.size(), 11);
    for (int i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(this->w->rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
        for (int j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and " << controls[j]->objectName().toStdString();
    }
    // S and theta stand inside the neuron's circle.
    const QRect circle = this->template child<kv::ShapeWidget>(this->w, "Shape1")->geometry();
    const double r = circle.width() / 2.0;
    for (const char* name : {"txtS", "txtTheta", "Label1", "Label2"}) {
        const QRect g = this->w->template findChild<QWidget*>(name)->geometry();
        for (QPoint corner : {g.topLeft(), g.topRight(), g.bottomLeft(), g.bottomRight()})
            EXPECT_LT(std::hypot(corner.x() - circle.center().x(), corner.y() - circle.center().y()), r) << name;
    }
}

TYPED_TEST(NeuronDiagram, EachBoxIsNamedByTheLabelBesideIt) {
    const struct { const char *box, *label, *name; } named[] = {
        {"txtX(0)", "Label3(0)", "X1"}, {"txtW(2)", "Label3(5)", "ω3"}, {"txtS", "Label1", "S"},         {"txtTheta", "Label2", "θ"},
        {"txtY", "Label7", "Y"},        {"txtAlfa", "Label10", "α"},    {"txtTimer", "Label9", "タイマー"}};
    for (const auto& n : named) {
        auto* box = this->w->template findChild<QLineEdit*>(n.box);
        if (!box) continue;  // a box of some of the windows only
        EXPECT_EQ(this->template child<QLabel>(this->w, n.label)->buddy(), box) << n.box;
        // The label's text, after the word that says what it is ("入力 X1").
        EXPECT_TRUE(box->accessibleName().endsWith(QString::fromUtf8(n.name))) << n.box;
    }
}

TYPED_TEST(NeuronDiagram, TabFollowsTheDiagramAndLeavesTheResultsLast) {
    // Each input, then the weight on its line; theta; the window's own boxes; the buttons;
    // the results; the ヘルプ button the program adds.
    QStringList expected;
    for (const char* name : {"txtX(0)", "txtW(0)", "txtX(1)", "txtW(1)", "txtX(2)", "txtW(2)", "txtTheta", "txtAlfa",
                             "txtIpsi", "txtTimer", "Command1", "Command2", "txtS", "txtY", "cmdHelp"})
        if (this->w->template findChild<QWidget*>(name)) expected << name;
    QWidget* first = this->box(this->w, "txtX(0)");
    first->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int n = 0; n < expected.size(); ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited.join(' ').toStdString(), (expected + QStringList{"txtX(0)"}).join(' ').toStdString());  // and round again
}
