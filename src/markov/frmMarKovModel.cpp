#include "markov/frmMarKovModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <numbers>
#include <numeric>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/state_graph.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

constexpr int kMargin = 12;
constexpr int kColumnWidth = 128;
constexpr int kNodeBoxHeight = 22;
constexpr int kLineEditTextSide = 2;  // what a line edit keeps beside its text, each side
// A loop holds its arc box with room to spare, whatever the size of its node.
constexpr double kLoopRadius = 36;

const QString kOverflow = QStringLiteral("ノードの値または確率が大きすぎて次の状態を計算できないため、ノードの値を変えずに止めました。"
                                         "値を小さくしてください。");

MarkovWindowConfig ThreeNodeChain() {
    return {
        .name = QStringLiteral("frmMarKovModel"),
        .caption = QStringLiteral("マルコフ(Markov)モデルの状態遷移"),
        .picture = QSize(760, 620),
        .nodes = {
            {{0.5, 0.26}, "0", QStringLiteral("Node 0"), 20},
            {{0.79, 0.8}, "48", QStringLiteral("Node 1"), 270},
            {{0.21, 0.8}, "0", QStringLiteral("Node 2"), 270},
        },
        .arcs = {
            {0, 0, "0.5", 0, 90},
            {1, 1, "0", 0, 0},
            {2, 2, "0.5", 0, 180},
            {0, 1, "0.5", 0.2},
            {1, 2, "0.5", 0.2},
            {2, 0, "0.5", 0.2},
            {0, 2, "0", 0.2},
            {2, 1, "0", 0.2},
            {1, 0, "0.5", 0.2},
        },
        .tolerance = 0.0001,
    };
}

// The rectangle of `size` centred on `centre`.
QRect Centred(QPointF centre, QSize size) {
    return QRect(static_cast<int>(std::lround(centre.x() - size.width() / 2.0)),
                 static_cast<int>(std::lround(centre.y() - size.height() / 2.0)), size.width(), size.height());
}

// The widest text a step writes into a node box (15 significant digits): the exponent form
// with both signs and a three-digit exponent, or the fixed form "-0.000" and 15 digits,
// each made of the font's widest digit.
int WidestNodeText(const QFontMetrics& fm) {
    QChar wide = u'0';
    for (char16_t d = u'1'; d <= u'9'; ++d)
        if (fm.horizontalAdvance(QChar(d)) > fm.horizontalAdvance(wide)) wide = QChar(d);
    const QString digits14(14, wide);
    const QChar sign = fm.horizontalAdvance(u'+') > fm.horizontalAdvance(u'-') ? u'+' : u'-';
    return std::max(fm.horizontalAdvance(QStringLiteral("-%1.%2E%3").arg(wide).arg(digits14).arg(sign) + QString(3, wide)),
                    fm.horizontalAdvance(QStringLiteral("-0.000%1").arg(wide) + digits14));
}

// A node box that shows that text whole: the text and a pixel for the cursor after it, the
// room a line edit keeps beside its text, and the style's frame.
QSize NodeBoxSize(const QWidget* parent) {
    QStyleOptionFrame frame;
    frame.initFrom(parent);
    const int edge = parent->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, parent);
    return QSize(WidestNodeText(parent->fontMetrics()) + 1 + 2 * kLineEditTextSide + 2 * edge, kNodeBoxHeight);
}

}  // namespace

frmMarKovModel::frmMarKovModel() : frmMarKovModel(ThreeNodeChain()) {}

frmMarKovModel::frmMarKovModel(MarkovWindowConfig config)
    : SteppedForm(config.name, config.caption),
      config_(std::move(config)),
      chain_(static_cast<int>(config_.nodes.size()), config_.tolerance) {
    BuildGraph();
    BuildControls();
    BuildCurve();
}

void frmMarKovModel::BuildCurve() {
    static constexpr Rgb kNodeColours[] = {kBlue, kRed, kDarkGreen, kOrange, kPurple};
    CurveSetup setup{.title = QStringLiteral("ノードの値"), .xTitle = QStringLiteral("回数")};
    for (std::size_t i = 0; i < config_.nodes.size(); ++i)
        setup.series.push_back({config_.nodes[i].label, kNodeColours[i % std::size(kNodeColours)]});
    curve_ = addCurveWindow(std::move(setup));
}

