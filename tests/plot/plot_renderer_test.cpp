// The renderer without a widget: figures in logical pixels into an image at a given ratio.
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <cstdint>
#include <vector>

#include "plot/plot_renderer.h"
#include "plot/thin_polyline.h"

using kv::Figure;
using kv::FigureKind;
using kv::PlotRenderer;

namespace {

constexpr QSize kLogical(120, 80);

Figure Make(FigureKind kind, QPointF a, QPointF b, kv::Rgb colour, int width = 1) {
    return {.a = a, .b = b, .colour = colour, .fill = colour, .width = std::uint16_t(width), .kind = kind};
}

// A plot as the windows draw one: a curve of segments each from where the last ended,
// then a box, a filled circle and a dotted line.
std::vector<Figure> Plot(int width) {
    std::vector<Figure> plot;
    QPointF last(3.3, 40);
    for (double x = 4; x < 117; x += 1.7) {
        const QPointF next(x, 40 + 30 * std::sin(x / 9));
        plot.push_back(Make(FigureKind::Segment, last, next, kv::kBlack, width));
        last = next;
    }
    plot.push_back(Make(FigureKind::Box, {10.5, 8}, {50, 30.2}, kv::kRed, width));
    plot.push_back(Make(FigureKind::Circle, {80, 30}, {12.5, 0}, kv::kBlue, width));
    plot.back().filled = true;
    plot.push_back(Make(FigureKind::Segment, {2, 70}, {118, 66}, kv::kGreen));
    plot.back().dotted = true;
    return plot;
}

}  // namespace

TEST(PlotRendererTest, APenCoversTheDevicePixelsOfItsLogicalPixels) {
    struct Case {
        int width;
        qreal ratio;
        PlotRenderer::Stack stack;
    };
    const Case cases[] = {{1, 1, {0, 0, 0}},   {2, 1, {0, 1, 0}},  {3, 1, {-1, 1, 0}}, {1, 1.5, {0, 1, 1}},
                          {2, 1.5, {0, 2, 1}}, {3, 1.5, {-2, 2, 1}}, {1, 2, {0, 1, 1}},  {3, 2, {-2, 3, 1}}};
    for (const Case& c : cases)
        EXPECT_EQ(PlotRenderer::StackOf(c.width, c.ratio), c.stack) << "width " << c.width << " at " << c.ratio;
}

TEST(PlotRendererTest, XorFiguresDrawnTwiceRestoreEveryDevicePixelAtEveryRatio) {
    for (qreal ratio : {1.0, 1.5, 2.0})
        for (int width : {1, 2, 3}) {
            PlotRenderer r(kLogical, ratio, Qt::white);
            for (const Figure& f : Plot(width)) r.render(f);
            const QImage before = r.image();
            for (Figure f : Plot(width)) {
                f.xorMode = true;
                f.colour = kv::kCyan;  // black would leave every pixel as it is
                r.render(f);
                EXPECT_NE(r.image(), before) << "ratio " << ratio << " width " << width;
                r.render(f);
                EXPECT_EQ(r.image(), before) << "ratio " << ratio << " width " << width;
            }
        }
}

TEST(PlotRendererTest, KeptFiguresRedrawnAtAnotherRatioMatchThoseDrawnThere) {
    kv::Label label{QStringLiteral(" 0.5 "), QFont(), 1};
    for (int width : {1, 3}) {
        PlotRenderer moved(kLogical, 1, Qt::white), direct(kLogical, 1.5, Qt::white);
        kv::FigureList kept;
        for (const Figure& f : Plot(width)) {
            moved.render(f);
            kept.keep(f);
            direct.render(f);
        }
        const Figure text = Make(FigureKind::Text, {20, 50}, {40, 16}, kv::kBlack);
        for (PlotRenderer* r : {&moved, &direct}) r->render(text, &label);
        kept.keep(text, label);

        moved.redraw(1.5, kept);
        EXPECT_EQ(moved.ratio(), 1.5);
        EXPECT_EQ(moved.image(), direct.image()) << "width " << width;
        // Figures lost, the image is stretched: it still has the screen's pixels.
        moved.stretch(2);
        EXPECT_EQ(moved.image().size(), kLogical * 2);
    }
}

