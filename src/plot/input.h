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

// How much of a box's text a message may quote: a pasted page of digits must not make a
// box taller or wider than the screen.
inline constexpr int kQuoteLength = 20;

// The typed text as a message quotes it: whole when it has at most kQuoteLength
// characters, otherwise its first characters ending with "…" (kQuoteLength in all).
QString Quoted(const QString& typed);
QString Quoted(const QLineEdit* box);

// A whole number of times (passes, updates, steps) read with Val and rounded to the
// nearest integer (halves to even). Anything outside min..max, also a number too large
// for a double, is refused with "「回数」には0から32767までの整数を入力してください。".
std::optional<int> ReadCount(QLineEdit* box, const QString& boxName, int min, int max);

// The bounds a value read by ReadInRange must keep; each end included or left out.
struct Range {
    double lo, hi;
    bool loIncluded = true;
    bool hiIncluded = true;
};
// Both ends left out: Open(0, 2) is 0 < value < 2.
constexpr Range Open(double lo, double hi) { return Range{lo, hi, false, false}; }

// A value read with Val that must lie within `range`; refused otherwise with one sentence
// naming the box and the bounds, e.g. "「ε」には0より大きく2より小さい数を入力してください。".
std::optional<double> ReadInRange(QLineEdit* box, const QString& boxName, Range range);

// The sentences those two refuse with (for a window that must word its own check alike).
QString CountMessage(const QString& boxName, int min, int max);
QString RangeMessage(const QString& boxName, Range range);

}  // namespace kv
