// Reading the learner's numbers from text boxes. When a box cannot be read, the learner is
// told which box and why, the box gets the focus with its text selected, and the caller
// gets nothing: it must stop without writing or drawing.
#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace kv {

// Strict conversion: the whole text must be a number.
std::optional<double> ReadStrict(QLineEdit* box, const QString& boxName);

// Lenient conversion (Val): only a number too large for a double is refused.
std::optional<double> ReadVal(QLineEdit* box, const QString& boxName);

// Val of the box, silently: for redraws while the learner types, where a message at each
// keystroke would be in the way. Gives nothing for a number too large for a double.
std::optional<double> PeekVal(const QLineEdit* box);

// Shows `message`, then puts the focus on `box` with its text selected (also used by
// windows that validate a range of their own).
void ReportBadBox(QLineEdit* box, const QString& message);

}  // namespace kv
