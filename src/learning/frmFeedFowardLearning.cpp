#include "learning/frmFeedFowardLearning.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "kit/accessible.h"
#include <algorithm>

#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/training_table.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/qt_forms.h"

namespace kv {
namespace {

using Net = learning::BackpropNetwork;
constexpr int kHidden = Net::kHidden;
constexpr int kInputs = Net::kInputs;
constexpr int kPatterns = Net::kPatterns;

constexpr int kThreshold = kInputs;        // the constant input 1 that carries the thresholds
constexpr int kOutputUnit = kHidden;       // index of the output unit among txtOut / txtBack
constexpr int kFirstOutputWeight = (kInputs + 1) * kHidden;
constexpr int kFirstOutputLine = kInputs * kHidden;

const QString kArrowForward = QStringLiteral("→");
const QString kArrowBack = QStringLiteral("←");
constexpr std::string_view kUnitPattern = kFixed5;   // unit outputs, initial weights
constexpr std::string_view kValuePattern = kFixed6;  // errors, error signals, updated weights
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

const QString kInputNames[kInputs] = {QStringLiteral("入力 1"), QStringLiteral("入力 2"), QStringLiteral("入力 3")};
const QString kTrainHeadings[kInputs + 1] = {"1", "2", "3", QStringLiteral("出力")};

int InputWeight(int k, int h) { return (kInputs + 1) * h + k; }
int InputLine(int i, int h) { return kInputs * h + i; }

// Geometry of the diagram, left to right.
constexpr int kBoxH = 24;
constexpr int kInX = 68, kInW = 48;
constexpr int kInTop[kInputs] = {190, 286, 382};
constexpr int kGroupTop = 16, kGroupPitch = 116, kWeightPitch = 26, kGroupH = 3 * kWeightPitch + kBoxH;
constexpr int kWeightX = 270, kWeightW = 84;
constexpr int kArrowW = 20;
constexpr int kHiddenX = kWeightX + kWeightW + 2 + kArrowW + 2, kUnitW = 140;
constexpr int kOutWeightX = 660, kOutWeightTop = 198, kOutWeightPitch = 34;
constexpr int kOutputX = kOutWeightX + kWeightW + 2 + kArrowW + 2;
constexpr int kUnitMargin = 8;  // of the output unit beyond its first and last weight box
constexpr int kPanelX = 930, kPanelW = 250;

void SetArrow(QLabel* arrow, Rgb text, const QString& caption) {
    SetForeColor(arrow, text);
    arrow->setText(caption);
}

// What a screen reader calls hidden unit u, or the output unit.
QString UnitName(int u) { return u == kOutputUnit ? QStringLiteral("出力ユニット") : QStringLiteral("中間ユニット %1").arg(u + 1); }

// A hidden or output unit: a rounded box holding its output Y above its error signal B.
void BuildUnit(QWidget* parent, int u, QRect body, QLineEdit*& out, QLineEdit*& back) {
    auto* shape = new ShapeWidget(parent, ArrayName("Shape1", 3 + u), body, ShapeWidget::kRoundedRectangle);
    shape->lower();
    const int cy = body.center().y();
    const int labelX = body.left() + 10, boxX = body.left() + 26, boxW = body.width() - 38;
    out = MakeLabelledBox(parent, ArrayName("lblY", u), "Y", QRect(labelX, cy - kBoxH - 1, 14, kBoxH), ArrayName("txtOut", u), "",
                          QRect(boxX, cy - kBoxH - 1, boxW, kBoxH), kLeft);
    back = MakeLabelledBox(parent, ArrayName("lblB", u), "B", QRect(labelX, cy + 2, 14, kBoxH), ArrayName("txtBack", u), "",
                           QRect(boxX, cy + 2, boxW, kBoxH), kLeft);
    Describe(out, UnitName(u) + QStringLiteral(" の出力 Y"), QStringLiteral("このユニットの出力です。"));
    Describe(back, UnitName(u) + QStringLiteral(" の誤差信号 B"), QStringLiteral("このユニットの誤差信号です。"));
}

// Weight box j: from input k to hidden unit h, or from hidden unit h to the output unit;
// the last of each group is the unit's threshold weight.
QString WeightName(int j) {
    if (j >= kFirstOutputWeight) {
        const int h = j - kFirstOutputWeight;
        return h == kHidden ? QStringLiteral("出力ユニットのしきい値の重み") : QStringLiteral("%1 から出力ユニットへの重み").arg(UnitName(h));
    }
    const int h = j / (kInputs + 1), k = j % (kInputs + 1);
    return k == kThreshold ? QStringLiteral("%1 のしきい値の重み").arg(UnitName(h))
                           : QStringLiteral("%1 から%2 への重み").arg(kInputNames[k], UnitName(h));
}

}  // namespace

frmFeedFowardLearning::frmFeedFowardLearning()
    : LearningWindow("frmFeedFowardLearning", QStringLiteral("誤差伝播法による学習"),
                     QRect(kPanelX + kPanelW - 52, 325, 52, kBoxH)) {
    setContentSize(QSize(kPanelX + kPanelW + 12, kGroupTop + (kHidden - 1) * kGroupPitch + kGroupH + 18));
    BuildDiagram();
    BuildTrainingFrame();
    BuildControls();
    // Tab follows the signal: the inputs, each hidden unit after the weights into it, the
    // output unit after its weights.
    QStringList flow;
    for (int i = 0; i < kInputs; ++i) flow << ArrayName("txtIn", i);
    for (int h = 0; h <= kHidden; ++h) {
        const int first = h < kHidden ? InputWeight(0, h) : kFirstOutputWeight;
        const int count = h < kHidden ? kInputs + 1 : kHidden + 1;
        for (int j = first; j < first + count; ++j) flow << ArrayName("txtW", j);
        flow << ArrayName("txtOut", h) << ArrayName("txtBack", h);
    }
    setTabFlow(flow);
    // The diagram fills the window: the curve has a window of its own.
    curve_ = addCurveWindow({.title = QStringLiteral("最大誤差"),
                             .xTitle = QStringLiteral("学習回数"),
                             .series = {{QStringLiteral("最大誤差"), kBlue, kValuePattern}},
                             .logOffered = true,
                             .logDefault = true});
}

void frmFeedFowardLearning::BuildDiagram() {
    QWidget* c = content();
    for (int i = 0; i < kInputs; ++i)
        txtIn[i] = MakeLabelledBox(c, ArrayName("lblIn", i), kInputNames[i], QRect(10, kInTop[i], kInX - 12, kBoxH),
                                   ArrayName("txtIn", i), i == 0 ? "0" : "1", QRect(kInX, kInTop[i], kInW, kBoxH), kLeft);

    for (int h = 0; h < kHidden; ++h) {
        const int top = kGroupTop + h * kGroupPitch;
        for (int k = 0; k <= kInputs; ++k) {
            const int j = InputWeight(k, h);
            const int y = top + k * kWeightPitch;
            txtW[j] = MakeBox(c, ArrayName("txtW", j), "0", QRect(kWeightX, y, kWeightW, kBoxH));
            lblArrow[j] = MakeLabel(c, ArrayName("lblArrow", j), kArrowForward,
                                     QRect(kWeightX + kWeightW + 2, y, kArrowW, kBoxH), Qt::AlignCenter);
            if (k == kThreshold) continue;  // the threshold input is the constant 1, drawn nowhere
            const int line = InputLine(k, h);
            LineX[line] = new LineShape(c, ArrayName("LineX", line), QPoint(kInX + kInW, kInTop[k] + kBoxH / 2),
                                         QPoint(kWeightX, y + kBoxH / 2));
            LineX[line]->lower();
        }
        BuildUnit(c, h, QRect(kHiddenX, top, kUnitW, kGroupH), txtOut[h], txtBack[h]);
    }

    for (int h = 0; h <= kHidden; ++h) {
        const int j = kFirstOutputWeight + h;
        const int y = kOutWeightTop + h * kOutWeightPitch;
        txtW[j] = MakeBox(c, ArrayName("txtW", j), "0", QRect(kOutWeightX, y, kWeightW, kBoxH));
        lblArrow[j] = MakeLabel(c, ArrayName("lblArrow", j), kArrowForward,
                                 QRect(kOutWeightX + kWeightW + 2, y, kArrowW, kBoxH), Qt::AlignCenter);
        if (h == kHidden) continue;  // the output threshold has no hidden unit behind it
        const int line = kFirstOutputLine + h;
        const int unitY = kGroupTop + h * kGroupPitch + kGroupH / 2;
        LineX[line] = new LineShape(c, ArrayName("LineX", line), QPoint(kHiddenX + kUnitW, unitY),
                                     QPoint(kOutWeightX, y + kBoxH / 2));
        LineX[line]->lower();
    }
    // As tall as the column of its weight boxes, so that every arrow after them points into it.
    const int outputSpan = kHidden * kOutWeightPitch + kBoxH;
    BuildUnit(c, kOutputUnit,
              QRect(kOutputX, kOutWeightTop - kUnitMargin, kUnitW, outputSpan + 2 * kUnitMargin),
              txtOut[kOutputUnit], txtBack[kOutputUnit]);
}

void frmFeedFowardLearning::BuildTrainingFrame() {
    const TrainingTableLayout layout{
        .frame = QRect(kPanelX, 8, kPanelW, 266), .headingName = QStringLiteral("lblHead"), .hintName = QStringLiteral("lblHint")};
    std::vector<TrainingColumn> columns;
    for (int c = 0; c <= kInputs; ++c)
        columns.push_back({QStringLiteral("txtTrain%1").arg(c + 1), kTrainHeadings[c], c < kInputs ? kInputNames[c] : kTrainHeadings[c],
                           c < kInputs ? QStringLiteral("このパターンの入力を入れます（ダブルクリックでこの行の通常実行）。")
                                       : QStringLiteral("このパターンで出したい出力（教師信号）を入れます。")});
    const TrainingTable table(content(), layout, columns, kPatterns, [](int c, int p) {
        return NumberText(c < kInputs ? Net::kDefaultTraining.x[p][c] : Net::kDefaultTraining.t[p]);
    });
    for (int c = 0; c <= kInputs; ++c)
        for (int p = 0; p < kPatterns; ++p) txtTrain[c][p] = table.box(c, p);

    for (int p = 0; p < kPatterns; ++p) {
        OnDoubleClick(txtTrain[0][p], [this, p] { txtTrain1_DblClick(p); });
        OnDoubleClick(txtTrain[1][p], [this, p] { txtTrain2_DblClick(p); });
        connect(txtTrain[2][p], &QLineEdit::textChanged, this, [this, p] { txtTrain3_Change(p); });
    }
    table.onReturn([this](int row) { txtTrain1_DblClick(row); });
}

void frmFeedFowardLearning::BuildControls() {
    QWidget* c = content();
    const int x = kPanelX, half = (kPanelW - 8) / 2, x2 = kPanelX + half + 8;
    auto button = [this, c](const char* name, const QString& caption, QRect r, void (frmFeedFowardLearning::*slot)()) {
        return MakeButton(c, name, caption, r, this, slot);
    };

    button("Command1", QStringLiteral("初期化"), QRect(x, 286, half, 30), &frmFeedFowardLearning::Command1_Click);
    button("Command2", QStringLiteral("逐次学習"), QRect(x2, 286, half, 30), &frmFeedFowardLearning::Command2_Click);
    button("Command3", QStringLiteral("自動学習実行"), QRect(x, 322, half, 30), &frmFeedFowardLearning::Command3_Click);
    // Text1 is made with the window; only its label is placed here.
    TieLabel(MakeLabel(c, "lblTimer", QStringLiteral("タイマー"), QRect(Text1->x() - 64, Text1->y(), 60, Text1->height()),
                       Qt::AlignRight | Qt::AlignVCenter),
             Text1);
    button("Command4", QStringLiteral("自動学習実行停止"), QRect(x, 358, half + 50, 30), &frmFeedFowardLearning::Command4_Click);

    button("Command5", QStringLiteral("一括学習"), QRect(x, 402, half, 30), &frmFeedFowardLearning::Command5_Click);
    txtLoop = MakeLabelledBox(c, "lblLoop", QStringLiteral("回数"), QRect(x + kPanelW - 100, 405, 32, kBoxH), "txtLoop", "500",
                              QRect(x + kPanelW - 64, 405, 64, kBoxH));
    Label5 = MakeLabel(c, "Label5", "", QRect(x, 436, kPanelW, 22));
    button("Command6", QStringLiteral("通常実行"), QRect(x, 462, half, 30), &frmFeedFowardLearning::Command6_Click);

    const auto errors = MakeBoxRows(c, {.at = {x, 506}, .labelWidth = 60, .gap = 4, .boxWidth = 100, .height = kBoxH, .pitch = 30},
                                    {{"lblLimitError", QStringLiteral("許容誤差"), "txtLimitError", "0.01"},
                                     {"lblMaxError", QStringLiteral("最大誤差"), "txtMaxError", ""},
                                     {"lblError", QStringLiteral("誤差"), "txtError", ""}});
    txtLimitError = errors[0];
    txtMaxError = errors[1];
    txtError = errors[2];

    for (int j = 0; j < static_cast<int>(txtW.size()); ++j)
        Describe(txtW[j], WeightName(j), QStringLiteral("この結線の重みです（学習で書き換わります）。"));
    Describe(txtLoop, QStringLiteral("一括学習の回数"), QStringLiteral("「一括学習」で全パターンの学習を繰り返す最大の回数を入れます。"));
    DescribeControls(c, {{"txtIn", {}, QStringLiteral("ネットワークへの入力です（学習中は訓練データの値が入ります）。")},
                         {"txtLimitError", {}, QStringLiteral("最大誤差がこの値より小さくなると一括学習を終えます。")},
                         {"txtMaxError", {}, QStringLiteral("パターンごとの誤差のうち最も大きいものです。")},
                         {"txtError", {}, QStringLiteral("今のパターンの誤差です。")}});
}

void frmFeedFowardLearning::Command1_Click() {
    Net::TrainingSet training{};
    for (int p = 0; p < kPatterns; ++p) {
        for (int c = 0; c <= kInputs; ++c) {
            const QString name = QStringLiteral("訓練データ（%1行目・%2）").arg(NumberText(p + 1), kTrainHeadings[c]);
            // Larger training values would, over enough passes, drive the weights past a double.
            const auto v = ReadInRange(txtTrain[c][p], name, Range{-Net::kMaxTrainingMagnitude, Net::kMaxTrainingMagnitude});
            if (!v) return;
            (c < kInputs ? training.x[p][c] : training.t[p]) = *v;
        }
    }
    net_.Initialise(training);
    curve_->clear();
    ShowLimit();
    for (int h = 0; h < kHidden; ++h)
        for (int k = 0; k <= kInputs; ++k) SetText(txtW[InputWeight(k, h)], Format(net_.W1(k, h), kUnitPattern));
    for (int h = 0; h <= kHidden; ++h) SetText(txtW[kFirstOutputWeight + h], Format(net_.W2(h), kUnitPattern));
}

StepResult frmFeedFowardLearning::LearnOneStep(StepBy) {
    // Every value it uses is the model's own: the step reads no box.
    using Stage = Net::Stage;
    const Net::Step done = net_.Advance();
    if (done.restarted) EndPattern();  // a batch or a run may have left highlights and back arrows
    switch (done.stage) {
        case Stage::kLoadPattern: ShowPattern(done.index); break;
        case Stage::kForwardHidden: ShowHidden(done.index); break;
        case Stage::kForwardOutput: ShowOutput(); break;
        case Stage::kComputeError:
            passMax_ = done.index == 0 ? net_.PatError() : std::max(passMax_, net_.PatError());
            ShowError();
            break;
        case Stage::kBackpropOutput: ShowBackprop(); break;
        case Stage::kUpdateInputWeights: ShowInputWeights(done.index); break;
        case Stage::kEndPattern:
            EndPattern();
            if (done.index == Net::kPatterns - 1) {  // a pass of its own, from its first pattern
                curve_->add(passMax_);
                ShowLimit();
            }
            break;
    }
    return StepResult::Continue;
}


void frmFeedFowardLearning::Command5_Click() {
    if (!batch_.mayStart()) return;  // refused before a box is read
    const auto limit = ReadVal(txtLimitError, QStringLiteral("許容誤差"));
    if (!limit) return;
    const auto loop = ReadVal(txtLoop, QStringLiteral("回数"));
    if (!loop) return;
    // Compared as a number, as the learner typed it: 2.7 asks for two passes.
    const double n = *loop;
    if (!Net::PassCount(n)) {
        ReportBadBox(txtLoop, RangeMessage(QStringLiteral("回数"), Range{0, static_cast<double>(Net::kMaxPasses)}));
        return;
    }

    // Only the progress label is written while the passes run: the error boxes would be
    // rewritten after every pattern and pass, and none of that reaches the screen before
    // the end. What the boxes show at the end is the last pattern's and the last pass's.
    Net::Batch batch(net_, n, *limit);
    curve_->setLevel(*limit, QStringLiteral("許容誤差"));
    std::int16_t shown = 0;  // the pass the label tells
    auto progress = [&] {
        const std::int16_t pass = batch.ProgressPass();
        if (pass == shown) return;
        shown = pass;
        Label5->setText(QStringLiteral("実行中 %1 (%2 %)").arg(NumberText(pass), NumberText(Net::ProgressPercent(pass, batch.N()))));
        Label5->repaint();  // the only repaints while the batch holds the thread
        curve_->refresh();
    };
    const BatchRunner::Outcome outcome = batch_.run(
        [&] {
            const std::int16_t before = batch.Pass();
            const bool more = batch.Next();
            if (batch.Pass() != before) curve_->add(net_.MaxError());
            return more;
        },
        progress);
    if (outcome == BatchRunner::Outcome::kAlreadyRunning) return;  // the runner has told the learner
    if (batch.Pass() > 0) {
        SetText(txtError, Format(net_.PatError(), kValuePattern));
        SetText(txtMaxError, Format(net_.MaxError(), kValuePattern));
    }
    ShowAllWeights();
    curve_->refresh();
    Label5->clear();
    MsgBox(this, NumberText(batch.Result()));
}

void frmFeedFowardLearning::ShowLimit() {
    if (const auto limit = PeekVal(txtLimitError)) curve_->setLevel(*limit, QStringLiteral("許容誤差"));
    curve_->refresh();
}

// Runs at every keystroke, and "-", "1e" or an empty box are on the way to a number.
void frmFeedFowardLearning::txtTrain3_Change(int Index) {
    if (CopyRow(Index)) RunOnInputs(Reading::kSilent);
}

bool frmFeedFowardLearning::CopyRow(int p) {
    if (p < 0 || p >= kPatterns) return false;
    for (int i = 0; i < kInputs; ++i) txtIn[i]->setText(txtTrain[i][p]->text());
    return true;
}

void frmFeedFowardLearning::ResetColors() {
    for (const auto& column : txtTrain)
        for (QLineEdit* b : column) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtIn) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtW) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtOut) SetBackColor(b, kWhite);
    for (QLineEdit* b : txtBack) SetBackColor(b, kWhite);
    SetBackColor(txtError, kWhite);
    for (LineShape* l : LineX) l->setBorderColor(kBlack);
    for (QLabel* a : lblArrow) SetForeColor(a, kBlack);
}