// The direct one-pixel polylines light exactly the pixels QPainter does: sub-pixel curves,
// steep and turning ones, lines reaching past every edge, alone, moved, and stacked across
// a wide pen (worked out once where moving them moves their pixels, at the edges not).
TEST(PlotRendererTest, ThinPolylinesLightThePixelsThePainterDoes) {
    const auto wave = [](double step, double amplitude, double period) {
        std::vector<QPointF> p;
        for (double x = -3; x < 125; x += step) p.emplace_back(x, 40 + amplitude * std::sin(x / period));
        return p;
    };
    std::vector<QPointF> spiral, jitter;
    for (int i = 0; i < 900; ++i) spiral.emplace_back(60 + i * 0.07 * std::cos(i * 0.05), 40 + i * 0.05 * std::sin(i * 0.05));
    for (int i = 0; i < 400; ++i) jitter.emplace_back(20 + 0.3 * i + (i % 3) * 0.4, 60 - 0.13 * i + (i % 5) * 0.7);
    const std::vector<std::vector<QPointF>> cases = {
        wave(0.02, 30, 9), wave(0.3, 200, 4), wave(0.001 * 327 / 4, 60, 15), wave(3.1, 45, 2), spiral, jitter,
        {{5.5, 5.5}, {5.5, 70.25}, {100.75, 70.25}, {5.6, 5.4}},
        {{-40, -30}, {160, 110}, {-1e9, 5}, {60, 1e9}, {60.2, 40.1}, {60.2, 40.1}, {118.9, 79.9}}};
    struct Stack {
        QPointF step;
        int first, last;
    };
    for (std::size_t c = 0; c < cases.size(); ++c)
        for (const Stack& stack : {Stack{{2, 0}, 1, 1}, Stack{{0, 1}, -1, 1}, Stack{{1, 0}, -2, 3}}) {
            QImage direct(kLogical, QImage::Format_RGB32), painted(kLogical, QImage::Format_RGB32);
            direct.fill(Qt::white);
            painted.fill(Qt::white);
            const auto& points = cases[c];
            const int n = int(points.size());
            ASSERT_TRUE(stack.step.x() == 2 ? kv::DrawThinPolyline(direct, points.data(), n, stack.step, qRgb(0, 0, 255))
                                            : kv::DrawThinPolylines(direct, points.data(), n, stack.step, stack.first,
                                                                    stack.last, qRgb(0, 0, 255)));
            QPainter p(&painted);
            QPen pen(Qt::blue);
            pen.setWidth(1);
            pen.setCapStyle(Qt::SquareCap);
            p.setPen(pen);
            for (int k = stack.first; k <= stack.last; ++k) {
                QPolygonF moved;
                for (const QPointF& q : points) moved << q + stack.step * k;
                p.drawPolyline(moved);
            }
            p.end();
            EXPECT_EQ(direct, painted) << "case " << c << " step " << stack.step.x() << "," << stack.step.y();
        }
}

// Labels, laid out once and kept, look exactly as QPainter::drawText draws them, a label
// wider than its rectangle clipped to it, at both ratios.
TEST(PlotRendererTest, LabelsLookAsDrawTextDrawsThem) {
    const QFont font;
    for (qreal ratio : {1.0, 2.0}) {
        PlotRenderer r(kLogical, ratio, Qt::white);
        QImage painted(kLogical * ratio, QImage::Format_RGB32);
        painted.fill(Qt::white);
        QPainter p(&painted);
        p.setFont(font);
        p.scale(ratio, ratio);
        int row = 0;
        for (const QString& text : {QStringLiteral(" 0.5 "), QStringLiteral("Sjf"), QStringLiteral("-0.75"), QStringLiteral("Wide")}) {
            const kv::Label label{text, font, 1};
            const QSizeF size(text == QStringLiteral("Wide") ? 9 : 60, 18);
            for (int twice = 0; twice < 2; ++twice)
                r.render(Make(FigureKind::Text, {3.5 + 7 * twice, 2.25 + 19 * row}, {size.width(), size.height()}, kv::kBlack), &label);
            for (int twice = 0; twice < 2; ++twice)
                p.drawText(QRectF(QPointF(3.5 + 7 * twice, 2.25 + 19 * row), size), Qt::AlignLeft | Qt::AlignTop, text);
            ++row;
        }
        p.end();
        EXPECT_EQ(r.image(), painted) << "ratio " << ratio;
    }
}
