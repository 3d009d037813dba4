#include "network/frmNetworkRecurrent.h"

#include <QLabel>
#include <QLineEdit>

#include <vector>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/formula.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

using Net = network::RecurrentNetwork;
using Value = Net::Value;

const char* const kDefaultX[Net::kUnits] = {"1", "0", "0", "1", "0"};
const char* const kDefaultW[Net::kWeights] = {"0.5", "-0.3", "-0.4", "0.5", "0.6", "0.7", "0.3", "0.5"};
const QString kArrowCaptions[frmNetworkRecurrent::kArrows] = {
    QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("→"),
    QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("→"), QStringLiteral("↓"),
    QStringLiteral("→"), QStringLiteral("↑"), QStringLiteral("←"), QStringLiteral("↑")};

// What an update of each unit marks red: the boxes that feed it, the arrows and the
// feedback lines on its inputs.
struct BoxRef {
    Value value;
    int index;
};
struct Marking {
    std::vector<BoxRef> boxes;
    std::vector<int> arrows;
    std::vector<int> lines;
};
const Marking kMarking[Net::kUnits] = {
    {{{Value::kIn, 0}}, {0}, {}},
    {{{Value::kIn, 1}, {Value::kW, 7}}, {1, 13}, {4, 5}},
    {{{Value::kX, 0}, {Value::kX, 1}, {Value::kW, 0}, {Value::kW, 1}}, {2, 4, 6}, {0}},
    {{{Value::kX, 0}, {Value::kX, 1}, {Value::kX, 4}, {Value::kW, 2}, {Value::kW, 3}, {Value::kW, 6}}, {3, 5, 7, 12}, {1, 2, 3}},
    {{{Value::kX, 2}, {Value::kX, 3}, {Value::kW, 4}, {Value::kW, 5}}, {8, 9, 10, 11}, {}},
};

// Geometry. Units 1 and 3 stand in the upper row, 2 and 4 in the lower, 5 between them.
constexpr int kBoxH = 24, kArrowW = 20, kRadius = 50, kResultW = 50;
constexpr int kRowA = 190, kRowB = 390, kRowShift = 17;  // units 3 and 4 sit between their two weights
constexpr int kWeightGap = 34;                            // between the two weight boxes of a unit
constexpr int kInX = 60, kInW = 40;
constexpr int kUnit12X = 178;                             // centre of units 1 and 2
constexpr int kOut12X = 264, kOutW = 44;
constexpr int kArrow23X = 356;
constexpr int kWeight34X = 380, kWeightW = 48;
constexpr int kUnit34X = 502;
constexpr int kOut34X = 588;
constexpr int kWeight45X = 660;
constexpr int kUnit5X = kWeight45X + kWeightW / 2, kUnit5Y = (kRowA + kRowB) / 2;
constexpr int kOut5X = 772, kOut5W = 56;
constexpr int kFeedback6Y = kRowB - kRowShift + kRadius + 23;  // the line into omega6, below unit 4
constexpr int kFeedback7Y = 506;                              // the line along the bottom into omega7
constexpr int kWindowW = 850, kWindowH = 530;

// Unit 5, whose output is fed back into units 2 and 4.
constexpr int kFeedbackUnit = Net::kUnits;

QString Sub(int i) { return QString::number(i); }
// Units are numbered from 1; their boxes, circles and markings from 0.
int At(int unit) { return unit - 1; }

QRect BoxAt(int x, int centreY, int w) { return QRect(x, centreY - kBoxH / 2, w, kBoxH); }

}  // namespace

