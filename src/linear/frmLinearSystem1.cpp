#include "linear/frmLinearSystem1.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cmath>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/run_column.h"
#include "linear/update_formula.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/rounding.h"
#include "plot/timer.h"

namespace kv {
namespace {

using linear::AutoRun;
using linear::LearnMove;

// Layout: the formula strip along the top, the two frames of settings and the square plot
// under it on the left, the training data and the run controls on the right.
constexpr int kMargin = 12;
constexpr int kStripWidth = 760;
constexpr int kPlotSide = 480;
constexpr int kColumnLeft = kMargin + kPlotSide + 20;
constexpr int kColumnWidth = 260;
constexpr int kRowTop = 46, kRowPitch = 30;

constexpr const char* kDefaultX[linear::kSampleCount] = {"1.0", "2.0", "3.0", "4.0", "5.0"};
constexpr const char* kDefaultY[linear::kSampleCount] = {"1.0", "2.5", "3.5", "4.5", "4.5"};

QString RowName(int i, const char* column) { return QStringLiteral("訓練データ %1行目の%2").arg(i + 1).arg(column); }

}  // namespace

frmLinearSystem1::frmLinearSystem1()
    : frmLinearSystem1("frmLinearSystem1", QStringLiteral("線形システムの学習（一括更新学習法）"), linear::Update::Batch) {}

frmLinearSystem1::frmLinearSystem1(const QString& name, const QString& caption, linear::Update rule)
    : SteppedForm(name, caption), model_(rule) {
    QWidget* c = content();
    const int formulaHeight = linear::UpdateFormula::HeightFor(rule);
    auto* strip = new ShapeWidget(c, "Shape1", QRect(kMargin, 8, kStripWidth, formulaHeight + 8), ShapeWidget::kRectangle);
    strip->setBorderColor(kPaleGreen);
    strip->setFill(true, kPaleGreen);
    MakeLabel(c, "Label7", QStringLiteral("（パラメータ更新式）"), QRect(kMargin + 10, 8, 180, formulaHeight + 8));
    new linear::UpdateFormula(c, rule, QRect(kMargin + 200, 12, 420, formulaHeight));

    const int top = 8 + formulaHeight + 8 + 10;
    const MaximaBoxes maxima = MakeMaximaFrame(this, QRect(kMargin, top, 300, 64), "6", "10");
    txtMaxX = maxima.txtMaxX;
    txtMaxY = maxima.txtMaxY;

    QGroupBox* frame3 = MakeFrame(c, "Frame3", QStringLiteral("計算条件"), QRect(kMargin + 312, top, kPlotSide - 312, 64));
    txtEpsilon = MakeLabelledBox(frame3, "Label4", QStringLiteral("ε"), QRect(10, 26, 20, 26), "txtEpsilon", "0.01",
                                 QRect(36, 26, 110, 26));

    Picture1 = MakePlot(c, QPoint(kMargin, top + 76), QSize(kPlotSide, kPlotSide), QStringLiteral("学習のグラフ"),
                        QStringLiteral("横軸 X、縦軸 Y に訓練データの点と、学習中のモデルの直線 y = a・x を描きます。"));

    const int loopTop = kRowTop + kRowPitch * linear::kSampleCount + 6;
    QGroupBox* frame1 = MakeFrame(c, "Frame1", QStringLiteral("訓練データ"), QRect(kColumnLeft, top, kColumnWidth, loopTop + 36));
    MakeLabel(frame1, "lblX", "X", QRect(24, 22, 100, 22), Qt::AlignCenter);
    MakeLabel(frame1, "Label1", "Y", QRect(136, 22, 100, 22), Qt::AlignCenter);
    for (int i = 0; i < linear::kSampleCount; ++i) {
        const int y = kRowTop + kRowPitch * i;
        txtX[i] = MakeBox(frame1, ArrayName("txtX", i), kDefaultX[i], QRect(24, y, 100, 24));
        txtY[i] = MakeBox(frame1, ArrayName("txtY", i), kDefaultY[i], QRect(136, y, 100, 24));
        Describe(txtX[i], RowName(i, "X"), QStringLiteral("この訓練データの入力 X を入れます。"));
        Describe(txtY[i], RowName(i, "Y"), QStringLiteral("この訓練データの入力 X に対する出力 Y を入れます。"));
    }
    txtLoop = MakeLabelledBox(frame1, "Label5", QStringLiteral("訓練回数"), QRect(24, loopTop, 100, 24), "txtLoop", "10",
                              QRect(136, loopTop, 100, 24));

    DescribeControls(c, {{"txtEpsilon", QStringLiteral("学習率"), QStringLiteral("パラメータ a を更新するときの学習率を入れます。")},
                         {"txtLoop", {}, QStringLiteral("訓練回数を入れます（「初期設定」のときに読み込みます）。")}});

    const RunColumn column = MakeRunColumn(this, QPoint(kColumnLeft, top + loopTop + 48), kColumnWidth, "100", 52);
    Text1 = column.Text1;
    lblResult = column.lblResult;

    setContentSize(QSize(kColumnLeft + kColumnWidth + kMargin, std::max(top + 76 + kPlotSide, column.bottom) + kMargin));
    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return Step(by); });
    setRunKeys({.step = "Command3", .start = "Command4", .stop = "Command5"});
    showWaitsOf(run_);
    curve_ = addCurveWindow({.title = QStringLiteral("誤差"),
                             .xTitle = QStringLiteral("訓練回数"),
                             .series = {{QStringLiteral("誤差"), kBlue, kFixed6}, {QStringLiteral("a"), kRed, kFixed6, true}},
                             .logOffered = true});
}

