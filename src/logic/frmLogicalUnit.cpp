#include "logic/frmLogicalUnit.h"

#include <QGroupBox>
#include <QLineEdit>

#include <cmath>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

constexpr int kOr = 0, kAnd = 1, kExor = 2;
constexpr int kUnitA = 2, kUnitB = 3, kExorOut = 4;
const QString kFrameCaptions[frmLogicalUnit::kFrames] = {"OR", "AND", "EXOR"};
const QString kUnitNames[frmLogicalUnit::kUnits] = {
    QStringLiteral("OR のユニット"), QStringLiteral("AND のユニット"), QStringLiteral("EXOR の上のユニット"),
    QStringLiteral("EXOR の下のユニット"), QStringLiteral("EXOR の出力ユニット")};
// Default texts by unit: the weight boxes txtW1 and txtW2 and the threshold.
const char* const kDefaultW1[frmLogicalUnit::kUnits] = {"1", "1", "1", "-1", "1"};
const char* const kDefaultW2[frmLogicalUnit::kUnits] = {"1", "1", "1", "-1", "1"};
const char* const kDefaultTheta[frmLogicalUnit::kUnits] = {"1", "1.5", "0.5", "0.5", "0.5"};

// Geometry, in the coordinates of each frame. Inputs at the left, the units' circles in one
// column, the EXOR output unit to the right of its hidden units.
constexpr int kBoxH = 24, kArrowW = 20, kRadius = 50;
constexpr int kInX = 64, kInW = 40;
constexpr int kWeightX = 150, kWeightW = 48;
constexpr int kCrossWeightX = 200;  // EXOR: the weights on the crossing lines
constexpr int kUnitX = 320;         // centre of the OR, AND and EXOR hidden units
constexpr int kResultW = 50;
constexpr int kOutW = 44;
constexpr int kFrameX = 10, kFrameW = 770;
constexpr int kGateH = 150, kGateIn1Y = 45, kGateIn2Y = 115, kGateUnitY = 80;
constexpr int kExorH = 290, kExorIn1Y = 80, kExorIn2Y = 230, kExorCrossA = 130, kExorCrossB = 180;
constexpr int kHiddenOutX = 384, kExorWeightX = 470, kExorOutX = 610, kExorOutY = 155;
constexpr int kButtonW = 90, kButtonH = 30;
constexpr int kGap = 8;

QRect BoxAt(int x, int centreY, int w) { return QRect(x, centreY - kBoxH / 2, w, kBoxH); }

// Where the line from `from` towards the centre of a circle meets the circle.
QPoint OnCircle(QPoint from, QPoint centre) {
    const double dx = centre.x() - from.x(), dy = centre.y() - from.y(), len = std::hypot(dx, dy);
    return QPoint(static_cast<int>(std::lround(centre.x() - kRadius * dx / len)),
                  static_cast<int>(std::lround(centre.y() - kRadius * dy / len)));
}

}  // namespace

