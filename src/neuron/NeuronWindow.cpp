#include "neuron/NeuronWindow.h"

#include <cmath>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/kernels.h"
#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/formula.h"
#include "neuron/neuron_model.h"
#include "plot/input.h"
#include "plot/msgbox.h"

namespace kv::neuron {

namespace {

// The neuron is a circle wide enough for a row of S or theta: a label and a box that shows
// the longest general text (22 characters, "-1.23456789012345E-100") whole.
constexpr int kRadius = 110;
constexpr QPoint kCentre(368, 160);  // puts the Y box flush with the right column
constexpr int kNumberWidth = 176;   // the S, theta and Y boxes
constexpr int kBoxHeight = 24;
constexpr int kRowOffset = 22;      // the S row above the centre, the theta row below it
constexpr int kInputWidth = 64;     // the X and omega boxes
constexpr int kInputRight = 112;    // right edge of the X boxes, where their lines start

// Indices of the subscripted symbols (Label3(i) with Label4(i)): X1..X3, omega1..omega3,
// then X_j and omega_j of the sum formula.
constexpr int kXLabels = 0;
constexpr int kWeightLabels = kXLabels + NeuronWindow::kInputs;
constexpr int kSumLabels = kWeightLabels + NeuronWindow::kInputs;

// Where a line aimed at the neuron at height `y` meets the circle's left half.
QPoint OnCircleLeft(int y) {
    const double dy = y - kCentre.y();
    return QPoint(kCentre.x() - static_cast<int>(std::sqrt(kRadius * kRadius - dy * dy)), y);
}

// The order Tab visits the controls in: the diagram read row by row (each input, then the
// weight on its line), theta, the boxes a window adds, the buttons, and last the results,
// which the learner reads rather than types.
const QStringList kTabOrder = {"txtX(0)", "txtW(0)", "txtX(1)", "txtW(1)", "txtX(2)",  "txtW(2)", "txtTheta",
                               "txtAlfa", "txtIpsi", "txtTimer", "Command1", "Command2", "txtS",    "txtY"};

}  // namespace

NeuronWindow::NeuronWindow(const QString& name, const QString& caption, const QString& instruction, const QString& plotDescription)
    : FormWindow(name, caption) {
    setContentSize(QSize(720, 540));
    setTabFlow(kTabOrder);
    QWidget* c = content();

    Label6 = MakeLabel(c, "Label6", instruction, QRect(16, 12, 520, 24));
    Command1 = MakeButton(c, "Command1", QStringLiteral("計算実行"), QRect(584, 10, 120, 34), this, &NeuronWindow::Command1_Click);

    // The neuron body, with S and theta inside.
    const QRect body(kCentre - QPoint(kRadius, kRadius), QSize(2 * kRadius, 2 * kRadius));
    new ShapeWidget(c, "Shape1", body, ShapeWidget::kEllipse);
    const int rowLeft = kCentre.x() - (18 + kNumberWidth) / 2;  // label and box centred in the circle
    const int sTop = kCentre.y() - kRowOffset - kBoxHeight / 2, thetaTop = kCentre.y() + kRowOffset - kBoxHeight / 2;
    txtS = MakeLabelledBox(c, "Label1", "S", QRect(rowLeft, sTop, 14, kBoxHeight), "txtS", "",
                           QRect(rowLeft + 18, sTop, kNumberWidth, kBoxHeight));
    txtTheta = MakeLabelledBox(c, "Label2", QStringLiteral("θ"), QRect(rowLeft, thetaTop, 14, kBoxHeight), "txtTheta", "0.5",
                               QRect(rowLeft + 18, thetaTop, kNumberWidth, kBoxHeight));
    connect(txtTheta, &QLineEdit::textChanged, this, &NeuronWindow::txtTheta_Change);

    // Inputs at the left, each line carrying its weight box into the body.
    const char* inputs[kInputs] = {"1", "0", "1"};
    const char* weights[kInputs] = {"0.5", "0.3", "0.2"};
    for (int j = 0; j < kInputs; ++j) {
        const int y = 95 + 60 * j;
        const QString sub = QString::number(j + 1);
        QLabel* x = Subscripted(c, kXLabels + j, "X", sub, QPoint(12, y - 12));
        txtX[j] = MakeBox(c, ArrayName("txtX", j), inputs[j], QRect(kInputRight - kInputWidth, y - 12, kInputWidth, kBoxHeight));
        TieSubscripted(x, sub, txtX[j]);
        const QPoint end = OnCircleLeft(kCentre.y() + (j - 1) * 40);
        auto* line = new LineShape(c, ArrayName("Line1", j), QPoint(kInputRight, y), end);
        line->lower();
        const QPoint mid((kInputRight + end.x()) / 2, (y + end.y()) / 2);
        // Above the left half of its box, clear of the line on either slope.
        QLabel* w = Subscripted(c, kWeightLabels + j, QStringLiteral("ω"), sub, QPoint(mid.x() - 30, mid.y() - 40));
        txtW[j] = MakeBox(c, ArrayName("txtW", j), weights[j], QRect(mid.x() - kInputWidth / 2, mid.y() - 12, kInputWidth, kBoxHeight));
        TieSubscripted(w, sub, txtW[j]);
    }

    // The output to the right of the body.
    auto* out = new LineShape(c, "Line2", QPoint(body.right(), kCentre.y()), QPoint(body.right() + 30, kCentre.y()));
    out->lower();
    txtY = MakeLabelledBox(c, "Label7", "Y", QRect(body.right() + 32, kCentre.y() - 12, 16, kBoxHeight), "txtY", "",
                           QRect(body.right() + 50, kCentre.y() - 12, kNumberWidth, kBoxHeight), Qt::AlignLeft | Qt::AlignVCenter);

    Picture1 = MakePlot(c, QPoint(344, 280), QSize(360, 250), QStringLiteral("応答のグラフ"), plotDescription);

    // S = sum w_j X_j
    MakeFormulaLabel(c, "Label5(1)", QStringLiteral("S = Σ"), QRect(16, 300, 60, 30));
    Subscripted(c, kSumLabels + 1, QStringLiteral("ω"), "j", QPoint(54, 303));
    Subscripted(c, kSumLabels, "X", "j", QPoint(76, 303));

    DescribeControls(c, {
        {"txtX", QStringLiteral("入力"), QStringLiteral("ニューロンへの入力の値を入れます。")},
        {"txtW", QStringLiteral("重み"), QStringLiteral("この入力にかける重みを入れます。")},
        {"txtTheta", QStringLiteral("しきい値"), QStringLiteral("しきい値を入れます（変えるとグラフを描き直します）。")},
        {"txtS", QStringLiteral("重み付き和"), QStringLiteral("「計算実行」で求めた入力と重みの積の和です。")},
        {"txtY", QStringLiteral("出力"), QStringLiteral("「計算実行」で求めたニューロンの出力です。")},
    });
}

void NeuronWindow::Form_Load() { DrawResponse(); }

void NeuronWindow::Command1_Click() {
    if (Compute()) DrawResponse();
}

void NeuronWindow::txtTheta_Change() { DrawResponse(); }

std::optional<double> NeuronWindow::ReadWeightedSum() {
    double x[kInputs], w[kInputs];
    for (int j = 0; j < kInputs; ++j) {
        const QString sub = QString::number(j + 1);
        const auto xv = ReadStrict(txtX[j], "X" + sub);
        if (!xv) return std::nullopt;
        const auto wv = ReadStrict(txtW[j], QStringLiteral("ω") + sub);
        if (!wv) return std::nullopt;
        x[j] = *xv;
        w[j] = *wv;
    }
    const double s = WeightedSum(x, w);
    if (!std::isfinite(s)) {
        MsgBox(this, QStringLiteral("重み付き和 S = Σ ωX が大きすぎて計算できません。X と ω の値を小さくしてください。"));
        return std::nullopt;
    }
    return s;
}

std::optional<double> NeuronWindow::ReadTheta(bool report) {
    return report ? ReadVal(txtTheta, QStringLiteral("θ")) : PeekVal(txtTheta);
}

}  // namespace kv::neuron