frmNetworkRecurrent::frmNetworkRecurrent()
    : SteppedForm("frmNetworkRecurrent", QStringLiteral("リカレント型ニューラルネット（構成素子は決定的2値）")) {
    setContentSize(QSize(kWindowW, kWindowH));
    for (int a = 0; a < kArrows; ++a)
        lblArrow[a] = MakeLabel(content(), ArrayName("lblArrow", a), kArrowCaptions[a], QRect(), Qt::AlignCenter);
    BuildUnits();
    BuildWeights();
    BuildFeedback();
    BuildControls();
    DescribeControls(content(), {
        {"txtIn", {}, QStringLiteral("ネットワークへの入力の値（0 か 1）を入れます。")},
        {"txtS", QStringLiteral("和"), QStringLiteral("入力と重みの積の和 S です。")},
        {"txtTheta", QStringLiteral("しきい値"), QStringLiteral("このユニットのしきい値を入れます。")},
        {"txtX", QStringLiteral("出力"), QStringLiteral("このユニットの出力（0 か 1）です。")},
        {"txtW", QStringLiteral("重み"), QStringLiteral("この結線の重みを入れます。")},
    });
    // Tab follows the signal: the inputs into units 1 and 2, their outputs through the weights
    // into units 3 and 4 and on into unit 5, and last the weights that feed X5 back.
    const auto unit = [](int n) {
        return QStringList{ArrayName("txtS", n), ArrayName("txtTheta", n), ArrayName("txtX", n)};
    };
    const auto weights = [](int from, int to) {
        QStringList w;
        for (int j = from; j <= to; ++j) w << ArrayName("txtW", j);
        return w;
    };
    setTabFlow(QStringList{"txtIn(0)"} + unit(0) + QStringList{"txtIn(1)"} + unit(1) + weights(0, 1) + unit(2) + weights(2, 3) +
               unit(3) + weights(4, 5) + unit(4) + weights(6, 7));
}

void frmNetworkRecurrent::BuildUnits() {
    QWidget* c = content();
    const QString inNames[Net::kInputs] = {QStringLiteral("入力1"), QStringLiteral("入力2")};
    const int inY[Net::kInputs] = {kRowA, kRowB};
    for (int i = 0; i < Net::kInputs; ++i) {
        txtIn[i] = MakeLabelledBox(c, ArrayName("lblIn", i), inNames[i], QRect(4, inY[i] - kBoxH / 2, kInX - 8, kBoxH),
                                   ArrayName("txtIn", i), "1", BoxAt(kInX, inY[i], kInW));
        lblArrow[i]->setGeometry(BoxAt(kInX + kInW + 4, inY[i], kArrowW));
    }

    // Centre of each unit and the left edge of its output box.
    const QPoint centres[Net::kUnits] = {{kUnit12X, kRowA}, {kUnit12X, kRowB}, {kUnit34X, kRowA + kRowShift},
                                         {kUnit34X, kRowB - kRowShift}, {kUnit5X, kUnit5Y}};
    const int outX[Net::kUnits] = {kOut12X, kOut12X, kOut34X, kOut34X, kOut5X};
    for (int n = 0; n < Net::kUnits; ++n) {
        const QPoint at = centres[n];
        const QString sub = Sub(n + 1);
        Shape1[n] = new ShapeWidget(c, ArrayName("Shape1", n), QRect(at.x() - kRadius, at.y() - kRadius, 2 * kRadius, 2 * kRadius),
                                    ShapeWidget::kEllipse);
        Shape1[n]->lower();
        QLabel* s = Subscripted(c, ArrayName("lblS", n), ArrayName("lblSSub", n), "S", sub, QPoint(at.x() - 44, at.y() - kBoxH - 2));
        txtS[n] = MakeBox(c, ArrayName("txtS", n), "1", QRect(at.x() - 10, at.y() - kBoxH - 2, kResultW, kBoxH));
        TieSubscripted(s, sub, txtS[n]);
        QLabel* theta = Subscripted(c, ArrayName("lblTheta", n), ArrayName("lblThetaSub", n), QStringLiteral("θ"), sub,
                                    QPoint(at.x() - 44, at.y() + 2));
        txtTheta[n] = MakeBox(c, ArrayName("txtTheta", n), "0.4", QRect(at.x() - 10, at.y() + 2, kResultW, kBoxH));
        TieSubscripted(theta, sub, txtTheta[n]);
        QLabel* x = Subscripted(c, ArrayName("lblX", n), ArrayName("lblXSub", n), "X", sub, QPoint(outX[n] - 30, at.y() - kBoxH / 2));
        txtX[n] = MakeBox(c, ArrayName("txtX", n), kDefaultX[n], BoxAt(outX[n], at.y(), n == At(kFeedbackUnit) ? kOut5W : kOutW));
        TieSubscripted(x, sub, txtX[n]);
    }
}

