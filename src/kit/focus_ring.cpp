#include "kit/focus_ring.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include "plot/qt_forms.h"

#include <cmath>

namespace kv {

namespace {
double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The two bands inside `r`: the outer tone at its edge, the inner one within.
void DrawRing(QPainter* p, const QRect& r) {
    const auto band = [p](const QRect& outside, const QRect& inside, Rgb colour) {
        QPainterPath path;  // odd-even: the frame between the two rectangles
        path.addRect(outside);
        path.addRect(inside);
        p->fillPath(path, ToQColor(colour));
    };
    constexpr int o = kFocusOuterWidth, i = kFocusInnerWidth;
    const QRect middle = r.adjusted(o, o, -o, -o);
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    band(r, middle, kFocusOuter);
    band(middle, middle.adjusted(i, i, -i, -i), kFocusInner);
    p->restore();
}
}  // namespace

double RelativeLuminance(Rgb c) { return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b); }

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

FocusRingStyle::FocusRingStyle(QStyle* base) : QProxyStyle(base) {}

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
    // The ring stands in for the base style's focus frame of buttons.
    if (element == PE_FrameFocusRect && qobject_cast<const QAbstractButton*>(widget)) return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_PanelLineEdit && (option->state & State_HasFocus)) DrawRing(painter, option->rect);
}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!(option->state & State_HasFocus)) return;
    if (element == CE_PushButton) {
        DrawRing(painter, option->rect);
    } else if (element == CE_CheckBox || element == CE_RadioButton) {
        // Around the caption, clear of the indicator, within the control.
        const bool check = element == CE_CheckBox;
        const QRect text = subElementRect(check ? SE_CheckBoxFocusRect : SE_RadioButtonFocusRect, option, widget);
        const QRect mark = subElementRect(check ? SE_CheckBoxIndicator : SE_RadioButtonIndicator, option, widget);
        constexpr int width = kFocusOuterWidth + kFocusInnerWidth + 1;
        QRect ring = text.adjusted(-width, -width, width, width) & option->rect;
        ring.setLeft(std::max(ring.left(), mark.right() + 1));
        DrawRing(painter, ring);
    }
}

}  // namespace kv
