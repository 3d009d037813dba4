// What both network diagrams owe the learner: text readable on every colour a step gives
// its box, lines clear of the labels and joining what they join, and a run that says why
// it stops.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <array>
#include <cmath>

#include "kit/controls.h"
#include "network/frmNetworkFeedForward.h"
#include "network/frmNetworkRecurrent.h"
#include "plot/timer.h"
#include "support/ui_test.h"

namespace {

using NetworkDiagrams = UiTest;

// Contrast ratio of two colours from their relative luminance (WCAG).
double Contrast(kv::Rgb a, kv::Rgb b) {
    auto lum = [](kv::Rgb c) {
        auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.r / 255.0) + 0.7152 * lin(c.g / 255.0) + 0.0722 * lin(c.b / 255.0) + 0.05;
    };
    return std::max(lum(a), lum(b)) / std::min(lum(a), lum(b));
}

QRectF In(const QWidget* w, const QWidget* top) { return QRectF(QRect(w->mapTo(top, QPoint()), w->size())); }
QLineF In(const kv::LineShape* l, const QWidget* top) { return QLineF(l->parentWidget()->mapTo(top, l->from()), l->parentWidget()->mapTo(top, l->to())); }
// Whether the line, as wide as it is drawn, passes through `r`.
bool Through(const kv::LineShape* l, QRectF r, const QWidget* top) {
    const double h = l->borderWidth() / 2.0;
    for (int i = 0; i <= 1000; ++i)
        if (r.adjusted(-h, -h, h, h).contains(In(l, top).pointAt(i / 1000.0))) return true;
    return false;
}

}  // namespace

// At load and after each step: every box's text reads at 4.5:1 on its colour (the steps
// colour boxes blue), and no line, thin or marked, runs through a label, arrows aside.
TEST_F(NetworkDiagrams, ReadAtEveryStep) {
    for (kv::FormWindow* w : std::array<kv::FormWindow*, 2>{open<kv::frmNetworkFeedForward>(), open<kv::frmNetworkRecurrent>()}) {
        const QWidget* c = w->content();
        for (int s = 0; s < 6; ++s, call(w, "Command1_Click")) {
            for (const QLineEdit* b : c->findChildren<QLineEdit*>())
                EXPECT_GE(Contrast(kv::ForeColor(b), kv::BackColor(b)), 4.5) << s << b->objectName().toStdString();
            for (const kv::LineShape* l : c->findChildren<kv::LineShape*>())
                for (const QLabel* t : c->findChildren<QLabel*>())
                    EXPECT_TRUE(t->objectName().startsWith("lblArrow") || !Through(l, In(t, c), c))
                        << s << " " << l->objectName().toStdString() << " " << t->objectName().toStdString();
        }
    }
}

// X1 and X2 reach omega0 and omega3 along the lines that arrows 2 and 3 stand on.
TEST_F(NetworkDiagrams, X1AndX2ReachTheWeightsOfTheirRow) {
    auto* w = open<kv::frmNetworkRecurrent>();
    const QWidget* c = w->content();
    auto edge = [&](const char* name) { return In(child<QWidget>(w, name), c).adjusted(-1, -1, 1, 1); };
    for (auto [x, omega, arrow] : {std::array{"txtX(0)", "txtW(0)", "lblArrow(2)"}, std::array{"txtX(1)", "txtW(3)", "lblArrow(3)"}}) {
        int joining = 0;
        for (const kv::LineShape* l : c->findChildren<kv::LineShape*>())
            joining += edge(x).contains(In(l, c).p1()) && edge(omega).contains(In(l, c).p2()) && Through(l, edge(arrow), c);
        EXPECT_EQ(joining, 1) << x;
    }
}

// A sum beyond a double during a run is waited out without a word while the learner types
// in a box of that sum; otherwise, or once the learner leaves the box, it is said once, as a
// press says it, and the run stops. (Theta is read by the step, but not by the sum.)
TEST_F(NetworkDiagrams, ARunWaitsOutAnOverflowOnlyWhileItsBoxIsBeingTyped) {
    const struct { bool feedForward; const char* focused; bool waits; } cases[] = {
        {true, "txtOmega1(0)", true}, {true, "txtTheta(0)", false}, {true, "Text1", false},
        {false, "txtW(0)", true},     {false, "txtTheta(2)", false}, {false, "Text1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focused);
        messages.clear();
        QWidget* w = c.feedForward ? static_cast<QWidget*>(open<kv::frmNetworkFeedForward>()) : open<kv::frmNetworkRecurrent>();
        // S11 = omega11 X11; S3 = omega1 X2 + omega0 X1 once units 1 and 2 have fired.
        for (const char* b : c.feedForward ? std::array{"txtOmega1(0)", "txtX(0)"} : std::array{"txtW(0)", "txtW(1)"}) type(w, b, "1e308");
        type(w, "Text1", "5");
        box(w, c.focused)->setFocus();
        call(w, "Command2_Click");
        (void)QTest::qWaitFor([&] { return !messages.isEmpty(); }, 500);
        EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), c.waits ? 5 : 0);
        EXPECT_EQ(messages.size(), c.waits ? 0 : 1);
        box(w, "Text1")->setFocus();
        (void)QTest::qWaitFor([&] { return !messages.isEmpty(); });
        QTest::qWait(30);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(c.feedForward ? QStringLiteral("「S11」の和") : QStringLiteral("「S3」の和")));
        EXPECT_EQ(kv::TimerInterval(child<QTimer>(w, "Timer1")), 0);
    }
}
