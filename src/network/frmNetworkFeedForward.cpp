#include "network/frmNetworkFeedForward.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <cmath>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/formula.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

using Net = network::FeedForwardNetwork;
using Value = Net::Value;
constexpr int kUnits = Net::kUnits;

const char* const kDefaultTheta[] = {"0.4", "0.5", "0.5", "0.2", "0.5", "0.5", "0.3", "0.6", "0.7"};
const char* const kDefaultOmega1[] = {"0.5", "0.4", "0.3", "0.5", "-0.3", "0.3", "0.5", "0.3", "-0.2"};
const char* const kDefaultOmega2[] = {"-0.5", "0.3", "", "0.5", "0.3", "", "-0.3", "0.4", ""};
const char* const kDefaultOmega0[] = {"", "0.3", "0.2", "", "0.3", "0.2", "", "0.4", "0.2"};

// Geometry, left to right: per layer the input column, its weight column, the unit column.
constexpr int kLeft = 14;
constexpr int kLayerPitch = 360;
constexpr int kUnitTop = 170, kUnitPitch = 120;  // centre of unit 0, distance between units
constexpr int kBoxH = 24;
constexpr int kLabelW = 36;                      // "X" with its two-digit subscript
constexpr int kInW = 40;
constexpr int kReach = 220;                      // from an input box to the centre of its unit
constexpr int kRadius = 50;
// Weight boxes sit three tenths of the way along their lines: there the three lines of an
// input are 36 px apart, and a box of this width clears the lines of the neighbouring inputs.
constexpr double kWeightAlong = 0.3;
constexpr int kWeightW = 48;
constexpr int kResultW = 50;
constexpr int kSymbolInset = 4;
constexpr int kWindowW = kLeft + (Net::kLayers) * kLayerPitch + kLabelW + kInW + kLeft;
constexpr int kWindowH = kUnitTop + 2 * kUnitPitch + kUnitPitch * 4 / 5 + 34;

constexpr int kThinLine = 1, kMarkedLine = 3;

// Box k of input i of layer L (the outputs are layer kLayers), as the model numbers them.
int BoxIndex(int L, int i) { return kUnits * L + i; }

int LayerX(int L) { return kLeft + L * kLayerPitch; }
int UnitY(int i) { return kUnitTop + i * kUnitPitch; }
int InputRight(int L) { return LayerX(L) + kLabelW + kInW; }
int UnitX(int L) { return InputRight(L) + kReach; }

// Subscript of box k, layer first: "11" .. "43".
QString Sub(int k) { return QStringLiteral("%1%2").arg(k / kUnits + 1).arg(k % kUnits + 1); }

QString BoxName(Value v, int k) {
    const int unitOffset = v == Value::kOmega0 ? -1 : v == Value::kOmega2 ? 1 : 0;
    switch (v) {
        case Value::kX: return "X" + Sub(k);
        case Value::kTheta: return QStringLiteral("θ") + Sub(k);
        default: return QStringLiteral("ω%1→S%2").arg(Sub(k), Sub(k + unitOffset));
    }
}

// Where the line from (from) towards the centre of a unit meets the unit's circle; a line
// towards a unit that is not there stops at the edge of the unit column.
QPoint LineEnd(QPoint from, QPoint centre, bool unitThere) {
    const double dx = centre.x() - from.x(), dy = centre.y() - from.y();
    if (!unitThere) {
        const double t = (dx - kRadius) / dx;
        return QPoint(centre.x() - kRadius, static_cast<int>(std::lround(from.y() + dy * t)));
    }
    const double len = std::hypot(dx, dy);
    return QPoint(static_cast<int>(std::lround(centre.x() - kRadius * dx / len)),
                  static_cast<int>(std::lround(centre.y() - kRadius * dy / len)));
}

}  // namespace