frmLogicalUnit::frmLogicalUnit() : FormWindow("frmLogicalUnit", QStringLiteral("論理素子のニューロンによる表現")) {
    int top = kGap;
    for (int f = 0; f < kFrames; ++f) {
        const int h = f == kExor ? kExorH : kGateH;
        Frame1[f] = MakeFrame(content(), ArrayName("Frame1", f), kFrameCaptions[f], QRect(kFrameX, top, kFrameW, h));
        top += h + kGap;
    }
    BuildGate(kOr);
    BuildGate(kAnd);
    BuildExor();
    MakeLabel(content(), "Label1", QStringLiteral("入力フィールドをクリックすると値が切り替わります。入力を変えて確認しましょう。"),
              QRect(kFrameX + 4, top, kFrameW - 8, kBoxH));
    setContentSize(QSize(kFrameX + kFrameW + kFrameX, top + kBoxH + kGap));
    DescribeControls(content(), {
        {"txtIn1", {}, QStringLiteral("入力の値です（クリックすると 0 と 1 が切り替わります）。")},
        {"TxtIn2", {}, QStringLiteral("入力の値です（クリックすると 0 と 1 が切り替わります）。")},
        {"txtW1", {}, QStringLiteral("この結線の重みを入れます。")},
        {"txtW2", {}, QStringLiteral("この結線の重みを入れます。")},
        {"txtTheta", {}, QStringLiteral("このユニットのしきい値を入れます。")},
        {"txtS", {}, QStringLiteral("入力と重みの積の和 S です。")},
        {"txtX", {}, QStringLiteral("ユニットの出力（0 か 1）です。")},
    });
    for (int f = 0; f < kFrames; ++f) {
        OnClick(txtIn1[f], [this, f] { txtIn1_Click(f); });
        OnClick(TxtIn2[f], [this, f] { TxtIn2_Click(f); });
    }
    // Tab follows each circuit from its inputs through the weights into each unit and out.
    const auto unit = [](int u) { return QStringList{ArrayName("txtS", u), ArrayName("txtTheta", u), ArrayName("txtX", u)}; };
    QStringList flow;
    for (int g : {kOr, kAnd})
        flow << ArrayName("txtIn1", g) << ArrayName("txtW1", g) << ArrayName("TxtIn2", g) << ArrayName("txtW2", g) << unit(g)
             << ArrayName("Command1", g);
    flow << ArrayName("txtIn1", kExor) << ArrayName("TxtIn2", kExor) << ArrayName("txtW1", kUnitA) << ArrayName("txtW1", kUnitB)
         << unit(kUnitA) << ArrayName("txtW2", kUnitB) << ArrayName("txtW2", kUnitA) << unit(kUnitB) << ArrayName("txtW1", kExorOut)
         << ArrayName("txtW2", kExorOut) << unit(kExorOut) << "Command2";
    setTabFlow(flow);
}

void frmLogicalUnit::BuildUnitBody(QWidget* frame, int u, QPoint c) {
    auto* circle = new ShapeWidget(frame, ArrayName("Shape1", u), QRect(c.x() - kRadius, c.y() - kRadius, 2 * kRadius, 2 * kRadius),
                                   ShapeWidget::kEllipse);
    circle->lower();
    txtS[u] = MakeLabelledBox(frame, ArrayName("lblS", u), "S", QRect(c.x() - 38, c.y() - kBoxH - 2, 22, kBoxH), ArrayName("txtS", u),
                              "", QRect(c.x() - 12, c.y() - kBoxH - 2, kResultW, kBoxH));
    txtTheta[u] = MakeLabelledBox(frame, ArrayName("lblTheta", u), QStringLiteral("θ"), QRect(c.x() - 38, c.y() + 2, 22, kBoxH),
                                  ArrayName("txtTheta", u), kDefaultTheta[u], QRect(c.x() - 12, c.y() + 2, kResultW, kBoxH));
    NameLabelled(txtTheta[u], kUnitNames[u] + QStringLiteral("の θ"));
    txtS[u]->setAccessibleName(kUnitNames[u] + QStringLiteral("の S"));
}

void frmLogicalUnit::NameLabelled(QLineEdit* box, const QString& name) {
    names_[box] = name;
    box->setAccessibleName(name);
}

// An arrow label with its left end at `at` (vertically centred); returns its right end.
QPoint frmLogicalUnit::Arrow(QWidget* frame, QPoint at) {
    MakeLabel(frame, ArrayName("lblArrow", arrows_++), QStringLiteral("→"), BoxAt(at.x(), at.y(), kArrowW), Qt::AlignCenter);
    return QPoint(at.x() + kArrowW + 2, at.y());
}

void frmLogicalUnit::Connect(QWidget* frame, QPoint from, QPoint to) {
    auto* line = new LineShape(frame, ArrayName("Line1", lines_++), from, to);
    line->lower();
}

