#include "gradient/frmSlopeMethod1.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>

#include "gradient/formula_row.h"
#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/curve_window.h"
#include "kit/run_column.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

// Layout: the formula frames along the top, the square plot under them, the controls of
// the search in a column at the right.
constexpr int kMargin = 12;
constexpr int kFrameHeight = 64, kFramePitch = 70;
constexpr int kPlotSide = 480;
constexpr int kColumnLeft = kMargin + kPlotSide + 20;
constexpr int kColumnWidth = 300;

const char* const kCoefficientDefaults[4] = {"0", "2", "-6", "7"};

QString ResultText(double x, double f) {
    return QString::fromStdString(" x=" + Format(x, kFixed4) + " f(x)=" + Format(f, kFixed4));
}

}  // namespace

QString CoefficientName(const QString& formula, int k) { return QStringLiteral("%1の係数（%2番目）").arg(formula).arg(k + 1); }

frmSlopeMethod1::frmSlopeMethod1()
    : frmSlopeMethod1("frmSlopeMethod1", QStringLiteral("勾配法（その１）"), 1, QStringLiteral("δX初期値")) {}

frmSlopeMethod1::frmSlopeMethod1(const QString& name, const QString& caption, int formulaRows, const QString& stepName)
    : SteppedForm(name, caption), stepName_(stepName) {
    QWidget* c = content();
    const int plotTop = kMargin + formulaRows * kFramePitch;
    setContentSize(QSize(kColumnLeft + kColumnWidth + kMargin, plotTop + kPlotSide + 40));

    // The polynomial as it reads: A0 X³ ＋ A1 X² ＋ A2 X ＋ A3.
    Frame1 = MakeFrame(c, formulaRows > 1 ? ArrayName("Frame1", 0) : QStringLiteral("Frame1"), QStringLiteral("適用式"),
                       FormulaFrame(0));
    const gradient::FormulaRow row(Frame1);
    txtA[0] = row.Box(ArrayName("txtA", 0), kCoefficientDefaults[0], 0);
    row.Term(ArrayName("Label1", 0), QStringLiteral("X  ＋"), ArrayName("Label1", 3), QStringLiteral("3"), 0);
    for (int k = 1; k < 4; ++k) {
        txtA[k] = row.Box(ArrayName("txtA", k), kCoefficientDefaults[k], k);
        if (k < 3)
            row.Term(ArrayName("Label1", k), QStringLiteral("X\u3000\uFF0B"), k == 1 ? ArrayName("Label1", 4) : QString(),
                     QStringLiteral("2"), k);
    }
    for (int k = 0; k < 4; ++k) {
        Describe(txtA[k], CoefficientName(QStringLiteral("適用式"), k),
                 QStringLiteral("多項式のこの項の係数を入れます（変えるとグラフを描き直します）。"));
        connect(txtA[k], &QLineEdit::textChanged, this, [this, k] { txtA_Change(k); });
    }

    const int maximaLeft = FormulaFrame(0).right() + 12;
    const MaximaBoxes maxima =
        MakeMaximaFrame(this, QRect(maximaLeft, kMargin, kColumnLeft + kColumnWidth - maximaLeft, kFrameHeight), "3", "10");
    txtMaxX = maxima.txtMaxX;
    txtMaxY = maxima.txtMaxY;

    Picture1 = MakePlot(c, QPoint(kMargin, plotTop), QSize(kPlotSide, kPlotSide), QStringLiteral("関数のグラフ"),
                        QStringLiteral("適用式の関数 f(X) の曲線を表示最大値までの範囲に描き、探索中の点の位置を縦線で示します。"));
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    lblMouseXY = MakeLabel(c, "lblMouseXY", "", QRect(kMargin, plotTop + kPlotSide + 6, kPlotSide, 26));

    // The search's controls keep their places whatever the formula rows above the plot.
    const int columnTop = kMargin + kFramePitch;
    QGroupBox* frame3 = MakeFrame(c, "Frame3", QStringLiteral("計算条件"), QRect(kColumnLeft, columnTop, kColumnWidth, 100));
    const RowGrid rows{.at = {10, 26}, .labelWidth = 110, .gap = 8, .boxWidth = 100, .height = 26, .pitch = 34};
    const auto boxes =
        MakeBoxRows(frame3, rows, {{"Label4", stepName, "txtEpsilon", "0.01"}, {"Label5", QStringLiteral("初期値"), "txtX", "0"}});
    txtEpsilon = boxes[0];
    txtX = boxes[1];
    DescribeControls(frame3, {{"txtEpsilon", {}, QStringLiteral("探索で X を動かす幅 δX の最初の値を入れます。")},
                              {"txtX", {}, QStringLiteral("探索を始める X の値を入れます。")}});

    const RunColumn column = MakeRunColumn(this, QPoint(kColumnLeft, columnTop + 116), kColumnWidth, "5", 48);
    Text1 = column.Text1;
    lblResult = column.lblResult;

    run_ = new Stepper(this, Text1, QStringLiteral("タイマー"), [this](StepBy by) { return SearchStep(by); });
    setRunKeys({.step = "Command3", .start = "Command4", .stop = "Command5"});
    showWaitsOf(run_);
    curve_ = addCurveWindow({.title = QStringLiteral("関数値 f(x)"),
                             .xTitle = QStringLiteral("回数"),
                             .series = {{QStringLiteral("f(x)"), kBlue, kFixed4}, {QStringLiteral("x"), kRed, kFixed4, true}}});
}

