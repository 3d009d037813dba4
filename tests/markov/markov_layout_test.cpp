// Where the Markov windows put their boxes, computed from the laid-out controls and the
// graph's own arrows: every node box inside its circle and wide enough for any value, every
// arc box nearer to its own arrow than to any other, no box on an arrowhead, nothing on top
// of anything else, everything on a laptop screen.
#include <QLabel>
#include <QLineEdit>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <limits>

#include "kit/controls.h"
#include "kit/state_graph.h"
#include "markov/frmMarKovModel.h"
#include "markov/frmMarKovModel2.h"
#include "markov/frmMarKovModel3.h"
#include "markov/frmMarKovModel4.h"
#include "markov/frmMarKovModel5.h"
#include "markov/frmMarKovModel6.h"
#include "plot/numtext.h"
#include "support/ui_test.h"

namespace {

double Distance(QPointF p, const QRectF& r) {
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

// How close the arrow comes to the rectangle, from points along it a pixel or less apart.
double Distance(const QPainterPath& arrow, const QRectF& r) {
    const int samples = std::max(2, static_cast<int>(std::ceil(arrow.length())) + 1);
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < samples; ++i) best = std::min(best, Distance(arrow.pointAtPercent(double(i) / (samples - 1)), r));
    return best;
}

// The width a line edit shows its text in: its contents less its text margins and the 2
// pixels it keeps on either side of the text.
int TextRoom(QLineEdit* b) {
    QStyleOptionFrame frame;
    frame.initFrom(b);
    frame.lineWidth = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, b);
    return b->style()->subElementRect(QStyle::SE_LineEditContents, &frame, b).marginsRemoved(b->textMargins()).width() - 2 * 2;
}

class MarkovLayout : public UiTest {
protected:
    void check(QWidget* w) {
        SCOPED_TRACE(w->objectName().toStdString());
        auto* view = child<kv::StateGraphView>(w, "Image1");
        ASSERT_NE(view, nullptr);
        const kv::StateGraph& g = view->graph();
        const QRect picture = view->geometry();
        const QPointF origin = picture.topLeft();
        const kv::GraphLook& look = view->look();
        ASSERT_EQ(look.stateRadii.width(), look.stateRadii.height());
        const double r = look.stateRadii.width() - 1;  // inside the circle's 2-pixel edge

        QList<QWidget*> placed;
        for (int n = 0; n < static_cast<int>(g.states.size()); ++n) {
            auto* b = box(w, kv::ArrayName("txtNode", n));
            ASSERT_NE(b, nullptr);
            const QRect box = b->geometry();
            EXPECT_TRUE(picture.contains(box)) << n;
            // Every corner inside the node's circle.
            const QPointF c = origin + kv::StatePoint(g, view->area(), n);
            for (QPointF corner : {QPointF(box.left(), box.top()), QPointF(box.right() + 1, box.top()),
                                   QPointF(box.left(), box.bottom() + 1), QPointF(box.right() + 1, box.bottom() + 1)})
                EXPECT_LE(std::hypot(corner.x() - c.x(), corner.y() - c.y()), r) << n;
            // The longest values a step writes, whole.
            for (double v : {-0.123456789012345, 1.23456789012345e15, -8.88888888888888e307, -0.000888888888888888}) {
                const QString text = QString::fromStdString(kv::GeneralText(v));
                EXPECT_LE(b->fontMetrics().horizontalAdvance(text), TextRoom(b)) << n << " " << text.toStdString();
            }
            placed << b << child<QLabel>(w, kv::ArrayName("Label1", n));
            EXPECT_TRUE(picture.contains(placed.back()->geometry())) << "label " << n;
        }
        EXPECT_EQ(w->findChild<QLineEdit*>(kv::ArrayName("txtNode", int(g.states.size()))), nullptr);

        const int arcs = static_cast<int>(g.arcs.size());
        for (int a = 0; a < arcs; ++a) {
            auto* b = box(w, kv::ArrayName("txtArc", a));
            ASSERT_NE(b, nullptr);
            const QRectF box = b->geometry();
            EXPECT_TRUE(picture.contains(b->geometry())) << a;
            const double own = Distance(kv::ArcPath(g, view->area(), a, look).translated(origin), box);
            EXPECT_LE(own, 12) << "arc box " << a << " away from its arrow";
            for (int other = 0; other < arcs; ++other) {
                if (other == a) continue;
                const double d = Distance(kv::ArcPath(g, view->area(), other, look).translated(origin), box);
                EXPECT_LT(own, d) << "arc box " << a << " is as near to arrow " << other;
            }
            placed << b;
        }
        EXPECT_EQ(w->findChild<QLineEdit*>(kv::ArrayName("txtArc", arcs)), nullptr);
        // Every arrowhead in sight: no box or name within its outline's half-width and two
        // pixels of ground.
        constexpr double kClear = 3;
        for (int a = 0; a < arcs; ++a)
            for (const QPolygonF& head : kv::ArcHeads(g, view->area(), a, look)) {
                ASSERT_FALSE(head.isEmpty()) << a;
                for (QWidget* p : placed)
                    EXPECT_FALSE(head.translated(origin).intersects(QRectF(p->geometry()).adjusted(-kClear, -kClear, kClear, kClear)))
                        << p->objectName().toStdString() << " on the head of arc " << a;
            }

        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Check1", "Label2", "Text1"})
            placed << child<QWidget>(w, name);
        if (auto* note = w->findChild<QLabel*>("Label3")) placed << note;
        for (int i = 0; i < placed.size(); ++i) {
            EXPECT_TRUE(w->rect().contains(placed[i]->geometry())) << placed[i]->objectName().toStdString();
            for (int j = i + 1; j < placed.size(); ++j)
                EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
                    << placed[i]->objectName().toStdString() << " overlaps " << placed[j]->objectName().toStdString();
        }
        // Captions are not clipped.
        for (QLabel* l : w->findChildren<QLabel*>())
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->objectName().toStdString();
        EXPECT_LE(w->width(), 1300);
        EXPECT_LE(w->height(), 720);
    }
};

}  // namespace

TEST_F(MarkovLayout, EveryBoxInItsCircleOrBesideItsOwnArrowClearOfArrowheadsAndNothingOverlaps) {
    check(open<kv::frmMarKovModel>());
    check(open<kv::frmMarKovModel2>());
    check(open<kv::frmMarKovModel3>());
    check(open<kv::frmMarKovModel4>());
    check(open<kv::frmMarKovModel5>());
    check(open<kv::frmMarKovModel6>());
}