void frmLogicalUnit::BuildGate(int i) {
    QWidget* frame = Frame1[i];
    const QString& gate = kFrameCaptions[i];
    const int rows[2] = {kGateIn1Y, kGateIn2Y};
    const QPoint centre(kUnitX, kGateUnitY);
    for (int j = 0; j < 2; ++j) {
        const int y = rows[j];
        const QString input = j == 0 ? QStringLiteral("入力 1") : QStringLiteral("入力 2");
        QLineEdit*& in = j == 0 ? txtIn1[i] : TxtIn2[i];
        in = MakeLabelledBox(frame, ArrayName(j == 0 ? "lblIn1" : "lblIn2", i), input, QRect(6, y - kBoxH / 2, kInX - 10, kBoxH),
                             ArrayName(j == 0 ? "txtIn1" : "TxtIn2", i), j == 0 ? "1" : "0", BoxAt(kInX, y, kInW));
        NameLabelled(in, gate + QStringLiteral(" の") + input);
        QLineEdit*& w = j == 0 ? txtW1[i] : txtW2[i];
        w = MakeBox(frame, ArrayName(j == 0 ? "txtW1" : "txtW2", i), j == 0 ? kDefaultW1[i] : kDefaultW2[i], BoxAt(kWeightX, y, kWeightW));
        NameLabelled(w, gate + QStringLiteral(" の重み（%1）").arg(input));
        Connect(frame, QPoint(kInX + kInW, y), QPoint(kWeightX, y));
        const QPoint tip = Arrow(frame, QPoint(kWeightX + kWeightW + 2, y));
        Connect(frame, tip, OnCircle(tip, centre));
    }
    BuildUnitBody(frame, i, centre);
    const QPoint tip = Arrow(frame, QPoint(kUnitX + kRadius + 14, kGateUnitY));
    Connect(frame, QPoint(kUnitX + kRadius, kGateUnitY), QPoint(tip.x() - kArrowW - 2, kGateUnitY));
    txtX[i] = MakeLabelledBox(frame, ArrayName("lblOut", i), QStringLiteral("出力"),
                              QRect(tip.x(), kGateUnitY - kBoxH / 2 - kBoxH, kOutW + 20, kBoxH), ArrayName("txtX", i), "",
                              BoxAt(tip.x(), kGateUnitY, kOutW), Qt::AlignLeft | Qt::AlignVCenter);
    txtX[i]->setAccessibleName(gate + QStringLiteral(" の出力"));
    MakeButton(frame, ArrayName("Command1", i), QStringLiteral("実行"),
               QRect(kFrameW - kButtonW - 20, kGateUnitY - kButtonH / 2, kButtonW, kButtonH), this, &frmLogicalUnit::Command1_Click, i)
        ->setAccessibleName(gate + QStringLiteral(" を実行"));
}

