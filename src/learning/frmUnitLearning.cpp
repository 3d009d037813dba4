#include "learning/frmUnitLearning.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_view.h"
#include "kit/training_table.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/qt_forms.h"

namespace kv {
namespace {

using learning::UnitPattern;
using learning::UnitStep;

constexpr std::string_view kValuePattern = kFixed6;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

// Layout: the training rows and the neuron's three rows.
constexpr int kTrainTop = 48, kTrainPitch = 30;
constexpr int kNeuronTop = 124, kNeuronPitch = 60;
// The curve stands in the strip the window gains at its right, under the corner buttons.
constexpr int kDiagramWidth = 780, kHeight = 392;
constexpr QRect kCurve(kDiagramWidth + 4, 36, 440, kHeight - 36 - 8);

QLabel* Arrow(QWidget* parent, int index, QPoint at) {
    QLabel* a = MakeLabel(parent, ArrayName("Label6", index), QStringLiteral("→"), QRect(at, QSize(26, 24)), Qt::AlignCenter);
    ScaleFont(a, 1.4);
    return a;
}

const QString kTrainInputTip = QStringLiteral("このパターンの入力を入れます（ダブルクリックでこの行の通常実行）。");
const QString kTrainOutputTip = QStringLiteral("このパターンで出したい出力（教師信号）を入れます。");

QString RowName(int k, const QString& column) { return QStringLiteral("訓練データ %1行目の%2").arg(k + 1).arg(column); }

}  // namespace

frmUnitLearning::frmUnitLearning()
    : LearningWindow("frmUnitLearning", QStringLiteral("単一ニューロンの学習"), QRect(412, 50, 60, 24)) {
    setContentSize(QSize(kCurve.right() + 1 + 12, kHeight));

    BuildButtons();
    BuildTrainingFrame();
    BuildDiagram();
    // Tab follows the neuron: each input with its weight, then the output and the error.
    setTabFlow({"txtIn(0)", "txtW(0)", "txtIn(1)", "txtW(1)", "txtIn(2)", "txtW(2)", "txtOut", "txtdEdy", "txtError"});
    BuildCurve();
}

void frmUnitLearning::BuildCurve() {
    curve_ = new CurveView(content(), {.title = QStringLiteral("誤差"),
                                       .xTitle = QStringLiteral("学習回数"),
                                       .series = {{QStringLiteral("誤差"), kBlue, kValuePattern}},
                                       .logOffered = true,
                                       .logDefault = true});
    curve_->setGeometry(kCurve);
}

void frmUnitLearning::BuildButtons() {
    QWidget* c = content();
    Command5 = MakeButton(c, "Command5", QStringLiteral("一括学習"), QRect(16, 12, 96, 32), this, &frmUnitLearning::Command5_Click);
    Command1 = MakeButton(c, "Command1", QStringLiteral("初期化"), QRect(136, 12, 84, 32), this, &frmUnitLearning::Command1_Click);
    Command2 = MakeButton(c, "Command2", QStringLiteral("逐次学習"), QRect(228, 12, 96, 32), this, &frmUnitLearning::Command2_Click);
    Command3 = MakeButton(c, "Command3", QStringLiteral("自動学習実行"), QRect(348, 12, 124, 32), this, &frmUnitLearning::Command3_Click);
    Command4 = MakeButton(c, "Command4", QStringLiteral("自動学習実行停止"), QRect(480, 12, 150, 32), this, &frmUnitLearning::Command4_Click);
    Command6 = MakeButton(c, "Command6", QStringLiteral("通常実行"), QRect(654, 12, 110, 32), this, &frmUnitLearning::Command6_Click);

    // Each box sits under the button that reads it.
    txtLoop = MakeLabelledBox(c, "Label1", QStringLiteral("回数"), QRect(16, 50, 34, 24), "txtLoop", "100", QRect(52, 50, 60, 24),
                              kLeft);
    Describe(txtLoop, QStringLiteral("一括学習の回数"), QStringLiteral("「一括学習」で全パターンの学習を繰り返す回数を入れます。"));
    TieLabel(MakeLabel(c, "Label2", QStringLiteral("タイマー"), QRect(348, 50, 62, 24)), Text1);
}

void frmUnitLearning::BuildTrainingFrame() {
    const TrainingTableLayout layout{.frame = QRect(16, 86, 236, 290), .headingName = QStringLiteral("Label3"),
                                     .hintName = QStringLiteral("Label4"), .left = 14, .columnPitch = 72, .boxWidth = 64,
                                     .headingTop = 22, .headingHeight = 22, .rowTop = kTrainTop, .rowPitch = kTrainPitch,
                                     .hintTop = kTrainTop + kTrainPitch * kRows + 6, .hintHeight = 46};
    const TrainingTable table(content(), layout,
                              {{"txtTrain1", "1", QStringLiteral("入力 1"), kTrainInputTip},
                               {"txtTrain2", "2", QStringLiteral("入力 2"), kTrainInputTip},
                               {"txtTrain3", QStringLiteral("出力"), QStringLiteral("出力"), kTrainOutputTip}},
                              kRows,
                              [](int c, int i) {
                                  const UnitPattern& row = learning::kDefaultUnitPatterns[static_cast<std::size_t>(i)];
                                  return NumberText(c == 0 ? row.input1 : c == 1 ? row.input2 : row.teacher);
                              });
    Frame1 = table.frame();
    for (int i = 0; i < kRows; ++i) {
        txtTrain1[i] = table.box(0, i);
        txtTrain2[i] = table.box(1, i);
        txtTrain3[i] = table.box(2, i);
        OnDoubleClick(txtTrain1[i], [this, i] { txtTrain1_DblClick(i); });
        OnDoubleClick(txtTrain2[i], [this, i] { txtTrain2_DblClick(i); });
    }
    table.onReturn([this](int row) { txtTrain1_DblClick(row); });
}

void frmUnitLearning::BuildDiagram() {
    QWidget* c = content();
    const QString inputNames[3] = {QStringLiteral("入力 1"), QStringLiteral("入力 2"), QStringLiteral("(固定)")};
    const char* inputs[3] = {"0", "1", "1"};
    for (int j = 0; j < 3; ++j) {
        const int y = kNeuronTop + kNeuronPitch * j;
        txtIn[j] = MakeLabelledBox(c, ArrayName("Label5", j), inputNames[j], QRect(268, y, 54, 24), ArrayName("txtIn", j),
                                   inputs[j], QRect(328, y, 60, 24));
        Arrow(c, j, QPoint(392, y));
        txtW[j] = MakeBox(c, ArrayName("txtW", j), "0", QRect(422, y, 96, 24));
        Arrow(c, 3 + j, QPoint(522, y));
    }
    // The fixed input's weight is the threshold, named under its box.
    TieLabel(MakeLabel(c, "Label7", QStringLiteral("θ"), QRect(422, kNeuronTop + 2 * kNeuronPitch + 26, 96, 22), Qt::AlignCenter),
             txtW[2]);

    // The neuron body holds its output and error signal.
    const QRect body(552, kNeuronTop - 30, 212, 204);
    new ShapeWidget(c, "Shape1", body, ShapeWidget::kRoundedRectangle);
    const int left = body.left() + 14;
    MakeLabel(c, "Label8", QStringLiteral("出力"), QRect(left, body.top() + 16, 40, 24));
    txtOut = MakeLabelledBox(c, "Label9", "Y", QRect(left, body.top() + 46, 40, 24), "txtOut", "",
                             QRect(left + 52, body.top() + 46, 132, 24), Qt::AlignCenter);

    // dE/dy as a fraction: two labels, neither of which names the box alone.
    const int fraction = body.top() + 116;
    MakeLabel(c, "Label10", "dE", QRect(left, fraction - 22, 40, 20), Qt::AlignCenter);
    new LineShape(c, "Line1", QPoint(left + 6, fraction), QPoint(left + 34, fraction));
    MakeLabel(c, "Label11", "dy", QRect(left, fraction + 2, 40, 20), Qt::AlignCenter);
    txtdEdy = MakeBox(c, "txtdEdy", "", QRect(left + 52, fraction - 12, 132, 24));

    txtError = MakeLabelledBox(c, "Label12", QStringLiteral("誤差"), QRect(left, body.bottom() + 24, 40, 24), "txtError", "",
                               QRect(left + 52, body.bottom() + 24, 132, 24), kLeft);

    DescribeControls(c, {{"txtIn", {}, QStringLiteral("ニューロンへの入力です（学習中は訓練データの値が入ります）。")},
                         {"txtOut", QStringLiteral("出力"), QStringLiteral("ニューロンの出力です。")},
                         {"txtError", {}, QStringLiteral("今のパターンの誤差です。")}});
    Describe(txtIn[2], QStringLiteral("入力（固定）"), QStringLiteral("しきい値のための固定の入力です。"));
    Describe(txtW[0], QStringLiteral("入力 1 の重み"), QStringLiteral("入力 1 にかける重みです（学習で書き換わります）。"));
    Describe(txtW[1], QStringLiteral("入力 2 の重み"), QStringLiteral("入力 2 にかける重みです（学習で書き換わります）。"));
    Describe(txtW[2], QStringLiteral("しきい値 θ"), QStringLiteral("固定の入力にかける重み、つまりしきい値です（学習で書き換わります）。"));
    Describe(txtdEdy, QStringLiteral("誤差の微分 dE/dy"), QStringLiteral("出力 y についての誤差 E の微分です。"));
}

void frmUnitLearning::Command1_Click() {
    model_.Initialise();
    curve_->clear();
    // Initialisation shows the weights plainly ("0"); learning shows them to six decimals.
    for (int j = 0; j < 3; ++j) SetText(txtW[j], GeneralText(model_.W(j + 1)));
}

void frmUnitLearning::Command5_Click() {
    // Compared as a number, as typed: 2.7 asks for two passes.
    const auto n = ReadVal(txtLoop, QStringLiteral("回数"));
    if (!n) return;
    const auto passes = learning::UnitLearningModel::PassCount(*n);
    if (!passes) {
        ReportBadBox(txtLoop, RangeMessage(QStringLiteral("回数"), Range{0, learning::UnitLearningModel::kMaxPasses}));
        return;
    }

    // Nothing else runs during the batch, so every row is read once, before the first pass.
    std::array<UnitPattern, kRows> rows;
    for (int k = 0; *passes > 0 && k < kRows; ++k) {
        const auto p = ReadPattern(k);
        if (!p) return;
        rows[k] = *p;
    }
    const auto batch = model_.Batch(
        *passes, [&rows](int k) { return std::optional<UnitPattern>(rows[k]); }, [this](double errSum) { curve_->add(errSum); });
    curve_->refresh();

    if (batch.forwards > 0) ShowForward();
    if (batch.updates > 0) ShowWeights();
    if (batch.overflow) {
        HighlightRow(batch.pattern);
        ReportOverflow(batch.pattern);
        return;
    }
    ShowError(model_.ErrSum());
    ResetTrainColors();
}

bool frmUnitLearning::CopyRow(int row) {
    if (row < 0 || row >= kRows) return false;
    txtIn[0]->setText(txtTrain1[row]->text());
    txtIn[1]->setText(txtTrain2[row]->text());
    return true;
}

StepResult frmUnitLearning::LearnOneStep(StepBy by) {
    const UnitStep step = model_.Step([this, by](int k) { return by == StepBy::Hand ? ReadPattern(k) : PeekPattern(k); });
    switch (step.outcome) {
        case UnitStep::kForward:
            HighlightRow(step.pattern);
            ShowForward();
            return StepResult::Continue;
        case UnitStep::kUpdate:
            ShowWeights();
            if (step.passFinished) {
                ShowError(step.passError);
                curve_->add(step.passError);
                curve_->refresh();
            }
            return StepResult::Continue;
        case UnitStep::kOverflow:
            HighlightRow(step.pattern);
            run_->Stop();  // before the message: learning cannot go on from here
            ReportOverflow(step.pattern);
            return StepResult::Stop;
        case UnitStep::kUnread:
            break;
    }
    // A press has reported the box; a tick waits while the learner is still typing it.
    return by == StepBy::Hand ? StepResult::Stop : StepResult::Wait;
}

std::optional<UnitPattern> frmUnitLearning::PeekPattern(int k) const {
    const auto in1 = PeekVal(txtTrain1[k]);
    const auto in2 = PeekVal(txtTrain2[k]);
    const auto teacher = PeekVal(txtTrain3[k]);
    if (!in1 || !in2 || !teacher) return std::nullopt;
    return UnitPattern{*in1, *in2, *teacher};
}

std::optional<UnitPattern> frmUnitLearning::ReadPattern(int k) {
    const auto in1 = ReadVal(txtTrain1[k], RowName(k, QStringLiteral("入力 1")));
    if (!in1) return std::nullopt;
    const auto in2 = ReadVal(txtTrain2[k], RowName(k, QStringLiteral("入力 2")));
    if (!in2) return std::nullopt;
    const auto teacher = ReadVal(txtTrain3[k], RowName(k, QStringLiteral("出力")));
    if (!teacher) return std::nullopt;
    return UnitPattern{*in1, *in2, *teacher};
}

void frmUnitLearning::NormalRun() {
    const auto in1 = ReadVal(txtIn[0], QStringLiteral("入力 1"));
    if (!in1) return;
    const auto in2 = ReadVal(txtIn[1], QStringLiteral("入力 2"));
    if (!in2) return;
    const QString weightNames[3] = {QStringLiteral("入力 1の重み"), QStringLiteral("入力 2の重み"), QStringLiteral("θ")};
    std::array<double, 3> w;
    for (int j = 0; j < 3; ++j) {
        const auto v = ReadVal(txtW[j], weightNames[j]);
        if (!v) return;
        w[j] = *v;
    }
    const auto y = model_.NormalRun(*in1, *in2, w);
    if (!y) {
        MsgBox(this, QStringLiteral("この入力と重みでは値が大きくなりすぎ、出力を計算できません（桁あふれ）。値を小さくしてください。"));
        return;
    }
    SetText(txtOut, Format(*y, kValuePattern));
    txtdEdy->clear();
}

void frmUnitLearning::ReportOverflow(int k) {
    MsgBox(this, QStringLiteral("訓練データ %1行目の学習で値が大きくなりすぎ、計算できません（桁あふれ）。"
                                "訓練データを見直し、「初期化」してから学習し直してください。")
                     .arg(k + 1));
}

void frmUnitLearning::ResetTrainColors() {
    for (int i = 0; i < kRows; ++i)
        for (QLineEdit* b : {txtTrain1[i], txtTrain2[i], txtTrain3[i]}) SetBackColor(b, kWhite);
}

void frmUnitLearning::HighlightRow(int k) {
    ResetTrainColors();
    for (QLineEdit* b : {txtTrain1[k], txtTrain2[k], txtTrain3[k]}) SetBackColor(b, kRed);
}

void frmUnitLearning::ShowForward() {
    SetText(txtIn[0], GeneralText(model_.X1()));
    SetText(txtIn[1], GeneralText(model_.X2()));
    SetText(txtOut, Format(model_.Y(), kValuePattern));
    SetText(txtdEdy, Format(model_.Delta(), kValuePattern));
}

void frmUnitLearning::ShowWeights() {
    for (int j = 0; j < 3; ++j) SetText(txtW[j], Format(model_.W(j + 1), kValuePattern));
}

void frmUnitLearning::ShowError(double errSum) { SetText(txtError, Format(errSum, kValuePattern)); }

}  // namespace kv