void frmMarKovModel::BuildGraph() {
    StateGraph graph;
    for (const MarkovNode& n : config_.nodes) graph.states.push_back(n.at);
    for (const MarkovArc& a : config_.arcs) graph.arcs.push_back({a.source, a.destination, a.bend, a.loopAngle});
    QWidget* c = content();
    // The circles are as large as the node boxes need, clear of their 2-pixel edge.
    const QSize nodeBox = NodeBoxSize(c);
    const double r = std::ceil(std::hypot(nodeBox.width() / 2.0, nodeBox.height() / 2.0)) + 3;
    const GraphLook look{QSizeF(r, r), false, kLoopRadius};
    // Tab goes from each node to the arcs that carry its value away.
    std::vector<int> nodes(config_.nodes.size());
    std::iota(nodes.begin(), nodes.end(), 0);
    setTabFlow(GraphTabFlow(graph, nodes, "txtNode", "txtArc", true));
    Image1 = new StateGraphView(c, graph, config_.picture, look);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(kMargin, kMargin);

    const QPointF origin = Image1->pos();
    const QRectF area = Image1->area();
    for (std::size_t i = 0; i < config_.nodes.size(); ++i) {
        const MarkovNode& n = config_.nodes[i];
        const int index = static_cast<int>(i);
        const QPointF centre = origin + StatePoint(graph, area, index);
        txtNode.push_back(MakeBox(c, ArrayName("txtNode", index), QString::fromUtf8(n.initial), Centred(centre, nodeBox)));

        // The name stands just outside the circle, on its side.
        QLabel* label = MakeLabel(c, ArrayName("Label1", index), n.label, QRect(), Qt::AlignCenter);
        TieLabel(label, txtNode.back());
        // Read out in words: the label's "Node 0" (or "Node3") alone does not say it is a value.
        Describe(txtNode.back(), QStringLiteral("ノード %1 の値").arg(index),
                 QStringLiteral("このノードの値を入れます（1 ステップごとに次の状態の値が書き込まれます）。"));
        const QSize size(label->fontMetrics().horizontalAdvance(n.label) + 6, label->fontMetrics().height() + 2);
        const double rad = n.labelAngle * std::numbers::pi / 180;
        const QPointF dir(std::cos(rad), -std::sin(rad));
        const double reach = std::abs(dir.x()) * size.width() / 2.0 + std::abs(dir.y()) * size.height() / 2.0;
        label->setGeometry(Centred(centre + dir * (r + 4 + reach), size));
        Label1.push_back(label);
        nodeNames_.push_back(n.label);
    }
    for (std::size_t i = 0; i < config_.arcs.size(); ++i) {
        const MarkovArc& a = config_.arcs[i];
        const int index = static_cast<int>(i);
        const QPointF centre = origin + ArcMiddle(graph, area, index, look) + a.boxShift;
        txtArc.push_back(MakeBox(c, ArrayName("txtArc", index), QString::fromUtf8(a.probability), Centred(centre, kArcBox)));
        Describe(txtArc.back(), QStringLiteral("ノード %1 から ノード %2 への確率").arg(a.source).arg(a.destination),
                 QStringLiteral("この矢印に沿って値が移る確率を入れます。"));
        arcNames_.push_back(QStringLiteral("%1→%2の確率").arg(config_.nodes.at(static_cast<std::size_t>(a.source)).label,
                                                             config_.nodes.at(static_cast<std::size_t>(a.destination)).label));
    }
}

