#include "neuron/frmDecisionAnalogModelElse.h"

#include <cmath>

#include "kit/controls.h"
#include "kit/formula.h"
#include "neuron/AnalogWindow.h"

namespace kv {

frmDecisionAnalogModelElse::frmDecisionAnalogModelElse() {
    setObjectName("frmDecisionAnalogModelElse");
    setWindowTitle(QStringLiteral("閾値を重みとして表現する決定的アナログモデル"));
    setFixedSize(600, 512);

    // The neuron, with the fixed input 1 below the three inputs X1..X3.
    const QRect body(330, 60, 150, 150);
    new ShapeWidget(this, "Shape1", body, ShapeWidget::kEllipse);
    MakeFormulaLabel(this, "Label1", "S", QRect(body.left() + 60, body.top() + 60, 30, 30), Qt::AlignCenter);
    const QPoint centre = body.center();
    const double radius = body.width() / 2.0;
    constexpr int kRows = 4;
    for (int j = 0; j < kRows; ++j) {
        const int y = 60 + 50 * j;
        const bool fixed = j == kRows - 1;
        const QString sub = QString::number(fixed ? 0 : j + 1);
        if (fixed) MakeFramedLabel(this, "Label2", QStringLiteral("1 (固定）"), QRect(16, y - 14, 84, 28));
        else Subscripted(this, j, "X", sub, QPoint(40, y - 12));
        // Each line ends on the outline of the body, spread over its left side.
        const int dy = (2 * j - 3) * 18;
        const QPoint end(centre.x() - static_cast<int>(std::sqrt(radius * radius - dy * dy)), centre.y() + dy);
        new LineShape(this, ArrayName("Line1", j), QPoint(104, y), end);
        const QPoint mid((104 + end.x()) / 2, (y + end.y()) / 2);
        Subscripted(this, kRows + j, QStringLiteral("ω"), sub, QPoint(mid.x() - 16, mid.y() - 30));
        if (fixed) MakeFormulaLabel(this, "Label5(0)", QStringLiteral("= －θ"), QRect(mid.x() + 16, mid.y() - 33, 70, 30));
    }
    new LineShape(this, "Line2", QPoint(body.right(), centre.y()), QPoint(body.right() + 60, centre.y()));
    MakeFormulaLabel(this, "Label7", "Y", QRect(body.right() + 66, centre.y() - 15, 24, 30));

    // S = sum from j = 0 of w_j X_j, the output rule, the sigmoid, and the remark.
    MakeFormulaLabel(this, "Label5(1)", QStringLiteral("S = Σ"), QRect(16, 260, 60, 30));
    MakeIndexLabel(this, "Label6", "j=0", QRect(38, 288, 30, 16));
    Subscripted(this, 2 * kRows, QStringLiteral("ω"), "j", QPoint(54, 263));
    Subscripted(this, 2 * kRows + 1, "X", "j", QPoint(76, 263));
    MakeFormulaLabel(this, "Label5(2)", QStringLiteral("Y = sigmoid(S)"), QRect(16, 320, 200, 30));
    neuron::AddSigmoidFormula(this, QPoint(16, 380));
    MakeFramedLabel(this, "Label8", QStringLiteral("重みの学習と閾値の学習を\u3000\u3000ひとつの処理として実現できる"),
                    QRect(16, 456, 568, 40));
}

}  // namespace kv
