#include "plot/PlotSurface.h"
#include "support/ui_test.h"

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
    surface.setDrawStyle(PlotSurface::kDot);
    surface.setDrawWidth(1);
    surface.Line(0.5, 0, 0.5, 1, kv::kBlack);
    surface.setDrawStyle(PlotSurface::kSolid);
    const QImage before = surface.image();

    surface.setDrawMode(PlotSurface::kXorPen);
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
    EXPECT_EQ(surface.drawMode(), PlotSurface::kXorPen);
}

TEST_F(PlotSurfaceTest, ClsCirclesAndFilledBoxes) {
    kv::SetPlotScale(surface, 0, 10, 20, 0);  // 22 px per unit across, 27 down
    surface.setFillStyle(PlotSurface::kFillSolid);
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
