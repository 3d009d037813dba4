#include "plot/input.h"

#include <QLineEdit>

#include "plot/msgbox.h"
#include "plot/numtext.h"

namespace kv {
namespace {

void ReportTooLarge(QLineEdit* box, const QString& boxName) {
    ReportBadBox(box, QStringLiteral("「%1」の欄の値「%2」は大きすぎて計算できません。").arg(boxName, box->text()));
}

}  // namespace

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
        ReportBadBox(box, QStringLiteral("「%1」の欄の「%2」は数値として読めません。数値を入力してください。").arg(boxName, text));
    return std::nullopt;
}

std::optional<double> ReadVal(QLineEdit* box, const QString& boxName) {
    if (auto v = ValFinite(box->text().toStdString())) return v;
    ReportTooLarge(box, boxName);
    return std::nullopt;
}

std::optional<double> PeekVal(const QLineEdit* box) { return ValFinite(box->text().toStdString()); }

}  // namespace kv