frmNetworkFeedForward::frmNetworkFeedForward()
    : SteppedForm("frmNetworkFeedForward", QStringLiteral("フィードフォワード型（構成素子は決定的2値）")) {
    setContentSize(QSize(kWindowW, kWindowH));
    for (int L = 0; L < Net::kLayers; ++L) BuildLayer(L);
    for (int i = 0; i < kUnits; ++i) {
        const int k = BoxIndex(Net::kLayers, i);
        QLabel* x = Subscripted(content(), ArrayName("lblX", k), ArrayName("lblXSub", k), "X", Sub(k),
                                QPoint(LayerX(Net::kLayers), UnitY(i) - kBoxH / 2));
        txtX[k] = MakeBox(content(), ArrayName("txtX", k), "1", QRect(LayerX(Net::kLayers) + kLabelW, UnitY(i) - kBoxH / 2, kInW, kBoxH));
        TieSubscripted(x, Sub(k), txtX[k]);
    }
    BuildControls();
    const QString inputTip = QStringLiteral("この層のユニットへの入力の値（0 か 1）です。");
    DescribeControls(content(), {
        {"txtX", QStringLiteral("入力"), inputTip},
        {"txtOmega0", {}, QStringLiteral("この結線の重みを入れます。")},
        {"txtOmega1", {}, QStringLiteral("この結線の重みを入れます。")},
        {"txtOmega2", {}, QStringLiteral("この結線の重みを入れます。")},
        {"txtS", QStringLiteral("和"), QStringLiteral("入力と重みの積の和 S です。")},
        {"txtTheta", QStringLiteral("しきい値"), QStringLiteral("このユニットのしきい値を入れます。")},
    });
    // The last column is the network's output, not an input of a further layer.
    for (int i = 0; i < kUnits; ++i) {
        const int k = BoxIndex(Net::kLayers, i);
        Describe(txtX[k], QStringLiteral("出力 X") + Sub(k), QStringLiteral("ネットワークの出力（0 か 1）です。"));
    }
    // Tab follows the signal: each layer's inputs with the weights on their lines, then its units.
    QStringList flow;
    for (int L = 0; L <= Net::kLayers; ++L) {
        for (int i = 0; i < kUnits; ++i) {
            const int k = BoxIndex(L, i);
            flow << ArrayName("txtX", k);
            if (L < Net::kLayers) flow << ArrayName("txtOmega0", k) << ArrayName("txtOmega1", k) << ArrayName("txtOmega2", k);
        }
        for (int m = 0; L < Net::kLayers && m < kUnits; ++m)
            flow << ArrayName("txtS", BoxIndex(L, m)) << ArrayName("txtTheta", BoxIndex(L, m));
    }
    setTabFlow(flow);
}