void frmNetworkRecurrent::BuildWeights() {
    auto weight = [this](int j, QRect box, QPoint label) {
        txtW[j] = MakeBox(content(), ArrayName("txtW", j), kDefaultW[j], box);
        QLabel* omega = Subscripted(content(), ArrayName("lblW", j), ArrayName("lblWSub", j), QStringLiteral("ω"), Sub(j), label);
        TieSubscripted(omega, Sub(j), txtW[j]);
    };
    auto arrow = [this](int a, QRect r) { lblArrow[a]->setGeometry(r); };

    // Units 3 and 4: omega0 (from X1) and omega1 (from X2) into unit 3, omega2 (from X1)
    // and omega3 (from X2) into unit 4; the two weights from the other row sit on crossing lines.
    const int y0 = kRowA, y1 = kRowA + kWeightGap, y2 = kRowB - kWeightGap, y3 = kRowB;
    weight(0, BoxAt(kWeight34X, y0, kWeightW), QPoint(kWeight34X + 6, y0 - kBoxH / 2 - kBoxH - 2));
    weight(1, BoxAt(kWeight34X, y1, kWeightW), QPoint(kWeight34X + 6, y1 + kBoxH / 2));
    weight(2, BoxAt(kWeight34X, y2, kWeightW), QPoint(kWeight34X + 6, y2 - kBoxH / 2 - kBoxH - 2));
    weight(3, BoxAt(kWeight34X, y3, kWeightW), QPoint(kWeight34X + 6, y3 + kBoxH / 2));
    arrow(2, BoxAt(kArrow23X, kRowA, kArrowW));
    arrow(3, BoxAt(kArrow23X, kRowB, kArrowW));
    const int into34 = kWeight34X + kWeightW + 2;
    arrow(4, BoxAt(into34, y0, kArrowW));
    arrow(5, BoxAt(into34, y3, kArrowW));
    arrow(6, BoxAt(into34, y1, kArrowW));
    arrow(7, BoxAt(into34, y2, kArrowW));
    Line1[0] = new LineShape(content(), ArrayName("Line1", 0), QPoint(kOut12X + kOutW, kRowB - kBoxH / 2), QPoint(kWeight34X, y1));
    Line1[1] = new LineShape(content(), ArrayName("Line1", 1), QPoint(kOut12X + kOutW, kRowA + kBoxH / 2), QPoint(kWeight34X, y2));
    // omega0 and omega3 stand on the straight lines from X1 and X2, which carry arrows 2 and 3.
    auto* fromX1 = new LineShape(content(), ArrayName("Line2", 2), QPoint(kOut12X + kOutW, y0), QPoint(kWeight34X, y0));
    auto* fromX2 = new LineShape(content(), ArrayName("Line2", 3), QPoint(kOut12X + kOutW, y3), QPoint(kWeight34X, y3));
    fromX1->lower();
    fromX2->lower();

    // Unit 5: omega4 above it (from X3), omega5 below it (from X4).
    const int y4 = kRowA + kRowShift, y5 = kRowB - kRowShift;
    weight(4, BoxAt(kWeight45X, y4, kWeightW), QPoint(kWeight45X + kWeightW + 4, y4 - kBoxH / 2));
    weight(5, BoxAt(kWeight45X, y5, kWeightW), QPoint(kWeight45X + kWeightW + 4, y5 - kBoxH / 2));
    arrow(8, BoxAt(kOut34X + kOutW + 4, y4, kArrowW));
    arrow(10, BoxAt(kOut34X + kOutW + 4, y5, kArrowW));
    arrow(9, QRect(kUnit5X - kArrowW / 2, y4 + kBoxH / 2, kArrowW, kUnit5Y - kRadius - y4 - kBoxH / 2));
    arrow(11, QRect(kUnit5X - kArrowW / 2, kUnit5Y + kRadius, kArrowW, y5 - kBoxH / 2 - kUnit5Y - kRadius));
}

