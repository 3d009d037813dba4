#include "kit/plot_frame.h"
#include "plot/PlotSurface.h"
#include "support/ui_test.h"

#include <array>
#include <vector>

using PlotFrameTest = UiTest;

namespace {
// Whether anything but the background lies in the pixel rectangle.
bool InkIn(const QImage& img, QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.valid(x, y) && UiTest::pixel(img, x, y) != kv::kWhite) return true;
    return false;
}
}  // namespace

TEST_F(PlotFrameTest, TickSpacingAndLabelRules) {
    EXPECT_EQ(kv::TickSpacing(3), 1);
    EXPECT_EQ(kv::TickSpacing(10), 1);
    EXPECT_EQ(kv::TickSpacing(11), 10);
    EXPECT_DOUBLE_EQ(kv::TickSpacing(1), 0.1);
    EXPECT_DOUBLE_EQ(kv::TickSpacing(0.5), 0.1);
    EXPECT_EQ(kv::TickSpacing(1000), 100);
    EXPECT_EQ(kv::TickSpacing(1001), 1000);

    EXPECT_EQ(kv::XLabelDigits(1), 1);
    EXPECT_EQ(kv::XLabelDigits(9), 1);
    EXPECT_EQ(kv::XLabelDigits(10), 2);
    EXPECT_EQ(kv::XLabelDigits(1000), 3);  // the quotient falls just short of 3
    EXPECT_EQ(kv::XLabelDigits(0.5), 0);

    EXPECT_EQ(kv::YLabelDigits(1), 1);
    EXPECT_EQ(kv::YLabelDigits(10), 2);
    EXPECT_EQ(kv::YLabelDigits(1000), 4);  // lifted over the whole number
    EXPECT_EQ(kv::YLabelDigits(0.1), 0);

    EXPECT_EQ(kv::YLabel(5, 1), " 5");
    EXPECT_EQ(kv::YLabel(10, 1), "10");
    EXPECT_EQ(kv::YLabel(20, 2), " 20");
    EXPECT_EQ(kv::YLabel(100, 2), "100");
    EXPECT_EQ(kv::YLabel(0.5, 0), "5");  // spacing 0.1 keeps one character only
    EXPECT_EQ(kv::YLabel(0.01, -1), "");
}

TEST_F(PlotFrameTest, AxesGridAndLabelsLandOnTheirPixels) {
    kv::PlotSurface s(nullptr, QSize(440, 440));
    ASSERT_TRUE(kv::DrawAxes(s, 3, 10));
    EXPECT_FLOAT_EQ(s.scaleLeft(), -0.3f);
    EXPECT_FLOAT_EQ(s.scaleTop(), 11.0f);
    EXPECT_FLOAT_EQ(s.scaleWidth(), 3.6f);
    EXPECT_FLOAT_EQ(s.scaleHeight(), -12.0f);
    EXPECT_EQ(s.drawWidth(), 1);
    const QImage img = s.image();
    const auto px = [&](double x, double y) { return s.toPixel(float(x), float(y)).toPoint(); };
    // The origin one eleventh in from the left and bottom (440 / 12 * 1.1 = 40.3 px).
    EXPECT_EQ(px(0, 0), QPoint(37, 403));
    EXPECT_EQ(pixel(img, 100, 403), kv::kBlack);  // x axis
    EXPECT_TRUE(colourNear(img, QPointF(36.7, 300), kv::kBlack, 1));  // y axis
    // The axes run past the frame into their arrowheads (tips at MaxX + 4 tx, MaxY + 4 ty).
    EXPECT_TRUE(colourNear(img, px(3 + 0.1, 0), kv::kBlack, 1));
    EXPECT_TRUE(colourNear(img, px(0, 10.3), kv::kBlack, 1));
    EXPECT_TRUE(colourNear(img, px(3.075, 0.05), kv::kBlack, 1));  // mid-way along an arrowhead stroke
    EXPECT_TRUE(colourNear(img, px(0.015, 10.15), kv::kBlack, 1));
    EXPECT_EQ(pixel(img, px(3.05, 5).x(), px(3.05, 5).y()), kv::kWhite);  // no grid past the maximum
    // Grid lines at x = 1, 2, 3 over the full height and y = 1 .. 10 over the full width.
    for (int x = 1; x <= 3; ++x) EXPECT_TRUE(colourNear(img, s.toPixel(x, 9.5), kv::kBlack, 1)) << x;
    for (int y = 1; y <= 10; ++y) EXPECT_TRUE(colourNear(img, s.toPixel(2.5, y), kv::kBlack, 1)) << y;
    EXPECT_FALSE(colourNear(img, s.toPixel(2.5, 5.5), kv::kBlack, 3));
    EXPECT_EQ(pixel(img, px(1.5, 5.5).x(), px(1.5, 5.5).y()), kv::kWhite);
    // Labels: " 1 " starts 0.06 left of its tick, under the axis; "10" left of the y axis.
    const QPoint one = px(1 - 0.06, -0.1);
    EXPECT_TRUE(InkIn(img, QRect(one, QSize(24, 16))));
    EXPECT_FALSE(InkIn(img, QRect(px(1.3, -0.1), QSize(20, 12))));  // nothing between the labels
    const QPoint ten = px(-2 * 3 * 0.03, 10 + 0.1);
    EXPECT_TRUE(InkIn(img, QRect(ten, QSize(20, 16))));
}