void frmNetworkFeedForward::BuildLayer(int L) {
    QWidget* c = content();
    const int x0 = LayerX(L), a = InputRight(L), cx = UnitX(L);
    const int weightX = a + static_cast<int>(kWeightAlong * kReach);

    for (int i = 0; i < kUnits; ++i) {
        const int k = BoxIndex(L, i), y = UnitY(i);
        QLabel* x = Subscripted(c, ArrayName("lblX", k), ArrayName("lblXSub", k), "X", Sub(k), QPoint(x0, y - kBoxH / 2));
        txtX[k] = MakeBox(c, ArrayName("txtX", k), "1", QRect(a - kInW, y - kBoxH / 2, kInW, kBoxH));
        TieSubscripted(x, Sub(k), txtX[k]);

        // Three lines towards the unit above, the own unit and the unit below, each carrying
        // its weight box; the outermost two lead to no unit.
        const QPoint from(a, y);
        struct Spoke {
            LineShape*& line;
            QLineEdit*& box;
            const char* lineName;
            const char* boxName;
            const char* text;
            int to;
            Value value;
        };
        const Spoke spokes[] = {
            {Line3[k], txtOmega0[k], "Line3", "txtOmega0", kDefaultOmega0[k], i - 1, Value::kOmega0},
            {Line1[k], txtOmega1[k], "Line1", "txtOmega1", kDefaultOmega1[k], i, Value::kOmega1},
            {Line2[k], txtOmega2[k], "Line2", "txtOmega2", kDefaultOmega2[k], i + 1, Value::kOmega2},
        };
        for (const Spoke& s : spokes) {
            const bool unitThere = s.to >= 0 && s.to < kUnits;
            s.line = new LineShape(c, ArrayName(s.lineName, k), from, LineEnd(from, QPoint(cx, UnitY(s.to)), unitThere));
            s.line->lower();
            const int boxY = y + static_cast<int>(std::lround((s.to - i) * kWeightAlong * kUnitPitch));
            s.box = MakeBox(c, ArrayName(s.boxName, k), s.text, QRect(weightX - kWeightW / 2, boxY - kBoxH / 2, kWeightW, kBoxH));
            s.box->setAccessibleName(QStringLiteral("重み ") + BoxName(s.value, k));
        }
        // "ω" with the input's subscript above the input's three weight boxes: a heading of
        // the three, the name of none. It stands over the column's left part, clear of the
        // upward line that leaves the top box at its right corner.
        const int groupTop = y - static_cast<int>(std::lround(kWeightAlong * kUnitPitch)) - kBoxH / 2;
        Subscripted(c, ArrayName("lblOmega", k), ArrayName("lblOmegaSub", k), QStringLiteral("ω"), Sub(k),
                    QPoint(weightX - kWeightW / 2 - 4, groupTop - kBoxH));
    }

    for (int m = 0; m < kUnits; ++m) {
        const int k = BoxIndex(L, m), cy = UnitY(m);
        Shape1[k] = new ShapeWidget(c, ArrayName("Shape1", k), QRect(cx - kRadius, cy - kRadius, 2 * kRadius, 2 * kRadius),
                                    ShapeWidget::kEllipse);
        Shape1[k]->lower();
        QLabel* s = Subscripted(c, ArrayName("lblS", k), ArrayName("lblSSub", k), "S", Sub(k), QPoint(cx - 44, cy - kBoxH - 2));
        txtS[k] = MakeBox(c, ArrayName("txtS", k), "1", QRect(cx - 10, cy - kBoxH - 2, kResultW, kBoxH));
        TieSubscripted(s, Sub(k), txtS[k]);
        QLabel* theta =
            Subscripted(c, ArrayName("lblTheta", k), ArrayName("lblThetaSub", k), QStringLiteral("θ"), Sub(k), QPoint(cx - 44, cy + 2));
        txtTheta[k] = MakeBox(c, ArrayName("txtTheta", k), kDefaultTheta[k], QRect(cx - 10, cy + 2, kResultW, kBoxH));
        TieSubscripted(theta, Sub(k), txtTheta[k]);
        // The symbols stand right-aligned in their boxes; the boxes' empty left part would
        // reach out of the circle, where the lines from the inputs end.
        for (QLabel* symbol : {s, theta}) symbol->setGeometry(symbol->geometry().adjusted(kSymbolInset, 0, 0, 0));
        // The unit's output becomes an input of the next layer; the line stops short of the
        // input's label.
        auto* out = new LineShape(c, ArrayName("Line4", k), QPoint(cx + kRadius, cy), QPoint(LayerX(L + 1) - 1, cy));
        out->lower();
    }
}

void frmNetworkFeedForward::BuildControls() {
    using W = frmNetworkFeedForward;
    QWidget* c = content();
    const int right = kWindowW - kLeft;
    MakeButton(c, "Command1", QStringLiteral("逐次実行"), QRect(right - 468, 12, 104, 30), this, &W::Command1_Click);
    MakeButton(c, "Command2", QStringLiteral("自動実行"), QRect(right - 358, 12, 104, 30), this, &W::Command2_Click);
    MakeButton(c, "Command3", QStringLiteral("自動実行停止"), QRect(right - 248, 12, 124, 30), this, &W::Command3_Click);
    Text1 = MakeLabelledBox(c, "Label1", QStringLiteral("タイマー"), QRect(right - 118, 12, 62, 30), "Text1", "500",
                            QRect(right - 52, 15, 52, kBoxH));
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return LayerStep(by); });
    setRunKeys({.step = "Command1", .start = "Command2", .stop = "Command3"});
    showWaitsOf(run_);
}

void frmNetworkFeedForward::Form_Load() {
    net_.Restart();
    ClearStates();
}

void frmNetworkFeedForward::Command1_Click() { run_->Step(); }

void frmNetworkFeedForward::Command2_Click() { run_->Start(); }

void frmNetworkFeedForward::Command3_Click() { run_->Stop(); }

StepResult frmNetworkFeedForward::LayerStep(StepBy by) {
    const int L = net_.LayerIndex();
    if (L == Net::kOutputStep) {
        ShowOutputs();
    } else {
        bool wait = false;
        const auto layer = ReadLayer(L, by, &wait);
        if (!layer) return wait ? StepResult::Wait : StepResult::Stop;
        ShowLayer(L, *layer);
    }
    if (net_.Advance()) ClearStates();
    return StepResult::Continue;
}