void frmLogicalUnit::BuildExor() {
    QWidget* frame = Frame1[kExor];
    const QPoint a(kUnitX, kExorIn1Y), b(kUnitX, kExorIn2Y), out(kExorOutX, kExorOutY);
    struct Row {
        int y;
        const char* label;
        const char* name;
        const char* text;
        QString input;
    };
    const Row rows[2] = {{kExorIn1Y, "lblIn1", "txtIn1", "1", QStringLiteral("入力 1")},
                         {kExorIn2Y, "lblIn2", "TxtIn2", "0", QStringLiteral("入力 2")}};
    for (int j = 0; j < 2; ++j) {
        const Row& r = rows[j];
        QLineEdit*& in = j == 0 ? txtIn1[kExor] : TxtIn2[kExor];
        in = MakeLabelledBox(frame, ArrayName(r.label, kExor), r.input, QRect(6, r.y - kBoxH / 2, kInX - 10, kBoxH),
                             ArrayName(r.name, kExor), r.text, BoxAt(kInX, r.y, kInW));
        NameLabelled(in, QStringLiteral("EXOR の") + r.input);
    }

    // Hidden unit A takes input 1 straight through txtW1(2) and input 2 on a rising line
    // through txtW1(3); hidden unit B input 2 straight through txtW2(2) and input 1 on a
    // falling line through txtW2(3).
    struct Weight {
        QLineEdit** box;
        const char* name;
        int index;
        QRect rect;
        QPoint from;  // the input it comes from
        QPoint unit;
        QString what;
    };
    const QPoint in1(kInX + kInW, kExorIn1Y), in2(kInX + kInW, kExorIn2Y);
    const Weight weights[4] = {
        {&txtW1[kUnitA], "txtW1", kUnitA, BoxAt(kWeightX, kExorIn1Y, kWeightW), in1, a, QStringLiteral("入力 1→上のユニット")},
        {&txtW1[kUnitB], "txtW1", kUnitB, BoxAt(kCrossWeightX, kExorCrossA, kWeightW), in2, a, QStringLiteral("入力 2→上のユニット")},
        {&txtW2[kUnitB], "txtW2", kUnitB, BoxAt(kCrossWeightX, kExorCrossB, kWeightW), in1, b, QStringLiteral("入力 1→下のユニット")},
        {&txtW2[kUnitA], "txtW2", kUnitA, BoxAt(kWeightX, kExorIn2Y, kWeightW), in2, b, QStringLiteral("入力 2→下のユニット")},
    };
    for (const Weight& w : weights) {
        const bool first = w.box == &txtW1[w.index];
        *w.box = MakeBox(frame, ArrayName(w.name, w.index), first ? kDefaultW1[w.index] : kDefaultW2[w.index], w.rect);
        NameLabelled(*w.box, QStringLiteral("EXOR の重み（%1）").arg(w.what));
        Connect(frame, w.from, QPoint(w.rect.left(), w.rect.center().y()));
        const QPoint tip = Arrow(frame, QPoint(w.rect.right() + 3, w.rect.center().y()));
        Connect(frame, tip, OnCircle(tip, w.unit));
    }
    BuildUnitBody(frame, kUnitA, a);
    BuildUnitBody(frame, kUnitB, b);

    // The hidden outputs, then their weights into the output unit.
    const int hiddenY[2] = {kExorIn1Y, kExorIn2Y};
    const int outWeightY[2] = {kExorOutY - 30, kExorOutY + 30};
    for (int h = 0; h < 2; ++h) {
        const int u = kUnitA + h;
        Connect(frame, QPoint(kUnitX + kRadius, hiddenY[h]), QPoint(kHiddenOutX, hiddenY[h]));
        txtX[u] = MakeBox(frame, ArrayName("txtX", u), "", BoxAt(kHiddenOutX, hiddenY[h], kOutW));
        txtX[u]->setAccessibleName(kUnitNames[u] + QStringLiteral("の出力"));
        QLineEdit*& w = h == 0 ? txtW1[kExorOut] : txtW2[kExorOut];
        w = MakeBox(frame, ArrayName(h == 0 ? "txtW1" : "txtW2", kExorOut), h == 0 ? kDefaultW1[kExorOut] : kDefaultW2[kExorOut],
                    BoxAt(kExorWeightX, outWeightY[h], kWeightW));
        NameLabelled(w, QStringLiteral("EXOR の重み（%1→出力ユニット）").arg(h == 0 ? QStringLiteral("上のユニット") : QStringLiteral("下のユニット")));
        Connect(frame, QPoint(kHiddenOutX + kOutW, hiddenY[h]), QPoint(kExorWeightX, outWeightY[h]));
        const QPoint tip = Arrow(frame, QPoint(kExorWeightX + kWeightW + 3, outWeightY[h]));
        Connect(frame, tip, OnCircle(tip, out));
    }
    BuildUnitBody(frame, kExorOut, out);
    const QPoint tip = Arrow(frame, QPoint(kExorOutX + kRadius + 14, kExorOutY));
    Connect(frame, QPoint(kExorOutX + kRadius, kExorOutY), QPoint(tip.x() - kArrowW - 2, kExorOutY));
    txtX[kExorOut] = MakeLabelledBox(frame, ArrayName("lblOut", kExor), QStringLiteral("出力"),
                                     QRect(tip.x(), kExorOutY - kBoxH / 2 - kBoxH, kOutW + 20, kBoxH), ArrayName("txtX", kExorOut), "",
                                     BoxAt(tip.x(), kExorOutY, kOutW), Qt::AlignLeft | Qt::AlignVCenter);
    txtX[kExorOut]->setAccessibleName(QStringLiteral("EXOR の出力"));
    MakeButton(frame, "Command2", QStringLiteral("実行"), QRect(kFrameW - kButtonW - 20, kExorH - kButtonH - 16, kButtonW, kButtonH), this,
               &frmLogicalUnit::Command2_Click)
        ->setAccessibleName(QStringLiteral("EXOR を実行"));
}

void frmLogicalUnit::Command1_Click(int Index) {
    if (Index == kOr || Index == kAnd) ComputeGate(Index, true);
}

