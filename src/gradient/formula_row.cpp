#include "gradient/formula_row.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "kit/controls.h"
#include "kit/formula.h"

namespace kv::gradient {
namespace {
constexpr int kLeft = 10, kTop = 26, kHeight = 26;
constexpr int kBoxWidth = 60, kTermWidth = 54;
constexpr int kPitch = kBoxWidth + kTermWidth;
}  // namespace

QLineEdit* FormulaRow::Box(const QString& name, const QString& text, int column) const {
    return MakeBox(frame_, name, text, QRect(kLeft + column * kPitch, kTop, kBoxWidth, kHeight));
}

QLabel* FormulaRow::Term(const QString& name, const QString& caption, const QString& exponentName, const QString& exponent,
                         int column) const {
    const int left = kLeft + column * kPitch + kBoxWidth + 4;
    QLabel* term = MakeLabel(frame_, name, caption, QRect(left, kTop, kTermWidth - 4, kHeight));
    if (!exponentName.isEmpty()) {
        const int after = QFontMetrics(term->font()).horizontalAdvance(QStringLiteral("X"));
        MakeIndexLabel(frame_, exponentName, exponent, QRect(left + after + 1, kTop - 8, 14, 18));
    }
    return term;
}

}  // namespace kv::gradient