void frmLinearSystem1::Form_Load() { Initialise(true); }

void frmLinearSystem1::Command1_Click() { Redraw(true); }

void frmLinearSystem1::Command2_Click() { Initialise(true); }

void frmLinearSystem1::Command3_Click() { run_->Step(); }

void frmLinearSystem1::Command4_Click() {
    auto_.Reset();  // the first tick initialises
    run_->Start();
}

void frmLinearSystem1::Command5_Click() { run_->Stop(); }

std::optional<linear::Samples> frmLinearSystem1::ReadSamples(bool report) {
    linear::Samples samples;
    for (int i = 0; i < linear::kSampleCount; ++i) {
        const auto x = report ? ReadVal(txtX[i], RowName(i, "X")) : PeekVal(txtX[i]);
        if (!x) return std::nullopt;
        const auto y = report ? ReadVal(txtY[i], RowName(i, "Y")) : PeekVal(txtY[i]);
        if (!y) return std::nullopt;
        samples[i] = {*x, *y};
    }
    return samples;
}

bool frmLinearSystem1::Redraw(bool report) {
    const auto maxima = ReadMaxima(txtMaxX, txtMaxY, report);
    if (!maxima) return false;
    const auto samples = ReadSamples(report);
    if (!samples) return false;
    if (!DrawAxes(*Picture1, maxima->x, maxima->y)) return false;
    maxima_ = *maxima;

    Picture1->setFillStyle(FillStyle::Solid);
    Picture1->setFillColor(kRed);
    Picture1->setDrawWidth(1);
    for (const linear::Sample& s : *samples) Picture1->Circle(s.x, s.y, 0.02 * maxima_.x, kWhite);

    // The line as it stood, so that the next step's erasing draw takes it away.
    if (line_ == LineShown::Learning) DrawModelLine(model_.ParamA(), kYellow);
    if (line_ == LineShown::Blinking) DrawModelLine(model_.ParamA(), kCyan);
    return true;
}

bool frmLinearSystem1::Initialise(bool report) {
    // Everything is read before anything changes.
    const auto maxima = ReadMaxima(txtMaxX, txtMaxY, report);
    if (!maxima) return false;
    const auto samples = ReadSamples(report);
    if (!samples) return false;
    const auto eps = report ? ReadVal(txtEpsilon, QStringLiteral("ε")) : PeekVal(txtEpsilon);
    if (!eps) return false;
    // Read as a 16-bit number and used for nothing else.
    std::optional<int> loop;
    if (report) {
        loop = ReadCount(txtLoop, QStringLiteral("訓練回数"), -32768, 32767);
    } else if (const auto v = PeekVal(txtLoop)) {
        const auto n = RoundToLong(*v);
        if (n && *n >= -32768 && *n <= 32767) loop = static_cast<int>(*n);
    }
    if (!loop) return false;

    line_ = LineShown::None;
    Redraw(false);
    model_.Initialise(*samples, *eps);
    curve_->clear();
    ShowLine(LineShown::Learning);
    return true;
}

