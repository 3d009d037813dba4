#include "plot/PlotSurface.h"
#include "support/ui_test.h"

#include <cmath>

using kv::PlotSurface;

namespace {

// Leftmost column holding a non-white pixel, or -1.
int LeftmostInk(const QImage& img) {
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return x;
    return -1;
}

int InkCount(const QImage& img, kv::Rgb c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += UiTest::pixel(img, x, y) == c;
    return n;
}

}  // namespace

class PlotSurfaceTest : public UiTest {
protected:
    PlotSurface surface{nullptr, QSize(440, 270)};
};

TEST_F(PlotSurfaceTest, ScaleMapsUserPointsToPixels) {
    ASSERT_TRUE(kv::SetPlotScale(surface, -2.2, 2.2, 2.2, -0.5));
    EXPECT_FLOAT_EQ(surface.scaleLeft(), -2.2f);
    EXPECT_FLOAT_EQ(surface.scaleTop(), 2.2f);
    EXPECT_FLOAT_EQ(surface.scaleWidth(), 4.4f);
    EXPECT_FLOAT_EQ(surface.scaleHeight(), -2.7f);
    const QPointF origin = surface.toPixel(0, 0);
    EXPECT_NEAR(origin.x(), 220, 1e-3);
    EXPECT_NEAR(origin.y(), 270 * 2.2 / 2.7, 1e-3);
    EXPECT_NEAR(surface.toPixel(2.2f, -0.5f).y(), 270, 1e-3);
}

TEST_F(PlotSurfaceTest, ZeroExtentsAndHugeCoordinatesAreRefusedWithoutDrawing) {
    EXPECT_FALSE(surface.Line(0, 0, 1, 1, kv::kBlack));  // no scale yet
    ASSERT_TRUE(kv::SetPlotScale(surface, 0, 1, 1, 0));
    EXPECT_FALSE(kv::SetPlotScale(surface, 3, 1, 3, 0));
    EXPECT_FALSE(kv::SetPlotScale(surface, 0, 2, 1, 2));
    EXPECT_FALSE(kv::SetPlotScale(surface, 0, 1, 1e39, 0));
    EXPECT_FLOAT_EQ(surface.scaleWidth(), 1.0f);  // the previous scale stays

    const QImage before = surface.image();
    EXPECT_FALSE(surface.Line(0, 0, 1e39, 0, kv::kBlack));
    EXPECT_FALSE(surface.Line(0, 0, std::nan(""), 0, kv::kBlack));
    EXPECT_FALSE(surface.Circle(0.5, 0.5, 1e39, kv::kBlack));
    EXPECT_FALSE(surface.Box(-1e40, 0, 1, 1, kv::kBlack));
    EXPECT_FALSE(surface.setCurrentX(1e39));
    EXPECT_EQ(surface.image(), before);

    // Far outside, yet within single precision: clipped, not refused, and no crash.
    EXPECT_TRUE(surface.Line(-1e30, 0.5, 1e30, 0.5, kv::kBlack));
    EXPECT_TRUE(surface.FilledBox(-1e30, -1e30, 1e30, 0.5, kv::kRed));
    EXPECT_EQ(UiTest::pixel(surface.image(), 200, 200), kv::kRed);
}

TEST_F(PlotSurfaceTest, SegmentsLandWhereTheScaleSays) {
    kv::SetPlotScale(surface, -2.2, 2.2, 2.2, -0.5);
    surface.setDrawWidth(3);
    surface.Line(0.5, 1, 2, 1, kv::kBlack);
    for (float x : {0.6f, 1.0f, 1.9f}) EXPECT_TRUE(colourNear(surface.image(), surface.toPixel(x, 1), kv::kBlack));
    EXPECT_FALSE(colourNear(surface.image(), surface.toPixel(0.3f, 1), kv::kBlack));
    EXPECT_FALSE(colourNear(surface.image(), surface.toPixel(1, 0.5f), kv::kBlack));
    EXPECT_FLOAT_EQ(surface.currentX(), 2);  // a segment leaves the current point at its end

    surface.LineTo(2, 0, kv::kRed);
    EXPECT_TRUE(colourNear(surface.image(), surface.toPixel(2, 0.5f), kv::kRed));
}

