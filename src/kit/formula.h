// Formulas laid out from labels: a symbol a quarter larger than the window's text,
// subscripts and exponents smaller, and symbols with their subscript.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QWidget;

namespace kv {

// A label of a formula, a quarter larger than the window's text.
QLabel* MakeFormulaLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                         Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A subscript or exponent, smaller than the window's text.
QLabel* MakeIndexLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
// A symbol with a subscript, as two labels: `symbol` in Label3(index), the subscript in
// Label4(index), the symbol's box 18 x 24 at `at`.
void Subscripted(QWidget* parent, int index, const QString& symbol, const QString& sub, QPoint at);
// The same with labels named `symbolName` and `subName` and a subscript of any length (X
// with "43"); returns the width both take.
int Subscripted(QWidget* parent, const QString& symbolName, const QString& subName, const QString& symbol,
                const QString& sub, QPoint at);

}  // namespace kv