void frmLinearSystem1::DrawModelLine(double a, Rgb colour) {
    const DrawMode saved = Picture1->drawMode();
    Picture1->setDrawMode(DrawMode::Xor);
    Picture1->setDrawWidth(5);
    Picture1->Line(0, 0, maxima_.x, a * maxima_.x, colour);
    Picture1->setDrawMode(saved);
}

// Draws or erases the line for the current a so that it stands as `shown`.
void frmLinearSystem1::ShowLine(LineShown shown) {
    if (line_ == shown) return;
    if (line_ == LineShown::Learning) DrawModelLine(model_.ParamA(), kYellow);
    if (line_ == LineShown::Blinking) DrawModelLine(model_.ParamA(), kCyan);
    if (shown == LineShown::Learning) DrawModelLine(model_.ParamA(), kYellow);
    if (shown == LineShown::Blinking) DrawModelLine(model_.ParamA(), kCyan);
    line_ = shown;
}

bool frmLinearSystem1::LearnStep() {
    const LearnMove move = model_.LearnStep();
    switch (move.outcome) {
        case LearnMove::Outcome::Learnt:
            break;
        case LearnMove::Outcome::Diverged:
            run_->Stop();  // before the message: learning cannot go on from here
            MsgBox(this, QStringLiteral("計算が発散したため、学習を止めました。「ε」の値を小さくして「初期設定」を押してください。"));
            return false;
        case LearnMove::Outcome::CountFull:
            run_->Stop();
            MsgBox(this, QStringLiteral("訓練回数が%1回に達したため、これ以上学習できません。「初期設定」を押してください。")
                             .arg(linear::LinearLearner::kMaxCount));
            return false;
    }
    const QString count = QStringLiteral("訓練回数 %1回").arg(move.count);
    const QString error = QStringLiteral("誤    差 = ") + QString::fromStdString(Format(move.error, kFixed6));
    result_ = count + QStringLiteral("\r\n") + error;
    lblResult->setText(count + QStringLiteral("\n") + error);
    curve_->addAt(move.count, {move.error, move.aNew});
    curve_->refresh();

    // The old line goes and the new one comes, in one XOR drawing state.
    if (line_ == LineShown::Learning) DrawModelLine(move.aOld, kYellow);
    if (line_ == LineShown::Blinking) DrawModelLine(move.aOld, kCyan);
    DrawModelLine(move.aNew, kYellow);
    line_ = LineShown::Learning;
    return true;
}

StepResult frmLinearSystem1::Step(StepBy by) {
    if (by == StepBy::Timer) return AutoTick();
    if (!LearnStep()) return StepResult::Stop;
    if (model_.AtLimit()) MsgBox(this, QStringLiteral("これ以上の精度は出ません.\r\n\r\n") + result_);
    return StepResult::Continue;
}

StepResult frmLinearSystem1::AutoTick() {
    switch (auto_.Tick()) {
        case AutoRun::Action::Initialise:
            if (Initialise(false)) return StepResult::Continue;
            auto_.Reset();  // a box is being typed: the next tick tries again
            return StepResult::Wait;
        case AutoRun::Action::Pause:
            return StepResult::Continue;
        case AutoRun::Action::Learn:
            if (!LearnStep()) return StepResult::Stop;
            auto_.Learnt(model_.AtLimit());
            if (model_.AtLimit()) {
                ShowLine(LineShown::None);
                SetTimerInterval(run_->timer(), AutoRun::kBlinkInterval, this);
            }
            return StepResult::Continue;
        case AutoRun::Action::Blink:
            ShowLine(line_ == LineShown::Blinking ? LineShown::None : LineShown::Blinking);
            return StepResult::Continue;
        case AutoRun::Action::Restart: {
            // The learner's interval again; one being typed, or one the timer cannot take,
            // is waited for without a word.
            const auto ms = PeekVal(Text1);
            const auto n = ms ? RoundToLong(*ms) : std::nullopt;
            if (!n || *n < 0 || *n > 65535) {
                auto_.RestartRefused();
                return StepResult::Wait;
            }
            SetTimerInterval(run_->timer(), static_cast<double>(*n), this);
            return StepResult::Continue;
        }
    }
    return StepResult::Continue;
}

}  // namespace kv