void frmFeedFowardLearning::ShowPattern(int p) {
    for (const auto& column : txtTrain) SetBackColor(column[p], kRed);
    for (int i = 0; i < kInputs; ++i) {
        SetText(txtIn[i], GeneralText(net_.X(i)));
        SetBackColor(txtIn[i], kRed);
    }
}

void frmFeedFowardLearning::ShowUnitOutput(int u) {
    SetText(txtOut[u], Format(u == kOutputUnit ? net_.O() : net_.H(u), kUnitPattern));
}

void frmFeedFowardLearning::ShowHidden(int h) {
    ResetColors();
    ShowUnitOutput(h);
    SetBackColor(txtOut[h], kLightBlue);
    for (int k = 0; k <= kInputs; ++k) {
        const int j = InputWeight(k, h);
        SetBackColor(txtW[j], k == kThreshold ? kYellow : kRed);
        SetForeColor(lblArrow[j], kRed);
        if (k != kThreshold) LineX[InputLine(k, h)]->setBorderColor(kRed);
    }
}

void frmFeedFowardLearning::ShowOutput() {
    ResetColors();
    ShowUnitOutput(kOutputUnit);
    SetBackColor(txtOut[kOutputUnit], kLightBlue);
    for (int h = 0; h <= kHidden; ++h) {
        const int j = kFirstOutputWeight + h;
        SetBackColor(txtW[j], h == kHidden ? kYellow : kRed);
        SetForeColor(lblArrow[j], kRed);
        if (h != kHidden) LineX[kFirstOutputLine + h]->setBorderColor(kRed);
    }
}