QRect frmSlopeMethod1::FormulaFrame(int row) const { return QRect(kMargin, kMargin + row * kFramePitch, 470, kFrameHeight); }

void frmSlopeMethod1::Form_Load() { Initialise(true); }

void frmSlopeMethod1::Command1_Click() { Redraw(true); }

void frmSlopeMethod1::Command2_Click() { Initialise(true); }

void frmSlopeMethod1::Command3_Click() { run_->Step(); }

void frmSlopeMethod1::Command4_Click() {
    if (!run_->Start()) return;
    if (!Initialise(true)) run_->Stop();
}

void frmSlopeMethod1::Command5_Click() { run_->Stop(); }

void frmSlopeMethod1::txtA_Change(int) { Redraw(false); }

std::optional<gradient::Cubic> frmSlopeMethod1::ReadCubic(bool report) {
    gradient::Cubic f;
    for (int k = 0; k < 4; ++k) {
        const auto a = report ? ReadVal(txtA[k], CoefficientName(QStringLiteral("適用式"), k)) : PeekVal(txtA[k]);
        if (!a) return std::nullopt;
        f.A[k] = *a;
    }
    return f;
}

bool frmSlopeMethod1::Redraw(bool report) {
    const auto maxima = ReadMaxima(txtMaxX, txtMaxY, report);
    if (!maxima) return false;
    const auto f = ReadCubic(report);
    if (!f) return false;
    if (!DrawAxes(*Picture1, maxima->x, maxima->y)) return false;
    maxima_ = *maxima;

    // About a thousand pieces; one with an end outside the frame is left out.
    const double ux = maxima_.x * 0.001, uy = maxima_.y * 0.001;
    Picture1->setDrawWidth(3);
    double x = ux + (-3 * ux);
    double fx = (*f)(x);
    const auto inside = [&](double v) { return v >= -3 * uy && v <= maxima_.y; };
    while (x < maxima_.x) {
        const double x1 = ux + x;
        const double f1 = (*f)(x1);
        if (inside(fx) && inside(f1)) Picture1->Line(x, fx, x1, f1, kBlue);
        x = x1;
        fx = f1;
    }
    if (markerShown_) DrawMarker(PosX(), PosF());
    return true;
}

