// The plot surface on a screen at 200 %: what holds at 100 % holds for every device pixel,
// and a move to a screen of another ratio draws the plot anew.
#include <QApplication>
#include <QPixmap>

#include <functional>

#include "plot/PlotSurface.h"
#include "support/ui_test.h"

using kv::PlotSurface;

namespace {

// Each pixel of a ratio-1 image as a 2 × 2 block.
QImage Doubled(const QImage& image) {
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The ink's bounding rectangle: every pixel that is not white.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (UiTest::pixel(image, x, y) != kv::kWhite) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Whether some 2 × 2 block at even coordinates holds pixels of different colours: detail
// finer than a logical pixel, which a doubled ratio-1 image never has.
bool HasDetailFinerThanALogicalPixel(const QImage& image) {
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                return true;
        }
    return false;
}

using Drawing = std::function<void(PlotSurface&)>;

}  // namespace

class PixelRatioTest : public UiTest {
protected:
    // A 440 × 270 surface in a window on a screen of this ratio.
    PlotSurface* surfaceAt(qreal ratio) {
        auto* s = new PlotSurface(windowAtRatio(ratio), QSize(440, 270));
        s->move(10, 10);
        s->show();
        return s;
    }
};

TEST_F(PixelRatioTest, TheImageHasTheScreensPixelsAndLinesCoverTheirLogicalPixels) {
    PlotSurface* one = surfaceAt(1);
    PlotSurface* two = surfaceAt(2);
    EXPECT_EQ(one->pixelRatio(), 1);
    EXPECT_EQ(two->pixelRatio(), 2);
    EXPECT_EQ(two->image().size(), QSize(880, 540));
    // One user unit per logical pixel: every figure lies on whole pixels, so at ratio 2 it
    // must cover exactly the 2 × 2 blocks of the pixels it covers at ratio 1.
    for (PlotSurface* s : {one, two}) {
        kv::SetPlotScale(*s, 0, 0, 440, 270);
        for (int width : {1, 2, 3, 5}) {
            s->setDrawWidth(width);
            s->Line(20, 30 + 40 * width, 400, 30 + 40 * width, kv::kBlack);  // an axis
            s->Line(30 + 60 * width, 10, 30 + 60 * width, 260, kv::kBlue);
            s->Box(300 + 10 * width, 40, 330 + 12 * width, 80, kv::kRed);
        }
        s->setDrawWidth(1);
        s->FilledBox(100, 200, 140, 230, kv::kGreen);
        s->setDrawStyle(kv::DrawStyle::Dot);
        s->Line(0, 250, 440, 250, kv::kBlack);
    }
    EXPECT_EQ(two->image(), Doubled(one->image()));
    // And the screen shows the image device pixel for device pixel, never scaled.
    const QPixmap shown = two->grab();
    EXPECT_EQ(shown.devicePixelRatio(), 2);
    EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_RGB32), two->image());
}

TEST_F(PixelRatioTest, XorFiguresDrawnTwiceRestoreEveryDevicePixel) {
    PlotSurface* s = surfaceAt(2);
    kv::SetPlotScale(*s, -2.2, 2.2, 2.2, -0.5);
    s->setDrawWidth(3);
    s->Line(-2, 0, 2, 0.3, kv::kBlack);
    s->setFillStyle(kv::FillStyle::Solid);
    s->setFillColor(kv::kYellow);
    s->Circle(-1, 1, 0.3, kv::kBlue);
    const QImage before = s->image();

    s->setDrawMode(kv::DrawMode::Xor);
    const std::vector<std::pair<const char*, Drawing>> figures{
        {"slanting line", [](PlotSurface& p) { p.Line(-1.7, -0.3, 1.9, 2.1, kv::kCyan); }},
        {"steep line", [](PlotSurface& p) { p.Line(0.31, -0.4, 0.35, 2, kv::kCyan); }},
        {"dotted line", [](PlotSurface& p) {
             p.setDrawStyle(kv::DrawStyle::Dot);
             p.Line(-2, 0.7, 2, 1.3, kv::kRed);
             p.setDrawStyle(kv::DrawStyle::Solid);
         }},
        {"dot", [](PlotSurface& p) { p.Line(0.5, 0.5, 0.5, 0.5, kv::kGreen); }},
        {"filled circle", [](PlotSurface& p) { p.Circle(-1, 1, 0.4, kv::kBlue); }},
        {"box", [](PlotSurface& p) { p.Box(-1.3, 0.2, 1.1, 1.5, kv::kGreen); }},
        {"filled box", [](PlotSurface& p) { p.FilledBox(-0.5, -0.2, 2.5, 0.4, kv::kRed); }},
    };
    for (int width : {1, 2, 3}) {
        s->setDrawWidth(width);
        for (const auto& [what, draw] : figures) {
            draw(*s);
            EXPECT_NE(s->image(), before) << what << " at width " << width;
            draw(*s);
            EXPECT_EQ(s->image(), before) << what << " drawn twice at width " << width;
        }
    }
}