void frmFeedFowardLearning::ShowError() {
    ResetColors();
    SetText(txtError, Format(net_.PatError(), kValuePattern));
    SetBackColor(txtError, kRed);
}

void frmFeedFowardLearning::ShowBackprop() {
    ResetColors();
    SetText(txtBack[kOutputUnit], Format(net_.D2(), kValuePattern));
    SetBackColor(txtBack[kOutputUnit], kRed);
    for (int h = 0; h < kHidden; ++h) {
        SetText(txtBack[h], Format(net_.D1(h), kValuePattern));
        SetBackColor(txtBack[h], kRed);
        LineX[kFirstOutputLine + h]->setBorderColor(kRed);
    }
    for (int h = 0; h <= kHidden; ++h) {
        const int j = kFirstOutputWeight + h;
        SetText(txtW[j], Format(net_.W2(h), kValuePattern));
        SetBackColor(txtW[j], kLightBlue);
        SetArrow(lblArrow[j], kRed, kArrowBack);
    }
}

void frmFeedFowardLearning::ShowInputWeights(int k) {
    ResetColors();
    for (int h = 0; h < kHidden; ++h) {
        const int j = InputWeight(k, h);
        SetText(txtW[j], Format(net_.W1(k, h), kValuePattern));
        SetBackColor(txtW[j], kLightBlue);
        SetArrow(lblArrow[j], kRed, kArrowBack);
    }
}

void frmFeedFowardLearning::EndPattern() {
    for (QLabel* a : lblArrow) a->setText(kArrowForward);
    ResetColors();
}

void frmFeedFowardLearning::ShowAllWeights() {
    for (int h = 0; h <= kHidden; ++h) SetText(txtW[kFirstOutputWeight + h], Format(net_.W2(h), kValuePattern));
    for (int k = 0; k <= kInputs; ++k)
        for (int h = 0; h < kHidden; ++h) SetText(txtW[InputWeight(k, h)], Format(net_.W1(k, h), kValuePattern));
}

void frmFeedFowardLearning::RunOnInputs(Reading reading) {
    std::array<double, kInputs> x{};
    for (int i = 0; i < kInputs; ++i) {
        const auto v = reading == Reading::kReport ? ReadStrict(txtIn[i], kInputNames[i])
                                                   : StrictNumber(txtIn[i]->text().toStdString());
        if (!v) return;
        x[i] = *v;
    }
    net_.Run(x);
    for (int u = 0; u < kUnits; ++u) ShowUnitOutput(u);
    ResetColors();
}

}  // namespace kv
