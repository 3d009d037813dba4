#include "neuron/frmDecisionAnalogModelElse.h"

#include <cmath>

#include "kit/controls.h"
#include "kit/formula.h"
#include "neuron/AnalogWindow.h"

namespace kv {
namespace {

// The inputs X1..X3 and the fixed one.
constexpr int kRows = 4;
// Indices of the subscripted symbols (Label3(i) with Label4(i)): X1..X3, the omega of each
// row, then omega_j and X_j of the sum formula.
constexpr int kXLabels = 0;
constexpr int kWeightLabels = kRows;
constexpr int kSumLabels = kWeightLabels + kRows;

}  // namespace

frmDecisionAnalogModelElse::frmDecisionAnalogModelElse()
    : FormWindow("frmDecisionAnalogModelElse", QStringLiteral("閾値を重みとして表現する決定的アナログモデル")) {
    setContentSize(QSize(600, 512));
    QWidget* c = content();

    // The neuron, with the fixed input 1 below the three inputs X1..X3.
    const QRect body(330, 60, 150, 150);
    new ShapeWidget(c, "Shape1", body, ShapeWidget::kEllipse);
    MakeFormulaLabel(c, "Label1", "S", QRect(body.left() + 60, body.top() + 60, 30, 30), Qt::AlignCenter);
    const QPoint centre = body.center();
    const double radius = body.width() / 2.0;
    for (int j = 0; j < kRows; ++j) {
        const int y = 60 + 50 * j;
        const bool fixed = j == kRows - 1;
        const QString sub = QString::number(fixed ? 0 : j + 1);
        if (fixed) MakeFramedLabel(c, "Label2", QStringLiteral("1 (固定）"), QRect(16, y - 14, 84, 28));
        else Subscripted(c, kXLabels + j, "X", sub, QPoint(40, y - 12));
        // Each line ends on the outline of the body, spread over its left side.
        const int dy = (2 * j - 3) * 18;
        const QPoint end(centre.x() - static_cast<int>(std::sqrt(radius * radius - dy * dy)), centre.y() + dy);
        new LineShape(c, ArrayName("Line1", j), QPoint(104, y), end);
        const QPoint mid((104 + end.x()) / 2, (y + end.y()) / 2);
        Subscripted(c, kWeightLabels + j, QStringLiteral("ω"), sub, QPoint(mid.x() - 16, mid.y() - 30));
        if (fixed) MakeFormulaLabel(c, "Label5(0)", QStringLiteral("= －θ"), QRect(mid.x() + 16, mid.y() - 33, 70, 30));
    }
    new LineShape(c, "Line2", QPoint(body.right(), centre.y()), QPoint(body.right() + 60, centre.y()));
    MakeFormulaLabel(c, "Label7", "Y", QRect(body.right() + 66, centre.y() - 15, 24, 30));

    // S = sum from j = 0 of w_j X_j, the output rule, the sigmoid, and the remark.
    MakeFormulaLabel(c, "Label5(1)", QStringLiteral("S = Σ"), QRect(16, 260, 60, 30));
    MakeIndexLabel(c, "Label6", "j=0", QRect(38, 288, 30, 16));
    Subscripted(c, kSumLabels, QStringLiteral("ω"), "j", QPoint(54, 263));
    Subscripted(c, kSumLabels + 1, "X", "j", QPoint(76, 263));
    MakeFormulaLabel(c, "Label5(2)", QStringLiteral("Y = sigmoid(S)"), QRect(16, 320, 200, 30));
    neuron::AddSigmoidFormula(c, QPoint(16, 380));
    MakeFramedLabel(c, "Label8", QStringLiteral("重みの学習と閾値の学習を\u3000\u3000ひとつの処理として実現できる"),
                    QRect(16, 456, 568, 40));
}

}  // namespace kv
