#include "neuron/NeuronWindow.h"

#include <cmath>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/kernels.h"
#include "kit/controls.h"
#include "kit/formula.h"
#include "neuron/neuron_model.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/msgbox.h"

namespace kv::neuron {

NeuronWindow::NeuronWindow(const QString& name, const QString& caption, const QString& instruction) {
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(720, 540);

    Label6 = MakeLabel(this, "Label6", instruction, QRect(16, 12, 520, 24));
    Command1 = MakeButton(this, "Command1", QStringLiteral("計算実行"), QRect(584, 10, 120, 34), this, &NeuronWindow::Command1_Click);

    // The neuron body, with S and theta inside.
    const QRect body(300, 70, 170, 170);
    new ShapeWidget(this, "Shape1", body, ShapeWidget::kEllipse);
    // As wide as the body allows: S is written with up to 15 digits.
    MakeLabel(this, "Label1", "S", QRect(body.left() + 10, body.top() + 52, 18, 24), Qt::AlignRight | Qt::AlignVCenter);
    txtS = MakeBox(this, "txtS", "", QRect(body.left() + 30, body.top() + 52, 124, 24));
    MakeLabel(this, "Label2", QStringLiteral("θ"), QRect(body.left() + 10, body.top() + 94, 18, 24), Qt::AlignRight | Qt::AlignVCenter);
    txtTheta = MakeBox(this, "txtTheta", "0.5", QRect(body.left() + 30, body.top() + 94, 124, 24));
    connect(txtTheta, &QLineEdit::textChanged, this, &NeuronWindow::txtTheta_Change);

    // Inputs at the left, each line carrying its weight box into the body.
    const char* inputs[kInputs] = {"1", "0", "1"};
    const char* weights[kInputs] = {"0.5", "0.3", "0.2"};
    const QPoint centre = body.center();
    for (int j = 0; j < kInputs; ++j) {
        const int y = 95 + 60 * j;
        const QString sub = QString::number(j + 1);
        Subscripted(this, j, "X", sub, QPoint(12, y - 12));
        txtX[j] = MakeBox(this, ArrayName("txtX", j), inputs[j], QRect(48, y - 12, 64, 24));
        const QPoint end(body.left() + 4, centre.y() + (j - 1) * 40);
        auto* line = new LineShape(this, ArrayName("Line1", j), QPoint(112, y), end);
        line->lower();
        const QPoint mid((112 + end.x()) / 2, (y + end.y()) / 2);
        Subscripted(this, 3 + j, QStringLiteral("ω"), sub, QPoint(mid.x() - 68, mid.y() - 30));
        txtW[j] = MakeBox(this, ArrayName("txtW", j), weights[j], QRect(mid.x() - 32, mid.y() - 12, 64, 24));
    }

    // The output to the right of the body.
    auto* out = new LineShape(this, "Line2", QPoint(body.right(), centre.y()), QPoint(body.right() + 50, centre.y()));
    out->lower();
    MakeLabel(this, "Label7", "Y", QRect(body.right() + 52, centre.y() - 12, 16, 24));
    txtY = MakeBox(this, "txtY", "", QRect(body.right() + 70, centre.y() - 12, 160, 24));

    Picture1 = new PlotSurface(this, QSize(360, 250));
    Picture1->setObjectName("Picture1");
    Picture1->move(344, 270);

    // S = sum w_j X_j
    MakeFormulaLabel(this, "Label5(1)", QStringLiteral("S = Σ"), QRect(16, 300, 60, 30));
    Subscripted(this, 7, QStringLiteral("ω"), "j", QPoint(54, 303));
    Subscripted(this, 6, "X", "j", QPoint(76, 303));
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
