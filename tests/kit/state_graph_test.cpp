#include <QImage>
#include <QPainter>

#include "kit/state_graph.h"
#include "support/ui_test.h"

namespace {

// Two states side by side joined by one straight arc, drawn on a 300 x 120 image.
QImage Draw(const kv::GraphLook& look) {
    QImage image(300, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const kv::StateGraph g{{{0.2, 0.5}, {0.8, 0.5}}, {{0, 1, 0.0}}};
    kv::DrawStateGraph(p, QRectF(0, 0, 300, 120), g, look);
    return image;
}

bool Arrow(const QImage& image, int x, int y) {
    const kv::Rgb c = UiTest::pixel(image, x, y);
    return c.b > 100 && c.r < 90 && c.g < 90;
}
bool Ground(const QImage& image, int x, int y) { return UiTest::pixel(image, x, y) == kv::Rgb{240, 255, 240}; }

TEST(StateGraphLook, EllipsesAndArrowheadsAtBothEnds) {
    // Centres at x = 60 and 240, y = 60. Ellipses 40 wide and 20 high (radii).
    const QImage both = Draw(kv::GraphLook{QSizeF(40, 20), true});
    EXPECT_FALSE(Ground(both, 60 + 36, 60));  // inside the wide ellipse
    EXPECT_TRUE(Ground(both, 60, 60 + 26));    // below its short radius
    // The arc leaves the first ellipse at x = 100 and reaches the second at x = 200; a
    // head fills about 4 pixels beside the line, 7 pixels back from its tip.
    EXPECT_TRUE(Arrow(both, 200 - 8, 60 + 3));
    EXPECT_TRUE(Arrow(both, 100 + 8, 60 + 3));
    // Midway there is only the line.
    EXPECT_FALSE(Arrow(both, 150, 60 + 3));

    const QImage one = Draw(kv::GraphLook{QSizeF(40, 20), false});
    EXPECT_TRUE(Arrow(one, 200 - 8, 60 + 3));
    EXPECT_FALSE(Arrow(one, 100 + 8, 60 + 3));

    // The default look keeps the circles of the Markov pictures: radius 0.075 of the
    // smaller side, 9 pixels here.
    const QImage circles = Draw(kv::GraphLook{});
    EXPECT_TRUE(Ground(circles, 60, 60 + 14));
    EXPECT_FALSE(Ground(circles, 60 + 6, 60));
    EXPECT_TRUE(Arrow(circles, 240 - 9 - 8, 60 + 3));
}

TEST(StateGraphLook, PointsAlongAnArc) {
    const kv::StateGraph g{{{0.0, 0.0}, {1.0, 0.0}}, {{0, 1, 0.2}}};
    const QRectF area(0, 0, 100, 100);
    EXPECT_EQ(kv::ArcPoint(g, area, 0, 0), QPointF(0, 0));
    EXPECT_EQ(kv::ArcPoint(g, area, 0, 1), QPointF(100, 0));
    EXPECT_EQ(kv::ArcPoint(g, area, 0, 0.5), kv::ArcMiddle(g, area, 0));
    // The control point is 20 beside the chord's middle, so the curve's middle is 10 beside it.
    EXPECT_NEAR(kv::ArcMiddle(g, area, 0).x(), 50, 1e-9);
    EXPECT_NEAR(std::abs(kv::ArcMiddle(g, area, 0).y()), 10, 1e-9);
}

}  // namespace
