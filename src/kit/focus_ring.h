// The focus ring every control shows while it has the keyboard focus: two tones, so that
// one of them stands out from every colour a box takes (white, red, yellow, the blues,
// green, cyan), drawn from the first moment a control has the focus.
#pragma once

#include <QProxyStyle>

#include "plot/colors.h"

namespace kv {

inline constexpr Rgb kFocusOuter = kBlack;  // the band at the control's edge
inline constexpr Rgb kFocusInner = kWhite;  // the band inside it, next to the fill
// Widths in logical pixels: together they stay clear of a text box's text, which starts
// four pixels in.
inline constexpr int kFocusOuterWidth = 2, kFocusInnerWidth = 1;

// Relative luminance of a colour as contrast is measured for legibility (0 black, 1 white),
// and the contrast ratio of two colours (1 to 21).
double RelativeLuminance(Rgb c);
double ContrastRatio(Rgb a, Rgb b);

// The base style with the ring on the focused text box, button, check box and option button.
// A style draws its own focus frame only after the focus has once moved by key
// (State_KeyboardFocusChange); this ring needs nothing but the focus.
class FocusRingStyle : public QProxyStyle {
public:
    explicit FocusRingStyle(QStyle* base);
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace kv