QLineEdit* frmNetworkFeedForward::Box(Value v, int k) const {
    switch (v) {
        case Value::kX: return txtX.at(k);
        case Value::kOmega0: return txtOmega0.at(k);
        case Value::kOmega1: return txtOmega1.at(k);
        case Value::kOmega2: return txtOmega2.at(k);
        case Value::kTheta: return txtTheta.at(k);
    }
    return nullptr;
}

std::optional<Net::Layer> frmNetworkFeedForward::ReadLayer(int L, StepBy by, bool* wait) {
    QLineEdit* unread = nullptr;
    QString unreadName;
    const Net::Reader read = [&](Value v, int k) -> std::optional<double> {
        QLineEdit* box = Box(v, k);
        const auto x = PeekVal(box);
        if (!x && !unread) {
            unread = box;
            unreadName = BoxName(v, k);
        }
        return x;
    };
    int failed = 0;
    const auto layer = Net::ComputeLayer(L, read, &failed);
    if (layer) return layer;
    // A tick never names a box (a press does): it waits for one beyond a double. A sum beyond
    // a double it waits out only while the learner types in a box of that sum; otherwise the
    // sum is reported once, as a press reports it, and the run ends.
    *wait = by == StepBy::Timer && (unread || SumReadsFocus(L, failed));
    if (*wait) return layer;
    run_->Stop();
    if (unread) ReadVal(unread, unreadName);  // says which box holds a number beyond a double
    else MsgBox(this, QStringLiteral("「S%1」の和が大きすぎて計算できません。重みと入力の値を小さくしてください。").arg(Sub(BoxIndex(L, failed))));
    return layer;
}

bool frmNetworkFeedForward::SumReadsFocus(int L, int m) const {
    bool reads = false;
    Net::ComputeUnit(L, m, [&](Value v, int k) {
        reads = reads || Box(v, k)->hasFocus();
        return PeekVal(Box(v, k));
    });
    return reads;
}

void frmNetworkFeedForward::ResetColors() {
    const Rgb lineColour = FromQColor(palette().color(QPalette::WindowText));
    for (int k = 0; k < kUnitCount; ++k) {
        for (LineShape* line : {Line1[k], Line2[k], Line3[k]}) {
            line->setBorderColor(lineColour);
            line->setBorderWidth(kThinLine);
        }
        for (QLineEdit* b : {txtX[k], txtS[k], txtTheta[k], txtOmega0[k], txtOmega1[k], txtOmega2[k]}) SetBackColor(b, kWhite);
    }
    for (int k = kUnitCount; k < Net::kInputs; ++k) SetBackColor(txtX[k], kWhite);
    for (QLineEdit* x : txtX) SetForeColor(x, kBlack);
}

void frmNetworkFeedForward::ShowLayer(int L, const Net::Layer& layer) {
    const int b = BoxIndex(L, 0);
    ResetColors();
    for (int i = 0; i < kUnits; ++i) {
        const int k = b + i;
        SetBackColor(txtX[k], kRed);
        for (LineShape* line : {Line1[k], Line2[k], Line3[k]}) {
            line->setBorderColor(kRed);
            line->setBorderWidth(kMarkedLine);
        }
        for (QLineEdit* w : {txtOmega0[k], txtOmega1[k], txtOmega2[k]}) SetBackColor(w, kRed);
        SetBackColor(txtS[k], kYellow);
        SetBackColor(txtTheta[k], kYellow);
        SetBackColor(txtX[k + kUnits], kBlue);
        SetForeColor(txtX[k + kUnits], kWhite);  // black on this blue would read at only 2.4:1
    }
    for (int m = 0; m < kUnits; ++m) {
        SetText(txtS[b + m], GeneralText(layer[m].S));
        SetText(txtX[b + kUnits + m], GeneralText(layer[m].X));
    }
}

void frmNetworkFeedForward::ShowOutputs() {
    ResetColors();
    for (int i = 0; i < kUnits; ++i) SetBackColor(txtX[kUnitCount + i], kRed);
}

void frmNetworkFeedForward::ClearStates() {
    for (QLineEdit* s : txtS) s->clear();
    for (int k = kUnits; k < Net::kInputs; ++k) txtX[k]->clear();
}

}  // namespace kv