TEST_F(PixelRatioTest, XorFilledFiguresInvertEachDevicePixelOnce) {
    PlotSurface* xored = surfaceAt(2);
    PlotSurface* copied = surfaceAt(2);
    for (PlotSurface* s : {xored, copied}) {
        kv::SetPlotScale(*s, 0, 10, 20, 0);
        s->setFillStyle(kv::FillStyle::Solid);
        s->setFillColor(kv::kCyan);
    }
    xored->setDrawMode(kv::DrawMode::Xor);
    const std::vector<std::pair<const char*, Drawing>> figures{
        {"filled circle", [](PlotSurface& p) { p.Circle(10, 5, 3, kv::kBlue); }},
        {"filled box", [](PlotSurface& p) { p.FilledBox(2, 2, 7, 6, kv::kGreen); }},
        {"circle partly off the surface", [](PlotSurface& p) { p.Circle(19, 9, 4, kv::kRed); }},
    };
    for (int width : {1, 3})
        for (const auto& [what, draw] : figures) {
            for (PlotSurface* s : {xored, copied}) {
                s->Cls();
                s->setDrawWidth(width);
                draw(*s);
            }
            // Every pixel the copy paints, the XOR figure inverts with the same colour.
            const QImage painted = copied->image(), inverted = xored->image();
            int differing = 0;
            for (int y = 0; y < painted.height(); ++y)
                for (int x = 0; x < painted.width(); ++x) {
                    const kv::Rgb p = pixel(painted, x, y);
                    const kv::Rgb expected = p == kv::kWhite ? kv::kWhite : kv::Rgb{255 ^ p.r, 255 ^ p.g, 255 ^ p.b};
                    differing += pixel(inverted, x, y) != expected;
                }
            EXPECT_EQ(differing, 0) << what << " at width " << width;
        }
}

TEST_F(PixelRatioTest, LabelsAreDrawnAtTheScreensResolution) {
    PlotSurface* one = surfaceAt(1);
    PlotSurface* two = surfaceAt(2);
    for (PlotSurface* s : {one, two}) {
        kv::SetPlotScale(*s, 0, 10, 20, 0);
        s->setCurrentX(5);
        s->setCurrentY(5);
        s->Print(0.25);
    }
    const QRect small = InkBounds(one->image()), large = InkBounds(two->image());
    ASSERT_FALSE(small.isEmpty());
    // Where the label stands and how large it is, in logical pixels, does not change.
    EXPECT_NEAR(large.left(), 2 * small.left(), 2);
    EXPECT_NEAR(large.top(), 2 * small.top(), 2);
    EXPECT_NEAR(large.width(), 2 * small.width(), 3);
    EXPECT_NEAR(large.height(), 2 * small.height(), 3);
    // Rendered at full resolution, not a ratio-1 label blown up.
    EXPECT_TRUE(HasDetailFinerThanALogicalPixel(two->image().copy(large)));
    // The current point moves down by the same line height.
    EXPECT_FLOAT_EQ(two->currentY(), one->currentY());
}

TEST_F(PixelRatioTest, AMoveToAScreenOfAnotherRatioDrawsThePlotAnew) {
    // A plot with a kept XOR marker moved along, as the time-evolution window draws it.
    const auto plot = [](PlotSurface& s) {
        kv::SetPlotScale(s, -2.2, 2.2, 2.2, -0.5);
        s.setDrawWidth(3);
        s.Line(-2, 0, -2, 0, kv::kBlack);
        for (double x = -2; x < 2; x += 0.01) s.LineTo(x, 1 / (1 + std::exp(-5 * x)), kv::kBlack);
        s.setDrawWidth(1);
        s.setCurrentX(0.1);
        s.setCurrentY(-0.1);
        s.Print(0.5);
        s.setDrawMode(kv::DrawMode::Xor);
        for (double at = -1; at < 1; at += 0.25) {
            s.Line(at, 0, at, 1, kv::kCyan);
            s.Line(at, 0, at, 1, kv::kCyan);
        }
        s.Line(1, 0, 1, 1, kv::kCyan);
        s.setDrawMode(kv::DrawMode::Copy);
        s.setFillStyle(kv::FillStyle::Solid);
        s.Circle(1.5, 1.5, 0.2, kv::kRed);
    };
    PlotSurface* moved = surfaceAt(1);
    plot(*moved);
    const QImage atOne = moved->image();
    PlotSurface* direct = surfaceAt(2);
    plot(*direct);

    moveToRatio(moved->window(), 2);
    EXPECT_EQ(moved->pixelRatio(), 2);
    EXPECT_EQ(moved->image(), direct->image());
    // Drawing goes on at the new ratio.
    moved->Line(-1, 2, 1, 2, kv::kBlue);
    direct->Line(-1, 2, 1, 2, kv::kBlue);
    EXPECT_EQ(moved->image(), direct->image());

    // And back, with what was drawn there.
    moveToRatio(moved->window(), 1);
    PlotSurface* again = surfaceAt(1);
    plot(*again);
    again->Line(-1, 2, 1, 2, kv::kBlue);
    EXPECT_EQ(moved->image(), again->image());
    EXPECT_NE(moved->image(), atOne);
}

TEST_F(PixelRatioTest, AnEndlessPlotGivesUpRedrawingButStillFollowsTheScreen) {
    PlotSurface* s = surfaceAt(1);
    kv::SetPlotScale(*s, 0, 1, 1, 0);
    s->Line(0, 0, 0, 0, kv::kBlack);
    for (int i = 0; i < 300000; ++i) s->LineTo((i % 100) / 100.0, (i % 7) / 7.0, kv::kBlack);
    moveToRatio(s->window(), 2);
    EXPECT_EQ(s->image().size(), QSize(880, 540));
    EXPECT_FALSE(InkBounds(s->image()).isEmpty());
    // After a Cls every figure is kept again: drawn anew, not scaled down.
    s->Cls();
    s->Line(0.1, 0.2, 0.9, 0.7, kv::kBlack);
    moveToRatio(s->window(), 1);
    PlotSurface* fresh = surfaceAt(1);
    kv::SetPlotScale(*fresh, 0, 1, 1, 0);
    fresh->Line(0.1, 0.2, 0.9, 0.7, kv::kBlack);
    EXPECT_EQ(s->image(), fresh->image());
}
