#include "plot/input.h"

#include <QLineEdit>

#include <cmath>

#include "plot/msgbox.h"
#include "plot/numtext.h"
#include "plot/qt_forms.h"
#include "plot/rounding.h"

namespace kv {
namespace {

void ReportTooLarge(QLineEdit* box, const QString& boxName) {
    ReportBadBox(box, QStringLiteral("「%1」の欄の値「%2」は大きすぎて計算できません。").arg(boxName, Quoted(box)));
}

}  // namespace

QString Quoted(const QString& typed) {
    // Counted in characters, not UTF-16 units, so a cut never splits a surrogate pair.
    const QList<uint> chars = typed.toUcs4();
    if (chars.size() <= kQuoteLength) return typed;
    const QList<uint> kept = chars.first(kQuoteLength - 1);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size()) + QChar(0x2026);
}

QString Quoted(const QLineEdit* box) { return Quoted(box->text()); }

void ReportBadBox(QLineEdit* box, const QString& message) {
    MsgBox(box ? box->window() : nullptr, message);
    if (box) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

std::optional<double> ReadStrict(QLineEdit* box, const QString& boxName) {
    const QString text = box->text();
    if (auto v = StrictNumber(text.toStdString())) return v;
    if (text.trimmed().isEmpty())
        ReportBadBox(box, QStringLiteral("「%1」の欄が空です。数値を入力してください。").arg(boxName));
    else if (IsNumberTooLarge(text.toStdString()))
        ReportTooLarge(box, boxName);
    else
        ReportBadBox(box, QStringLiteral("「%1」の欄の「%2」は数値として読めません。数値を入力してください。").arg(boxName, Quoted(text)));
    return std::nullopt;
}

std::optional<double> ReadVal(QLineEdit* box, const QString& boxName) {
    if (auto v = ValFinite(box->text().toStdString())) return v;
    ReportTooLarge(box, boxName);
    return std::nullopt;
}

std::optional<double> PeekVal(const QLineEdit* box) { return ValFinite(box->text().toStdString()); }

QString CountMessage(const QString& boxName, int min, int max) {
    return QStringLiteral("「%1」には%2から%3までの整数を入力してください。").arg(boxName, NumberText(min), NumberText(max));
}

QString RangeMessage(const QString& boxName, Range range) {
    const bool hasLo = std::isfinite(range.lo), hasHi = std::isfinite(range.hi);
    const QString lo = NumberText(range.lo), hi = NumberText(range.hi);
    QString bounds;
    if (hasLo && hasHi) {
        if (range.loIncluded && range.hiIncluded) bounds = QStringLiteral("%1から%2までの").arg(lo, hi);
        else if (range.loIncluded) bounds = QStringLiteral("%1以上%2より小さい").arg(lo, hi);
        else if (range.hiIncluded) bounds = QStringLiteral("%1より大きく%2以下の").arg(lo, hi);
        else bounds = QStringLiteral("%1より大きく%2より小さい").arg(lo, hi);
    } else if (hasLo) {
        bounds = range.loIncluded ? QStringLiteral("%1以上の").arg(lo) : QStringLiteral("%1より大きい").arg(lo);
    } else if (hasHi) {
        bounds = range.hiIncluded ? QStringLiteral("%1以下の").arg(hi) : QStringLiteral("%1より小さい").arg(hi);
    }
    return QStringLiteral("「%1」には%2数を入力してください。").arg(boxName, bounds);
}

std::optional<int> ReadCount(QLineEdit* box, const QString& boxName, int min, int max) {
    const auto v = ValFinite(box->text().toStdString());
    const auto n = v ? RoundToLong(*v) : std::nullopt;
    if (n && *n >= min && *n <= max) return static_cast<int>(*n);
    ReportBadBox(box, CountMessage(boxName, min, max));
    return std::nullopt;
}

std::optional<double> ReadInRange(QLineEdit* box, const QString& boxName, Range range) {
    const auto v = ValFinite(box->text().toStdString());
    const bool inside = v && (range.loIncluded ? *v >= range.lo : *v > range.lo) &&
                        (range.hiIncluded ? *v <= range.hi : *v < range.hi);
    if (inside) return v;
    ReportBadBox(box, RangeMessage(boxName, range));
    return std::nullopt;
}

}  // namespace kv
