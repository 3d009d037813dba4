// A polynomial laid out in a frame as it reads: coefficient boxes, each followed by its
// power of X (the exponent raised after the X) and a full-width plus.
#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace kv::gradient {

class FormulaRow {
public:
    explicit FormulaRow(QGroupBox* frame) : frame_(frame) {}

    // The coefficient box of term `column` (0 = leftmost).
    QLineEdit* Box(const QString& name, const QString& text, int column) const;
    // The caption after box `column` ("X  ＋" or "X　＋"), with `exponent` raised just after
    // the X when `exponentName` is not empty.
    QLabel* Term(const QString& name, const QString& caption, const QString& exponentName, const QString& exponent,
                 int column) const;

private:
    QGroupBox* frame_;
};

}  // namespace kv::gradient