void frmMarKovModel::BuildControls() {
    const QRect pic = Image1->geometry();
    const int x = pic.right() + 1 + 16;
    int y = pic.top();
    QWidget* c = content();
    auto button = [&](const char* name, const QString& caption, void (frmMarKovModel::*slot)()) {
        MakeButton(c, name, caption, QRect(x, y, kColumnWidth, 32), this, slot);
        y += 40;
    };
    button("Command1", QStringLiteral("逐次実行"), &frmMarKovModel::Command1_Click);
    button("Command2", QStringLiteral("初期ノード"), &frmMarKovModel::Command2_Click);
    y += 12;
    button("Command3", QStringLiteral("自動実行"), &frmMarKovModel::Command3_Click);
    button("Command4", QStringLiteral("自動実行停止"), &frmMarKovModel::Command4_Click);

    Check1 = MakeCheck(c, "Check1", QStringLiteral("永久繰返し"), QRect(x, y, kColumnWidth, 24));
    y += 32;
    Text1 = MakeLabelledBox(c, "Label2", QStringLiteral("タイマー"), QRect(x, y, 60, 24), "Text1", "500",
                            QRect(x + 64, y, kColumnWidth - 64, 24), Qt::AlignLeft | Qt::AlignVCenter);
    y += 24;
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return TransitionStep(by); });
    setRunKeys({.step = "Command1", .start = "Command3", .stop = "Command4"});
    showWaitsOf(run_);

    int bottom = std::max(pic.bottom() + 1, y);
    if (!config_.note.isEmpty()) {
        MakeLabel(c, "Label3", config_.note, QRect(pic.left(), pic.bottom() + 1 + 8, pic.width(), 24));
        bottom = std::max(bottom, pic.bottom() + 1 + 8 + 24);
    }
    setContentSize(QSize(x + kColumnWidth + kMargin, bottom + kMargin));
}

void frmMarKovModel::Form_Load() { SetArcs(); }

void frmMarKovModel::Command1_Click() { run_->Step(); }

void frmMarKovModel::Command2_Click() { SetInitialNodes(); }

void frmMarKovModel::Command3_Click() { run_->Start(); }

void frmMarKovModel::Command4_Click() { run_->Stop(); }

void frmMarKovModel::SetArcs() {
    std::vector<markov::ArcEnd> ends;
    for (const MarkovArc& a : config_.arcs) ends.push_back({a.source, a.destination});
    chain_.SetArcs(ends);
}

void frmMarKovModel::SetInitialNodes() {
    for (std::size_t i = 0; i < txtNode.size(); ++i) txtNode[i]->setText(QString::fromUtf8(config_.nodes[i].initial));
    curve_->clear();
}

void frmMarKovModel::FormatNodes() {
    for (QLineEdit* box : txtNode)
        if (const auto v = PeekVal(box)) SetText(box, Format(*v, kFixed3));
}

std::optional<std::vector<double>> frmMarKovModel::ReadBoxes(const std::vector<QLineEdit*>& boxes, StepBy by,
                                                             const std::vector<QString>& names) {
    std::vector<double> values;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit* box = boxes[i];
        // A tick leaves the box being typed in alone until it holds a whole number: "-" on
        // the way to "-0.5" must not run a step as 0. Any other text is read as Val reads it.
        if (by == StepBy::Timer && box->hasFocus() && !StrictNumber(box->text().toStdString())) return std::nullopt;
        const auto v = by == StepBy::Hand ? ReadVal(box, names[i]) : PeekVal(box);
        if (!v) return std::nullopt;
        values.push_back(*v);
    }
    return values;
}

StepResult frmMarKovModel::TransitionStep(StepBy by) {
    // A tick that finds a box beyond a double waits for the learner to finish typing; a
    // press has said which box, and ends the run.
    const auto nodes = ReadBoxes(txtNode, by, nodeNames_);
    if (!nodes) return by == StepBy::Hand ? StepResult::Stop : StepResult::Wait;
    const auto probabilities = ReadBoxes(txtArc, by, arcNames_);
    if (!probabilities) return by == StepBy::Hand ? StepResult::Stop : StepResult::Wait;

    const auto step = chain_.TransitionStep(*nodes, *probabilities);
    if (!step) {
        run_->Stop();  // before the box: the run cannot go on from here
        MsgBox(this, kOverflow);
        return StepResult::Stop;
    }
    for (std::size_t i = 0; i < txtNode.size(); ++i) SetText(txtNode[i], GeneralText(step->NewValue[i]));
    curve_->add(step->NewValue);
    curve_->refresh();
    if (!step->Settled) return StepResult::Continue;

    if (by == StepBy::Timer && Check1->isChecked()) {
        SetInitialNodes();  // round and round, without a word
        return StepResult::Continue;
    }
    if (config_.formatWhenSettled) FormatNodes();
    if (by == StepBy::Hand) {
        // A press tells of the equilibrium whatever "永久繰返し" says, and leaves a run alone.
        MsgBox(this, config_.message);
        return StepResult::Continue;
    }
    run_->Stop();
    MsgBox(this, config_.message);
    return StepResult::Stop;
}

}  // namespace kv