TEST_F(PlotFrameTest, ImpossibleMaximaDrawNothing) {
    kv::PlotSurface s(nullptr, QSize(200, 200));
    ASSERT_TRUE(kv::DrawAxes(s, 1000, 1));
    const QImage before = s.image();
    for (const auto& [x, y] : {std::pair{0.0, 10.0}, {3.0, 0.0}, {-1.0, 10.0}, {3.0, 1e31}, {9.795785672978033e-39, 10.0}})
        EXPECT_FALSE(kv::DrawAxes(s, x, y)) << x << " " << y;
    EXPECT_EQ(s.image(), before);
    EXPECT_FLOAT_EQ(s.scaleWidth(), 1200.0f);
    // A maximum of 11 has its one grid line at 10, and none at 5.
    ASSERT_TRUE(kv::DrawAxes(s, 11, 11));
    EXPECT_TRUE(colourNear(s.image(), s.toPixel(10, 5), kv::kBlack, 1));
    EXPECT_FALSE(colourNear(s.image(), s.toPixel(5, 5), kv::kBlack, 3));
}

namespace {
// Logical pixels with ink: at ratio 2, a logical pixel any of whose four device pixels is
// not white.
std::vector<QPoint> InkedLogicalPixels(const QImage& img, int ratio) {
    std::vector<QPoint> inked;
    for (int y = 0; y < img.height() / ratio; ++y)
        for (int x = 0; x < img.width() / ratio; ++x)
            if (InkIn(img, QRect(x * ratio, y * ratio, ratio, ratio))) inked.emplace_back(x, y);
    return inked;
}
}  // namespace

// The same frame at 200 %: every axis, grid line, arrowhead and label stands on the logical
// pixels it stands on at 100 %, give or take the one pixel a finer rounding may move it.
TEST_F(PlotFrameTest, AxesGridAndLabelsKeepTheirPlaceAtTwoHundredPercent) {
    std::array<kv::PlotSurface*, 2> s{};
    for (int r : {1, 2}) {
        s[r - 1] = new kv::PlotSurface(windowAtRatio(r, QSize(460, 460)), QSize(440, 440));
        s[r - 1]->show();
        ASSERT_TRUE(kv::DrawAxes(*s[r - 1], 3, 10));
    }
    ASSERT_EQ(s[1]->image().size(), QSize(880, 880));
    const QImage one = s[0]->image(), two = s[1]->image();
    const auto oneInk = InkedLogicalPixels(one, 1), twoInk = InkedLogicalPixels(two, 2);
    ASSERT_GT(oneInk.size(), 3000u);
    int strays = 0;
    for (const QPoint& p : twoInk) strays += !InkIn(one, QRect(p - QPoint(1, 1), QSize(3, 3)));
    for (const QPoint& p : oneInk) strays += !InkIn(two, QRect((p - QPoint(1, 1)) * 2, QSize(6, 6)));
    EXPECT_EQ(strays, 0);
    // The x axis at the origin's row: two device rows at 200 %, against one pixel at 100 %.
    const QPointF origin = s[1]->toPixel(0, 0);
    EXPECT_TRUE(colourNear(two, origin * 2 + QPointF(100, 0), kv::kBlack, 1));
}