void frmNetworkRecurrent::BuildFeedback() {
    // omega6 under unit 4, reached by a line down from X5 and left; omega7 under unit 2,
    // reached by a longer one along the bottom and up.
    QWidget* c = content();
    const int unit4Bottom = kRowB - kRowShift + kRadius, unit2Bottom = kRowB + kRadius;
    const QRect w6 = BoxAt(kUnit34X - kWeightW / 2, kFeedback6Y, kWeightW);
    txtW[6] = MakeBox(c, ArrayName("txtW", 6), kDefaultW[6], w6);
    QLabel* omega6 = Subscripted(c, ArrayName("lblW", 6), ArrayName("lblWSub", 6), QStringLiteral("ω"), Sub(6), QPoint(w6.left() - 30, w6.top()));
    TieSubscripted(omega6, Sub(6), txtW[6]);
    new LineShape(c, ArrayName("Line2", 0), QPoint(kUnit34X, w6.top()), QPoint(kUnit34X, unit4Bottom));
    lblArrow[12]->setGeometry(BoxAt(w6.right() + 3, kFeedback6Y, kArrowW));

    const QRect w7(kUnit12X - kWeightW / 2, unit2Bottom + 12, kWeightW, kBoxH);
    txtW[7] = MakeBox(c, ArrayName("txtW", 7), kDefaultW[7], w7);
    QLabel* omega7 = Subscripted(c, ArrayName("lblW", 7), ArrayName("lblWSub", 7), QStringLiteral("ω"), Sub(7), QPoint(w7.right() + 6, w7.top()));
    TieSubscripted(omega7, Sub(7), txtW[7]);
    new LineShape(c, ArrayName("Line2", 1), QPoint(kUnit12X, w7.top()), QPoint(kUnit12X, unit2Bottom));
    lblArrow[13]->setGeometry(QRect(kUnit12X - kArrowW / 2, w7.bottom() + 1, kArrowW, kFeedback7Y - w7.bottom() - 2));

    const int x5Bottom = kUnit5Y + kBoxH / 2, down6 = kOut5X + kOut5W / 4, down7 = kOut5X + kOut5W * 3 / 4;
    Line1[2] = new LineShape(c, ArrayName("Line1", 2), QPoint(down6, x5Bottom), QPoint(down6, kFeedback6Y));
    Line1[3] = new LineShape(c, ArrayName("Line1", 3), QPoint(down6, kFeedback6Y), QPoint(w6.right() + 3 + kArrowW, kFeedback6Y));
    Line1[4] = new LineShape(c, ArrayName("Line1", 4), QPoint(down7, x5Bottom), QPoint(down7, kFeedback7Y));
    Line1[5] = new LineShape(c, ArrayName("Line1", 5), QPoint(down7, kFeedback7Y), QPoint(kUnit12X, kFeedback7Y));
    for (LineShape* l : Line1) l->lower();
}

void frmNetworkRecurrent::BuildControls() {
    using W = frmNetworkRecurrent;
    QWidget* c = content();
    const int right = kWindowW - 14;
    MakeButton(c, "Command1", QStringLiteral("逐次実行"), QRect(right - 448, 12, 104, 30), this, &W::Command1_Click);
    MakeButton(c, "Command2", QStringLiteral("連続実行"), QRect(right - 338, 12, 104, 30), this, &W::Command2_Click);
    MakeButton(c, "Command3", QStringLiteral("連続実行停止"), QRect(right - 228, 12, 118, 30), this, &W::Command3_Click);
    MakeButton(c, "Command4", QStringLiteral("出力初期化"), QRect(right - 104, 12, 104, 30), this, &W::Command4_Click);
    Text1 = MakeLabelledBox(c, "Label2", QStringLiteral("タイマー"), QRect(right - 124, 50, 66, kBoxH), "Text1", "500",
                            QRect(right - 52, 50, 52, kBoxH));
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return UnitStep(by); });
    setRunKeys({.step = "Command1", .start = "Command2", .stop = "Command3"});
    showWaitsOf(run_);
}

void frmNetworkRecurrent::Form_Load() {
    net_.Restart();
    ClearMarks();
}

void frmNetworkRecurrent::Command1_Click() { run_->Step(); }

