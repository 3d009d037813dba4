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
// Label4(index), the symbol's box 18 x 24 at `at`. Returns the symbol's label.
QLabel* Subscripted(QWidget* parent, int index, const QString& symbol, const QString& sub, QPoint at);
// The same with labels named `symbolName` and `subName` and a subscript of any length (X
// with "43").
QLabel* Subscripted(QWidget* parent, const QString& symbolName, const QString& subName, const QString& symbol,
                    const QString& sub, QPoint at);
// Makes a subscripted symbol the name of `control`: the symbol's label is its buddy, and
// assistive tools read the symbol and its subscript together ("X1"), as messages name it.
void TieSubscripted(QLabel* symbol, const QString& sub, QWidget* control);

}  // namespace kv