TEST_F(PlotSurfaceTest, XorFiguresDrawnTwiceRestoreEveryPixel) {
    kv::SetPlotScale(surface, -2.2, 2.2, 2.2, -0.5);
    surface.setDrawWidth(3);
    surface.Line(-2, 0, 2, 0, kv::kBlack);
    surface.setDrawStyle(kv::DrawStyle::Dot);
    surface.setDrawWidth(1);
    surface.Line(0.5, 0, 0.5, 1, kv::kBlack);
    surface.setDrawStyle(kv::DrawStyle::Solid);
    const QImage before = surface.image();

    surface.setDrawMode(kv::DrawMode::Xor);
    for (int width : {1, 3}) {
        surface.setDrawWidth(width);
        surface.Line(0.3, 0, 0.3, 1, kv::kCyan);
        EXPECT_NE(surface.image(), before);
        // Cyan over white shows as red; over black as cyan.
        EXPECT_TRUE(colourNear(surface.image(), surface.toPixel(0.3f, 0.5f), kv::kRed));
        surface.Line(0.3, 0, 0.3, 1, kv::kCyan);
        EXPECT_EQ(surface.image(), before) << "width " << width;
    }
    surface.Circle(0, 1, 0.4, kv::kBlue);
    surface.Circle(0, 1, 0.4, kv::kBlue);
    surface.Box(-1, 0.2, 1, 1.5, kv::kGreen);
    surface.Box(-1, 0.2, 1, 1.5, kv::kGreen);
    EXPECT_EQ(surface.image(), before);
    EXPECT_EQ(surface.drawMode(), kv::DrawMode::Xor);
}

TEST_F(PlotSurfaceTest, ClsCirclesAndFilledBoxes) {
    kv::SetPlotScale(surface, 0, 10, 20, 0);  // 22 px per unit across, 27 down
    surface.setFillStyle(kv::FillStyle::Solid);
    surface.setFillColor(kv::kYellow);
    surface.Circle(10, 5, 2, kv::kBlack);
    const QPointF c = surface.toPixel(10, 5);
    EXPECT_EQ(pixel(surface.image(), int(c.x()), int(c.y())), kv::kYellow);
    // The radius is in horizontal units: 2 units = 44 px, in both directions.
    EXPECT_TRUE(colourNear(surface.image(), c + QPointF(0, 44), kv::kBlack, 2));
    EXPECT_TRUE(colourNear(surface.image(), c + QPointF(44, 0), kv::kBlack, 2));
    EXPECT_EQ(pixel(surface.image(), int(c.x()), int(c.y() + 50)), kv::kWhite);

    surface.FilledBox(1, 1, 3, 3, kv::kBlue);
    const QPointF b = surface.toPixel(2, 2);
    EXPECT_EQ(pixel(surface.image(), int(b.x()), int(b.y())), kv::kBlue);
    surface.Box(5, 1, 7, 3, kv::kRed);
    const QPointF inside = surface.toPixel(6, 2);
    EXPECT_EQ(pixel(surface.image(), int(inside.x()), int(inside.y())), kv::kWhite);

    surface.setCurrentX(4);
    surface.Cls();
    EXPECT_EQ(InkCount(surface.image(), kv::kWhite), 440 * 270);
    EXPECT_FLOAT_EQ(surface.currentX(), 0);
    EXPECT_FLOAT_EQ(surface.currentY(), 10);
}

TEST_F(PlotSurfaceTest, PrintedNumbersCarryTheirBlanks) {
    kv::SetPlotScale(surface, 0, 10, 20, 0);
    auto inkStart = [&](auto item) {
        surface.Cls();
        surface.setCurrentX(5);
        surface.setCurrentY(5);
        surface.Print(item);
        return LeftmostInk(surface.image());
    };
    const int text = inkStart(std::string("0.5"));
    const int number = inkStart(0.5);
    ASSERT_GE(text, 0);
    EXPECT_GT(number, text);                            // the leading blank
    EXPECT_EQ(inkStart(-0.5), inkStart(std::string("-0.5")));  // a minus sign instead of the blank
    EXPECT_GE(text, int(surface.toPixel(5, 5).x()));
}