bool frmSlopeMethod1::Initialise(bool report) {
    BeforeInitialise();
    const auto f = ReadCubic(report);
    if (!f) return false;
    // The old marker goes with the cleared plot; the new one is drawn once the search starts.
    const bool shown = markerShown_;
    markerShown_ = false;
    if (!Redraw(report)) {
        markerShown_ = shown;
        return false;
    }
    if (!StartSearch(*f, report)) {
        if (shown) DrawMarker(PosX(), PosF());
        markerShown_ = shown;
        return false;
    }
    DrawMarker(PosX(), PosF());
    markerShown_ = true;
    curve_->clear();
    return true;
}

bool frmSlopeMethod1::StartSearch(const gradient::Cubic& f, bool report) {
    const auto x = report ? ReadVal(txtX, QStringLiteral("初期値")) : PeekVal(txtX);
    if (!x) return false;
    // Named as its label reads: "δX初期値" here, "ε" in the derivative window.
    const auto eps = report ? ReadVal(txtEpsilon, stepName_) : PeekVal(txtEpsilon);
    if (!eps) return false;
    if (!std::isfinite(f(*x))) {
        if (report) ReportBadBox(txtX, QStringLiteral("「初期値」の点では関数値が大きすぎて計算できません。"));
        return false;
    }
    Begin(*x, f, *eps);
    return true;
}

std::optional<gradient::SearchMove> frmSlopeMethod1::Advance(const gradient::Cubic& f, bool) { return search_.Step(f); }

StepResult frmSlopeMethod1::SearchStep(StepBy by) {
    const bool hand = by == StepBy::Hand;
    const auto f = ReadCubic(hand);
    if (!f) return hand ? StepResult::Stop : StepResult::Wait;
    const auto move = Advance(*f, hand);
    if (!move) return hand ? StepResult::Stop : StepResult::Wait;
    if (move->diverged) {
        run_->Stop();  // before the message: the search cannot go on
        MsgBox(this, QStringLiteral("計算が発散したため、実行を止めました。δX、ε または係数の値を見直してください。"));
        return StepResult::Stop;
    }
    DrawMarker(move->fromX, move->fromF);
    DrawMarker(move->toX, move->toF);
    curve_->add({move->toF, move->toX});
    curve_->refresh();
    if (move->converged) lblResult->setText(ResultText(move->fromX, move->fromF));

    if (!Converged()) return StepResult::Continue;
    if (hand) {
        MsgBox(this, QStringLiteral("収斂しました.") + lblResult->text());
        return StepResult::Continue;
    }
    // On the timer the demonstration starts over from the initial point, without a word.
    return Initialise(false) ? StepResult::Continue : StepResult::Wait;
}

void frmSlopeMethod1::DrawMarker(double x, double f) {
    const DrawMode saved = Picture1->drawMode();
    Picture1->setDrawMode(DrawMode::Xor);
    Picture1->setFillStyle(FillStyle::Solid);
    Picture1->setFillColor(kCyan);
    Picture1->setDrawWidth(1);
    Picture1->Circle(x, f, 0.02 * maxima_.x, kWhite);
    Picture1->setDrawMode(saved);
}

void frmSlopeMethod1::Picture1_MouseMove(int, int, double X, double Y) {
    const float x = static_cast<float>(X), y = static_cast<float>(Y);
    QString value = QStringLiteral("計算できません");
    if (const auto f = ReadCubic(false)) {
        const double fx = (*f)(x);
        if (std::isfinite(fx)) value = QString::fromStdString(GeneralText(fx));
    }
    lblMouseXY->setText(QStringLiteral("位置 X=%1 Y=%2 関数値 = %3")
                            .arg(QString::fromStdString(GeneralTextSingle(x)), QString::fromStdString(GeneralTextSingle(y)), value));
}

bool frmSlopeMethod1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1 && event->type() == QEvent::MouseMove) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const QPointF p = e->position();
        const double x = Picture1->scaleLeft() + p.x() / Picture1->width() * Picture1->scaleWidth();
        const double y = Picture1->scaleTop() + p.y() / Picture1->height() * Picture1->scaleHeight();
        // Shift, Ctrl and Alt sit in bits 25 to 27 of Qt's modifiers: shifted down they read 1, 2, 4.
        Picture1_MouseMove(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers() >> 25), x, y);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kv