void frmNetworkRecurrent::Command2_Click() {
    // A continuous run always starts again at unit 1 with X5 = 0; a refused interval
    // leaves the network as it is.
    if (!run_->Start()) return;
    net_.Restart();
    ResetFeedback();
}

void frmNetworkRecurrent::Command3_Click() { run_->Stop(); }

void frmNetworkRecurrent::Command4_Click() { ResetFeedback(); }

StepResult frmNetworkRecurrent::UnitStep(StepBy by) {
    const int u = net_.NextUnit();
    bool wait = false;
    const auto unit = ReadUnit(u, by, &wait);
    if (!unit) return wait ? StepResult::Wait : StepResult::Stop;
    ClearMarks();
    MarkUnit(u);
    ShowUnit(u, *unit);
    net_.Advance();
    return StepResult::Continue;
}

QLineEdit* frmNetworkRecurrent::Box(Value v, int index) const {
    switch (v) {
        case Value::kIn: return txtIn.at(index);
        case Value::kX: return txtX.at(index);
        case Value::kW: return txtW.at(index);
        case Value::kTheta: return txtTheta.at(index);
    }
    return nullptr;
}

std::optional<Net::Unit> frmNetworkRecurrent::ReadUnit(int u, StepBy by, bool* wait) {
    QLineEdit* unread = nullptr;
    QString unreadName;
    bool typedIn = false;  // the sum reads the box that has the keyboard focus
    const Net::Reader read = [&](Value v, int index) -> std::optional<double> {
        QLineEdit* box = Box(v, index);
        typedIn = typedIn || box->hasFocus();
        const auto x = PeekVal(box);
        if (!x && !unread) {
            unread = box;
            switch (v) {
                case Value::kIn: unreadName = QStringLiteral("入力") + Sub(index + 1); break;
                case Value::kX: unreadName = "X" + Sub(index + 1); break;
                case Value::kW: unreadName = QStringLiteral("ω") + Sub(index); break;
                case Value::kTheta: unreadName = QStringLiteral("θ") + Sub(index + 1); break;
            }
        }
        return x;
    };
    const auto unit = Net::UpdateUnit(u, read);
    if (unit) return unit;
    // A tick never names a box (a press does): it waits for one beyond a double. A sum beyond
    // a double it waits out only while the learner types in a box of that sum; otherwise the
    // sum is reported once, as a press reports it, and the run ends.
    *wait = by == StepBy::Timer && (unread || typedIn);
    if (*wait) return unit;
    run_->Stop();
    if (unread) ReadVal(unread, unreadName);  // says which box holds a number beyond a double
    else MsgBox(this, QStringLiteral("「S%1」の和が大きすぎて計算できません。重みと出力の値を小さくしてください。").arg(Sub(u)));
    return unit;
}

void frmNetworkRecurrent::ClearMarks() {
    for (QLabel* a : lblArrow) SetForeColor(a, kBlack);
    for (LineShape* l : Line1) l->setBorderColor(kBlack);
    for (QLineEdit* b : txtIn) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtS) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtTheta) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtX) {
        SetBackColor(b, kWhite);
        SetForeColor(b, kBlack);
    }
    for (QLineEdit* b : txtW) SetBackColor(b, kWhite);
}

void frmNetworkRecurrent::MarkUnit(int u) {
    const Marking& m = kMarking[At(u)];
    for (const BoxRef& r : m.boxes) SetBackColor(Box(r.value, r.index), kRed);
    for (int a : m.arrows) SetForeColor(lblArrow[a], kRed);
    for (int l : m.lines) Line1[l]->setBorderColor(kRed);
    SetBackColor(txtS[At(u)], kYellow);
    SetBackColor(txtTheta[At(u)], kYellow);
    SetBackColor(txtX[At(u)], kBlue);
    SetForeColor(txtX[At(u)], kWhite);  // black on this blue would read at only 2.4:1
}

void frmNetworkRecurrent::ShowUnit(int u, const Net::Unit& unit) {
    SetText(txtS[At(u)], GeneralText(unit.S));
    SetText(txtX[At(u)], GeneralText(unit.X));
}

void frmNetworkRecurrent::ResetFeedback() { SetText(txtX[At(kFeedbackUnit)], "0"); }

}  // namespace kv