void frmLogicalUnit::Command2_Click() { ComputeExor(true); }

void frmLogicalUnit::txtIn1_Click(int Index) {
    if (Index >= 0 && Index < kFrames) ToggleAndRecompute(txtIn1[Index]);
}

void frmLogicalUnit::TxtIn2_Click(int Index) {
    if (Index >= 0 && Index < kFrames) ToggleAndRecompute(TxtIn2[Index]);
}

void frmLogicalUnit::ToggleAndRecompute(QLineEdit* box) {
    const auto x = Read(box, true);
    if (!x) return;
    SetText(box, GeneralText(logic::Toggle(*x)));
    // One message at most: after a circuit that could not be computed, the others say nothing.
    bool report = true;
    report = ComputeGate(kOr, report) && report;
    report = ComputeGate(kAnd, report) && report;
    ComputeExor(report);
}

std::optional<double> frmLogicalUnit::Read(QLineEdit* box, bool report) {
    return report ? ReadVal(box, names_.value(box)) : PeekVal(box);
}

std::optional<logic::UnitResult> frmLogicalUnit::ComputeUnit(int u, QLineEdit* x1, QLineEdit* x2, QLineEdit* w1, QLineEdit* w2,
                                                             bool report) {
    const auto vx1 = Read(x1, report);
    if (!vx1) return std::nullopt;
    const auto vx2 = Read(x2, report);
    if (!vx2) return std::nullopt;
    const auto vw1 = Read(w1, report);
    if (!vw1) return std::nullopt;
    const auto vw2 = Read(w2, report);
    if (!vw2) return std::nullopt;
    const auto theta = Read(txtTheta[u], report);
    if (!theta) return std::nullopt;
    const auto r = logic::Unit(*vx1, *vx2, *vw1, *vw2, *theta);
    if (!r && report)
        MsgBox(this, QStringLiteral("「%1」の和 S が大きすぎて計算できません。重みと入力の値を小さくしてください。").arg(kUnitNames[u]));
    return r;
}

bool frmLogicalUnit::ComputeGate(int i, bool report) {
    const auto r = ComputeUnit(i, txtIn1[i], TxtIn2[i], txtW1[i], txtW2[i], report);
    if (!r) {
        ClearUnit(i);
        return false;
    }
    ShowUnit(i, *r);
    return true;
}

bool frmLogicalUnit::ComputeExor(bool report) {
    // Each unit is shown before the next is computed; the output unit takes the outputs
    // just decided, not the texts of their boxes.
    const auto a = ComputeUnit(kUnitA, txtIn1[kExor], TxtIn2[kExor], txtW1[kUnitA], txtW1[kUnitB], report);
    if (!a) {
        for (int u : {kUnitA, kUnitB, kExorOut}) ClearUnit(u);
        return false;
    }
    ShowUnit(kUnitA, *a);
    const auto b = ComputeUnit(kUnitB, txtIn1[kExor], TxtIn2[kExor], txtW2[kUnitB], txtW2[kUnitA], report);
    if (!b) {
        for (int u : {kUnitB, kExorOut}) ClearUnit(u);
        return false;
    }
    ShowUnit(kUnitB, *b);
    const auto wA = Read(txtW1[kExorOut], report);
    const auto wB = wA ? Read(txtW2[kExorOut], report) : std::nullopt;
    const auto theta = wB ? Read(txtTheta[kExorOut], report) : std::nullopt;
    const auto out = theta ? logic::ExorOutput(*a, *b, *wA, *wB, *theta) : std::nullopt;
    if (!out) {
        if (theta && report)
            MsgBox(this, QStringLiteral("「%1」の和 S が大きすぎて計算できません。重みの値を小さくしてください。").arg(kUnitNames[kExorOut]));
        ClearUnit(kExorOut);
        return false;
    }
    ShowUnit(kExorOut, *out);
    return true;
}

void frmLogicalUnit::ShowUnit(int u, const logic::UnitResult& r) {
    SetText(txtS[u], GeneralText(r.S));
    SetText(txtX[u], GeneralText(r.Y));
}

void frmLogicalUnit::ClearUnit(int u) {
    txtS[u]->clear();
    txtX[u]->clear();
}

}  // namespace kv
