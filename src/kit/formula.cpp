#include "kit/formula.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

#include "kit/controls.h"

namespace kv {

QLabel* MakeFormulaLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry, Qt::Alignment align) {
    QLabel* label = MakeLabel(parent, name, caption, geometry, align);
    ScaleFont(label, 1.25);
    return label;
}

QLabel* MakeIndexLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    QLabel* label = MakeLabel(parent, name, caption, geometry);
    ScaleFont(label, 0.85);
    return label;
}

QLabel* Subscripted(QWidget* parent, int index, const QString& symbol, const QString& sub, QPoint at) {
    QLabel* label =
        MakeFormulaLabel(parent, ArrayName("Label3", index), symbol, QRect(at, QSize(18, 24)), Qt::AlignRight | Qt::AlignVCenter);
    MakeIndexLabel(parent, ArrayName("Label4", index), sub, QRect(at + QPoint(18, 10), QSize(12, 18)));
    return label;
}

QLabel* Subscripted(QWidget* parent, const QString& symbolName, const QString& subName, const QString& symbol,
                    const QString& sub, QPoint at) {
    QLabel* label = MakeFormulaLabel(parent, symbolName, symbol, QRect(at, QSize(18, 24)), Qt::AlignRight | Qt::AlignVCenter);
    QLabel* index = MakeIndexLabel(parent, subName, sub, QRect(at + QPoint(18, 10), QSize(12, 18)));
    index->resize(std::max(12, index->fontMetrics().horizontalAdvance(sub) + 2), 18);
    return label;
}

void TieSubscripted(QLabel* symbol, const QString& sub, QWidget* control) {
    TieLabel(symbol, control);
    control->setAccessibleName(symbol->text() + sub);
}

}  // namespace kv
