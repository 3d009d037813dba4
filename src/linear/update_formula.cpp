#include "linear/update_formula.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kv::linear {

UpdateFormula::UpdateFormula(QWidget* parent, Update rule, QRect geometry) : QWidget(parent), rule_(rule) {
    setObjectName("Equation1");
    setGeometry(geometry);
    setAttribute(Qt::WA_TranslucentBackground);
}

int UpdateFormula::HeightFor(Update rule) { return rule == Update::Batch ? 64 : 36; }

void UpdateFormula::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(palette().color(QPalette::WindowText));
    QFont main = font();
    main.setPointSizeF(main.pointSizeF() * 1.3);
    main.setItalic(true);
    QFont small = main;
    small.setPointSizeF(main.pointSizeF() * 0.65);
    small.setItalic(false);
    QFont sigma = main;
    sigma.setPointSizeF(main.pointSizeF() * 1.7);
    sigma.setItalic(false);

    const double base = height() / 2.0 + QFontMetricsF(main).ascent() / 2.0 - 2;
    double x = 4;
    const auto text = [&](const QString& s, const QFont& f, double dy = 0) {
        p.setFont(f);
        p.drawText(QPointF(x, base + dy), s);
        x += QFontMetricsF(f).horizontalAdvance(s);
    };
    // A letter with its subscript i, set lower and smaller.
    const auto indexed = [&](const QString& s) {
        text(s, main);
        text(QStringLiteral("i"), small, QFontMetricsF(main).ascent() * 0.3);
        x += 2;
    };

    text(QStringLiteral("a = a + ε "), main);
    if (rule_ == Update::Batch) {
        // Σ with its limits centred above and below it.
        const QFontMetricsF sm(sigma), lm(small);
        const QString sign = QStringLiteral("Σ");
        const double w = sm.horizontalAdvance(sign);
        const double mid = base - QFontMetricsF(main).ascent() * 0.35;
        p.setFont(sigma);
        p.drawText(QPointF(x, mid + sm.ascent() * 0.4), sign);
        p.setFont(small);
        const QString top = QStringLiteral("L"), bottom = QStringLiteral("i=1");
        p.drawText(QPointF(x + (w - lm.horizontalAdvance(top)) / 2, mid - sm.ascent() * 0.45), top);
        p.drawText(QPointF(x + (w - lm.horizontalAdvance(bottom)) / 2, mid + sm.ascent() * 0.4 + lm.ascent() + 1), bottom);
        x += w + 4;
    }
    text(QStringLiteral("("), main);
    indexed(QStringLiteral("y"));
    text(QStringLiteral(" − a·"), main);
    indexed(QStringLiteral("x"));
    text(QStringLiteral(")·"), main);
    indexed(QStringLiteral("x"));
}

}  // namespace kv::linear