TEST_F(PlotSurfaceTest, DrawingPersistsOnScreen) {
    kv::SetPlotScale(surface, 0, 10, 20, 0);
    surface.setDrawWidth(5);
    surface.Line(0, 5, 20, 5, kv::kRed);  // drawn before the surface was ever shown
    const QImage shown = surface.grab().toImage();
    const QPointF p = surface.toPixel(10, 5);
    EXPECT_EQ(pixel(shown, int(p.x()), int(p.y())), kv::kRed);
}

namespace {

// The colour a pixel of `under` shows after one XOR drawing in `pen`.
kv::Rgb XorOf(kv::Rgb under, kv::Rgb pen) { return {under.r ^ pen.r, under.g ^ pen.g, under.b ^ pen.b}; }

// Pixels with ink farther than `tolerance` from the pixel line through a and b.
int InkOffTheLine(const QImage& img, QPointF a, QPointF b, double tolerance) {
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    int off = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (UiTest::pixel(img, x, y) == kv::kWhite) continue;
            const QPointF p(x + 0.5 - a.x(), y + 0.5 - a.y());
            off += std::fabs(p.x() * d.y() - p.y() * d.x()) / length > tolerance;
        }
    return off;
}

// Rows holding at least one pixel that is not white.
int RowsWithInk(const QImage& img) {
    int rows = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (UiTest::pixel(img, x, y) != kv::kWhite) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace

TEST_F(PlotSurfaceTest, SegmentsFarOffAreClippedWhereTheyCrossOrLeftOut) {
    kv::SetPlotScale(surface, 0, 1, 1, 0);  // 440 px per unit across, 270 down
    const QImage blank = surface.image();
    // Beyond the right edge at both ends, also where the pixel position exceeds a float,
    // and above the top: nothing of them is on the surface.
    for (int width : {1, 3}) {
        surface.setDrawWidth(width);
        EXPECT_TRUE(surface.Line(1e17, 0.5, 1e30, 0.5, kv::kBlack));
        EXPECT_TRUE(surface.Line(3e38, 0.5, 3.4e38, 0.5, kv::kBlack));
        EXPECT_TRUE(surface.Line(1e37, 0.2, 3e38, 0.9, kv::kBlack));
        EXPECT_TRUE(surface.Line(-1e30, 1e30, 1e30, 2e30, kv::kBlack));
        EXPECT_TRUE(surface.Line(0.5, 1e20, 0.5, 3e38, kv::kBlack));
        EXPECT_EQ(surface.image(), blank) << "width " << width;
    }

    // From far below to far above, crossing the whole surface: every row is inked, and
    // only along the true line.
    surface.setDrawWidth(1);
    const auto steep = [&](float x1, float y1, float x2, float y2) {
        surface.Cls();
        EXPECT_TRUE(surface.Line(x1, y1, x2, y2, kv::kBlack));
        const QImage img = surface.image();
        // The line through the pixel points, worked out from the slope in user units.
        const double slope = (double(x2) - x1) / (double(y2) - y1);
        const auto pixelAtY = [&](double y) { return surface.toPixel(float(x1 + (y - y1) * slope), float(y)); };
        EXPECT_EQ(RowsWithInk(img), img.height()) << x1 << " " << y1;
        EXPECT_EQ(InkOffTheLine(img, pixelAtY(0), pixelAtY(1), 1.5), 0) << x1 << " " << y1;
    };
    steep(0.25f, -1e30f, 0.75f, 1e30f);
    steep(0.5f, 3e38f, 0.5f, -3e38f);
    steep(0.1f, -1e17f, 0.9f, 1e17f);
    steep(0.7f, 2e36f, 0.3f, -5e36f);

    // A long slanting line whose pixel position a double cannot hold: drawn on the true
    // line, or left out, never somewhere else.
    kv::SetPlotScale(surface, -1, 1, 1, -1);
    surface.Cls();
    EXPECT_TRUE(surface.Line(-1e30, -1e30, 1e30, 1e30, kv::kBlack));
    EXPECT_EQ(InkOffTheLine(surface.image(), surface.toPixel(-1, -1), surface.toPixel(1, 1), 1.5), 0);
}

TEST_F(PlotSurfaceTest, XorFilledFiguresInvertEachPixelOnce) {
    kv::SetPlotScale(surface, 0, 10, 20, 0);
    PlotSurface copy{nullptr, QSize(440, 270)};
    kv::SetPlotScale(copy, 0, 10, 20, 0);
    surface.setDrawMode(kv::DrawMode::Xor);
    for (auto* s : {&surface, &copy}) {
        s->setFillStyle(kv::FillStyle::Solid);
        s->setFillColor(kv::kCyan);
    }
    const QImage blank = surface.image();

    // Each figure inverts exactly the pixels the same figure covers in copy mode, with the
    // colour that covers them there.
    const auto sameFigure = [&](const char* what, auto draw) {
        copy.Cls();
        surface.Cls();
        for (int width : {1, 3}) {
            copy.setDrawWidth(width);
            surface.setDrawWidth(width);
            draw(copy);
            draw(surface);
            const QImage painted = copy.image(), inverted = surface.image();
            int differing = 0;
            for (int y = 0; y < painted.height(); ++y)
                for (int x = 0; x < painted.width(); ++x) {
                    const kv::Rgb p = pixel(painted, x, y);
                    differing += pixel(inverted, x, y) != (p == kv::kWhite ? kv::kWhite : XorOf(kv::kWhite, p));
                }
            EXPECT_EQ(differing, 0) << what << " at width " << width;
            EXPECT_NE(inverted, blank) << what;
            draw(surface);
            EXPECT_EQ(surface.image(), blank) << what << " drawn twice, width " << width;
            copy.Cls();
        }
    };
    sameFigure("filled circle", [](PlotSurface& s) { s.Circle(10, 5, 3, kv::kBlue); });
    sameFigure("filled box", [](PlotSurface& s) { s.FilledBox(2, 2, 7, 6, kv::kGreen); });
    sameFigure("circle partly off the surface", [](PlotSurface& s) { s.Circle(19, 9, 4, kv::kRed); });

    // The edges keep the outline's XOR colour rather than vanishing.
    surface.setDrawWidth(1);
    surface.Circle(10, 5, 3, kv::kBlue);
    const QPointF c = surface.toPixel(10, 5);
    for (const QPointF edge : {QPointF(66, 0), QPointF(-66, 0), QPointF(0, 66), QPointF(0, -66)})
        EXPECT_TRUE(colourNear(surface.image(), c + edge, kv::kYellow, 2)) << edge.x() << "," << edge.y();
    EXPECT_EQ(pixel(surface.image(), int(c.x()), int(c.y())), kv::kRed);
    surface.Circle(10, 5, 3, kv::kBlue);
    EXPECT_EQ(surface.image(), blank);
}

// A wide pen covers the pixels of one-pixel lines stacked across the line's minor axis,
// wherever the line falls between pixels, and however the surface draws it.
TEST_F(PlotSurfaceTest, AWidePenCoversTheOnePixelLinesStackedAcrossIt) {
    PlotSurface stacked{nullptr, QSize(440, 270)};
    for (PlotSurface* s : {&surface, &stacked}) kv::SetPlotScale(*s, 0, 0, 440, 270);  // one unit per pixel
    struct Case {
        double x1, y1, x2, y2;
    };
    const Case cases[] = {{20.3, 40.7, 400.6, 40.7}, {30.5, 200.5, 300.2, 200.5},   // level
                          {100.7, 10.2, 100.7, 250.9}, {60.5, 250.5, 60.5, 30.5},   // upright
                          {10.4, 20.8, 410.6, 230.3}, {300.5, 10.5, 280.2, 260.7}}; // slanting
    for (int width : {2, 3, 5})
        for (const Case& c : cases) {
            surface.Cls();
            stacked.Cls();
            surface.setDrawWidth(width);
            surface.Line(c.x1, c.y1, c.x2, c.y2, kv::kBlack);
            const bool level = std::fabs(c.x2 - c.x1) >= std::fabs(c.y2 - c.y1);
            for (int k = -(width - 1) / 2; k <= width / 2; ++k)
                stacked.Line(c.x1 + (level ? 0 : k), c.y1 + (level ? k : 0), c.x2 + (level ? 0 : k), c.y2 + (level ? k : 0),
                             kv::kBlack);
            EXPECT_EQ(surface.image(), stacked.image()) << "width " << width << " from " << c.x1 << "," << c.y1;
        }
}
