#include "gradient/frmSlopeMethod2.h"

#include <QGroupBox>
#include <QLineEdit>

#include <cmath>

#include "gradient/formula_row.h"
#include "kit/accessible.h"
#include "kit/controls.h"
#include "plot/input.h"
#include "plot/numtext.h"

namespace kv {

frmSlopeMethod2::frmSlopeMethod2()
    : frmSlopeMethod1("frmSlopeMethod2", QStringLiteral("勾配法（その２）"), 2, QStringLiteral("ε")) {
    QGroupBox* frame = MakeFrame(content(), ArrayName("Frame1", 1), QStringLiteral("微分式"), FormulaFrame(1));
    // B0 X² ＋ B1 X ＋ B2; the texts typed here at design time are replaced at load.
    const gradient::FormulaRow row(frame);
    const char* designed[3] = {"2", "-3", "5"};
    for (int k = 0; k < 3; ++k) {
        txtB[k] = row.Box(ArrayName("txtB", k), designed[k], k);
        Describe(txtB[k], CoefficientName(QStringLiteral("微分式"), k),
                 QStringLiteral("適用式から求めた微分式のこの項の係数です（書き換えることもできます）。"));
    }
    Describe(txtEpsilon, QStringLiteral("微分値にかける係数 ε"), QStringLiteral("X から引く微分値にかける係数 ε を入れます。"));
    const QString term = QStringLiteral("X\u3000\uFF0B");
    row.Term(ArrayName("Label1", 8), term, ArrayName("Label1", 5), QStringLiteral("2"), 0);
    row.Term(ArrayName("Label1", 7), term, QString(), QString(), 1);
}

void frmSlopeMethod2::txtA_Change(int Index) {
    FillDerivative();
    frmSlopeMethod1::txtA_Change(Index);
}

void frmSlopeMethod2::FillDerivative() {
    const auto f = ReadCubic(false);
    if (!f) return;
    const gradient::Quadratic g = gradient::Derivative(*f);
    for (int k = 0; k < 3; ++k) {
        // 3 A0 of a coefficient near the double limit is beyond it: that box keeps its text.
        if (std::isfinite(g.B[k])) SetText(txtB[k], GeneralText(g.B[k]));
    }
}

std::optional<gradient::Quadratic> frmSlopeMethod2::ReadSlope(bool report) {
    gradient::Quadratic g;
    for (int k = 0; k < 3; ++k) {
        const auto b = report ? ReadVal(txtB[k], CoefficientName(QStringLiteral("微分式"), k)) : PeekVal(txtB[k]);
        if (!b) return std::nullopt;
        g.B[k] = *b;
    }
    return g;
}

std::optional<gradient::SearchMove> frmSlopeMethod2::Advance(const gradient::Cubic& f, bool report) {
    const auto eps = report ? ReadVal(txtEpsilon, QStringLiteral("ε")) : PeekVal(txtEpsilon);
    if (!eps) return std::nullopt;
    const auto g = ReadSlope(report);
    if (!g) return std::nullopt;
    return search_.Step(f, *g, *eps);
}

}  // namespace kv
