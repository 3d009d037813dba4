#include "plot/plot_renderer.h"

#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <optional>

#include "plot/qt_forms.h"
#include "plot/thin_polyline.h"

namespace kv {
namespace {

bool XMajor(const QPointF& a, const QPointF& b) { return std::fabs(b.x() - a.x()) >= std::fabs(b.y() - a.y()); }

}  // namespace

// A pen `width` logical pixels wide covers, at ratio 1, the pixels from (width - 1) / 2
// before a line to width / 2 after it; at any ratio it covers the device pixels of those
// logical pixels, so that figures cover the same logical pixels at every ratio.
PlotRenderer::Stack PlotRenderer::StackOf(int width, qreal ratio) {
    const int before = (width - 1) / 2, after = width / 2;
    const auto first = static_cast<int>(-std::lround(before * ratio));
    const int last = std::max(first, static_cast<int>(std::lround((after + 1) * ratio)) - 1);
    return {first, last, std::max(0, static_cast<int>(std::lround(ratio)) - 1)};
}

// A painter on one image that remembers the pen, brush, mode and font it was last given,
// so that a run of figures in the same state does not rebuild them for each figure.
// Everything it draws is in device pixels.
class PlotRenderer::Canvas {
public:
    explicit Canvas(QPaintDevice* device) : painter(device) {
        painter.setRenderHint(QPainter::Antialiasing, false);  // XOR twice must restore every pixel
    }
    // A canvas on the surface's own image, which thin lines are drawn into directly.
    explicit Canvas(QImage* image) : Canvas(static_cast<QPaintDevice*>(image)) { image_ = image; }

    void pen(Rgb colour, int width, Qt::PenStyle style = Qt::SolidLine) {
        const PenKey key{colour, width, style};
        if (pen_ == key) return;
        QPen p(ToQColor(colour));
        p.setWidth(width);
        p.setStyle(style);
        // Dots of a wide pen are squares of its width, as the dots of a thin one are pixels.
        p.setCapStyle(width == 1 ? Qt::SquareCap : style == Qt::SolidLine ? Qt::RoundCap : Qt::FlatCap);
        p.setJoinStyle(Qt::RoundJoin);
        painter.setPen(p);
        pen_ = key;
    }
    void brush(std::optional<Rgb> fill) {
        if (brushSet_ && brush_ == fill) return;
        painter.setBrush(fill ? QBrush(ToQColor(*fill)) : QBrush(Qt::NoBrush));
        brush_ = fill;
        brushSet_ = true;
    }
    void mode(QPainter::CompositionMode m) {
        if (mode_ == m) return;
        painter.setCompositionMode(m);
        mode_ = m;
    }
    // The pixel a one-pixel line through p covers: the raster engine floors both coordinates.
    static QPoint LinePixel(const QPointF& p) {
        return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
    }
    void fill(const QRect& r, Rgb colour) { painter.fillRect(r, ToQColor(colour)); }
    void font(const QFont& f, int version) {
        if (fontVersion_ == version) return;
        painter.setFont(f);
        fontVersion_ = version;
    }

    // One segment in a pen `width` pixels wide, drawn as stacked one-pixel lines: the
    // pixels of a wide pen, each covered once.
    void segment(const QPointF& a, const QPointF& b, Rgb colour, Stack stack, bool dotted) {
        // A dot, or a dotted line, is one figure centred on the lines of the stack.
        const QPointF middle(stack.middle(), stack.middle());
        if (a == b) {
            pen(colour, stack.width());
            painter.drawPoint(a + middle);
        } else if (dotted) {
            pen(colour, stack.width(), Qt::DotLine);
            const QPointF across = XMajor(a, b) ? QPointF(0, middle.y()) : QPointF(middle.x(), 0);
            painter.drawLine(a + across, b + across);
        } else {
            QPointF from = a, to = b;
            ReachOverLastPixel(from, to, stack);
            ReachOverLastPixel(to, from, stack);
            if (stack.width() > 1 && (from.x() == to.x() || from.y() == to.y())) {
                // Level or upright: its stacked lines make one rectangle.
                const QPoint across = from.y() == to.y() ? QPoint(0, 1) : QPoint(1, 0);
                const QPoint lo = LinePixel({std::min(from.x(), to.x()), std::min(from.y(), to.y())});
                const QPoint hi = LinePixel({std::max(from.x(), to.x()), std::max(from.y(), to.y())});
                fill(QRect(lo + across * stack.first, hi + across * stack.last), colour);
                return;
            }
            pen(colour, 1);
            const bool xMajor = XMajor(a, b);
            for (int k = stack.first; k <= stack.last; ++k) {
                const QPointF off = xMajor ? QPointF(0, k) : QPointF(k, 0);
                painter.drawLine(from + off, to + off);
            }
        }
    }

    // A solid polyline of distinct consecutive points, with the pixels of its segments
    // drawn one by one: each stretch whose segments share a major axis is stacked as
    // one-pixel polylines, which are far faster to draw than a wide pen.
    // The points are the run's, which is dropped afterwards: its ends are moved in place.
    void polyline(std::vector<QPointF>& points, Rgb colour, Stack stack) {
        if (stack.width() == 1) {
            thin(points.data(), points.size(), {}, colour);
            return;
        }
        // Its two ends reach over their last pixels as a segment's do.
        ReachOverLastPixel(points.front(), points[1], stack);
        ReachOverLastPixel(points.back(), points[points.size() - 2], stack);
        for (std::size_t start = 0; start + 1 < points.size();) {
            const bool xMajor = XMajor(points[start], points[start + 1]);
            std::size_t end = start + 1;
            while (end + 1 < points.size() && XMajor(points[end], points[end + 1]) == xMajor) ++end;
            const int n = static_cast<int>(end - start + 1);
            const QPointF across = xMajor ? QPointF(0, 1) : QPointF(1, 0);
            if (!image_ || !painter.transform().isIdentity() ||
                !DrawThinPolylines(*image_, &points[start], n, across, stack.first, stack.last, ToQColor(colour).rgb()))
                for (int k = stack.first; k <= stack.last; ++k) thin(&points[start], end - start + 1, across * k, colour);
            start = end;
        }
    }

    // A rectangle, filled or not, whose edges cover the pixels of lines drawn along them,
    // with square outer corners.
    void rect(const QRectF& r, Rgb colour, Stack stack, std::optional<Rgb> fill, bool dotted) {
        const bool thin = stack.width() == 1;
        if (!thin && fill == colour && !dotted) {
            // Filled in the colour of its edges: one rectangle out to the edges' far sides.
            this->fill(QRect(LinePixel(r.topLeft()) + QPoint(stack.first, stack.first),
                             LinePixel(r.bottomRight()) + QPoint(stack.last, stack.last)),
                       colour);
            return;
        }
        if (fill || thin) {
            pen(colour, 1, thin && dotted ? Qt::DotLine : Qt::SolidLine);
            brush(fill);
            painter.drawRect(r);
        }
        if (thin) return;
        // The horizontal edges reach over the vertical ones to fill the corners; their far
        // end reaches on by itself.
        const qreal left = r.left() + stack.first, right = r.right() + stack.last - stack.reach;
        segment({left, r.top()}, {right, r.top()}, colour, stack, dotted);
        segment({left, r.bottom()}, {right, r.bottom()}, colour, stack, dotted);
        segment(r.topLeft(), r.bottomLeft(), colour, stack, dotted);
        segment(r.topRight(), r.bottomRight(), colour, stack, dotted);
    }

    QPainter painter;

private:
    // One-pixel polyline through points[0..n) each moved by `offset`: straight into the
    // image where it is drawn exactly as the painter would, else by the painter.
    void thin(const QPointF* points, std::size_t n, QPointF offset, Rgb colour) {
        if (image_ && painter.transform().isIdentity() &&
            DrawThinPolyline(*image_, points, static_cast<int>(n), offset, ToQColor(colour).rgb()))
            return;
        pen(colour, 1);
        shifted_.clear();
        for (std::size_t i = 0; i < n; ++i) shifted_.push_back(points[i] + offset);
        painter.drawPolyline(shifted_.data(), static_cast<int>(n));
    }

    // A line covers the pixel at either end. Above ratio 1 a logical pixel is several device
    // pixels long: the end farther along the line's main axis is moved on over all of them,
    // as the nearer end already starts at the first of its own.
    static void ReachOverLastPixel(QPointF& end, const QPointF& other, Stack stack) {
        if (stack.reach == 0) return;
        const QPointF along = end - other;
        const qreal major = XMajor(other, end) ? along.x() : along.y();
        if (major > 0) end += along * (stack.reach / major);
    }

    struct PenKey {
        Rgb colour;
        int width;
        Qt::PenStyle style;
        bool operator==(const PenKey&) const = default;
    };
    std::optional<PenKey> pen_;
    std::optional<Rgb> brush_;
    bool brushSet_ = false;
    std::optional<QPainter::CompositionMode> mode_;
    int fontVersion_ = 0;
    QImage* image_ = nullptr;
    std::vector<QPointF> shifted_;
};

PlotRenderer::PlotRenderer(QSize logical, qreal ratio, QColor background)
    : logical_(logical), ratio_(ratio), background_(background), image_(deviceSize(ratio), QImage::Format_RGB32) {
    image_.fill(background_);
}

PlotRenderer::~PlotRenderer() = default;

QSize PlotRenderer::deviceSize(qreal ratio) const {
    return {static_cast<int>(std::lround(logical_.width() * ratio)),
            static_cast<int>(std::lround(logical_.height() * ratio))};
}

PlotRenderer::Stack PlotRenderer::stackOf(int width) {
    if (width != stackWidth_) {
        stack_ = StackOf(width, ratio_);
        stackWidth_ = width;
    }
    return stack_;
}

PlotRenderer::Canvas& PlotRenderer::canvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(&image_);
    return *canvas_;
}

void PlotRenderer::flushRun() {
    if (runSegments_ > 0) {
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        if (runSegments_ == 1) c.segment(run_.front(), run_.back(), runColour_, runStack_, false);
        else c.polyline(run_, runColour_, runStack_);
    }
    run_.clear();
    runSegments_ = 0;
}

void PlotRenderer::flush() {
    flushRun();
    canvas_.reset();
}

const QImage& PlotRenderer::image() {
    flush();
    return image_;
}

const QImage& PlotRenderer::drawn() {
    flushRun();
    return image_;
}

void PlotRenderer::clear() {
    run_.clear();
    runSegments_ = 0;
    // An open painter stays open: the image it paints on is only filled.
    image_.fill(background_);
}

void PlotRenderer::redraw(qreal ratio, const FigureList& figures) {
    flush();
    ratio_ = ratio;
    stackWidth_ = -1;
    image_ = QImage(deviceSize(ratio), QImage::Format_RGB32);
    image_.fill(background_);
    for (const Figure& f : figures.figures()) {
        if (f.kind == FigureKind::Path) renderPath(f, figures.pointsOf(f));
        else render(f, figures.labelOf(f));
    }
    flush();
}

void PlotRenderer::stretch(qreal ratio) {
    flush();
    image_ = image_.scaled(deviceSize(ratio), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ratio_ = ratio;
    stackWidth_ = -1;
}

void PlotRenderer::render(const Figure& figure, const Label* label) {
    switch (figure.kind) {
    case FigureKind::Segment: renderSegment(figure); break;
    case FigureKind::Box:
    case FigureKind::Circle: renderShape(figure); break;
    case FigureKind::Text:
        if (label) renderText(figure, *label);
        break;
    case FigureKind::Path: break;  // drawn by renderPath, with its points
    }
}

// An XOR box or circle is drawn whole into a black image of its bounds and that image
// XORed onto the surface once: where fill and outline overlap, a pixel is still inverted
// only once. `area` and `draw` are in device pixels.
template <typename Draw>
void PlotRenderer::drawXor(const QRectF& area, int penWidth, Draw draw) {
    flushRun();
    const qreal reach = penWidth + 1;
    const QRect bounds = area.adjusted(-reach, -reach, reach, reach).toAlignedRect() & image_.rect();
    if (bounds.isEmpty()) return;
    QImage figure(bounds.size(), QImage::Format_RGB32);
    figure.fill(0);  // black leaves a pixel as it is under XOR
    {
        Canvas c(&figure);
        c.painter.translate(-bounds.topLeft());
        draw(c);
    }
    Canvas& c = canvas();
    c.mode(QPainter::RasterOp_SourceXorDestination);
    c.painter.drawImage(bounds.topLeft(), figure);
}

void PlotRenderer::renderSegment(const Figure& f) {
    const QPointF a = f.a * ratio_, b = f.b * ratio_;
    const Stack stack = stackOf(f.width);
    if (f.xorMode) {
        // Never batched: each segment is its own figure, and its stacked lines cover each
        // pixel once, so it goes straight onto the surface.
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::RasterOp_SourceXorDestination);
        c.segment(a, b, f.colour, stack, f.dotted);
        return;
    }
    if (f.dotted) {
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        c.segment(a, b, f.colour, stack, true);
        return;
    }
    runTo(a, b, f.colour, stack);
}

void PlotRenderer::runTo(const QPointF& a, const QPointF& b, Rgb colour, Stack stack) {
    const auto startRun = [&] {
        run_.push_back(a);
        runColour_ = colour;
        runStack_ = stack;
    };
    if (SamePoint(a, b)) {
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        c.segment(a, b, colour, stack, false);
        startRun();  // a dot also starts a run, as a curve begins with one
    } else {
        // Joins the run when it carries on from its last point in the same pen.
        if (!run_.empty() && (colour != runColour_ || stack != runStack_ || !SamePoint(a, run_.back()))) flushRun();
        if (run_.empty()) startRun();
        run_.push_back(b);
        ++runSegments_;
    }
}

void PlotRenderer::renderPath(const Figure& f, std::span<const QPointF> points) {
    if (points.size() < 2) return;
    const Stack stack = stackOf(f.width);
    runTo(points[0] * ratio_, points[1] * ratio_, f.colour, stack);
    // Each further segment carries on from the run's last point in its pen: only a dot
    // (its ends one point at this ratio) is drawn otherwise.
    std::size_t i = 2;
    if (ratio_ == 1) {
        // Points are device points as they stand: a stretch without a dot joins the run whole.
        std::size_t end = i;
        while (end < points.size() && !SamePoint(points[end - 1], points[end])) ++end;
        run_.insert(run_.end(), points.begin() + static_cast<std::ptrdiff_t>(i), points.begin() + static_cast<std::ptrdiff_t>(end));
        runSegments_ += static_cast<int>(end - i);
        i = end;
    }
    for (; i < points.size(); ++i) {
        const QPointF a = points[i - 1] * ratio_, b = points[i] * ratio_;
        if (SamePoint(a, b)) {
            runTo(a, b, f.colour, stack);
        } else {
            run_.push_back(b);
            ++runSegments_;
        }
    }
}

void PlotRenderer::renderShape(const Figure& f) {
    const Stack stack = stackOf(f.width);
    const bool box = f.kind == FigureKind::Box;
    const QRectF r = box ? QRectF(f.a * ratio_, f.b * ratio_)
                         : QRectF(f.a * ratio_ - QPointF(f.b.x(), f.b.x()) * ratio_, QSizeF(2, 2) * f.b.x() * ratio_);
    const std::optional<Rgb> fill = f.filled ? std::optional<Rgb>(f.fill) : std::nullopt;
    const auto draw = [&](Canvas& c) {
        if (box) {
            c.rect(r, f.colour, stack, fill, f.dotted);
            return;
        }
        c.pen(f.colour, stack.width(), f.dotted ? Qt::DotLine : Qt::SolidLine);
        c.brush(fill);
        c.painter.drawEllipse(r);
    };
    if (f.xorMode) {
        drawXor(r, stack.width(), draw);
        return;
    }
    flushRun();
    Canvas& c = canvas();
    c.mode(QPainter::CompositionMode_SourceOver);
    draw(c);
}

void PlotRenderer::renderText(const Figure& f, const Label& label) {
    flushRun();
    Canvas& c = canvas();
    c.mode(QPainter::CompositionMode_SourceOver);
    c.font(label.font, label.fontVersion);
    c.pen(f.colour, 1);
    // Laid out in logical pixels, rendered at the device's resolution.
    if (ratio_ != 1) c.painter.setWorldTransform(QTransform::fromScale(ratio_, ratio_));
    const QRectF r(f.a, QSizeF(f.b.x(), f.b.y()));
    if (const LaidOut* text = laidOut(c.painter, label)) {
        // As drawText lays a line out at the top left of its rectangle, clipped to it only
        // when the line's bounds reach beyond it.
        const bool clip = !r.contains(QRectF(r.topLeft(), text->size));
        if (clip) {
            c.painter.save();
            c.painter.setClipRect(r, Qt::IntersectClip);
        }
        text->layout->lineAt(0).draw(&c.painter, r.topLeft());
        if (clip) c.painter.restore();
    } else {
        c.painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, label.text);
    }
    if (ratio_ != 1) c.painter.resetTransform();
}

// A label laid out as QPainter::drawText(rect, AlignLeft | AlignTop, text) lays it out with
// the painter's font: one line, unbounded, at the top left. Only for a text drawText takes
// as it stands (no line breaks, tabs or length variants) in a font without decorations; a
// plot redrawn prints the same few labels, and laying them out is the dearest part.
const PlotRenderer::LaidOut* PlotRenderer::laidOut(const QPainter& painter, const Label& label) {
    const QFont& font = painter.font();
    if (label.text.isEmpty() || font.underline() || font.overline() || font.strikeOut() ||
        painter.layoutDirection() != Qt::LeftToRight)
        return nullptr;
    for (const QChar ch : label.text)
        if (ch == u'\r' || ch == u'\n' || ch == u'\t' || ch == u'\x9c' || ch == QChar::LineSeparator ||
            ch == QChar::ParagraphSeparator)
            return nullptr;
    if (layoutFontVersion_ != label.fontVersion || layouts_.size() > 64) {
        layouts_.clear();
        layoutFontVersion_ = label.fontVersion;
    }
    auto& slot = layouts_[label.text];
    if (!slot.layout) {
        slot.layout = std::make_unique<QTextLayout>(label.text, font);
        QTextOption option = slot.layout->textOption();
        option.setTextDirection(Qt::LeftToRight);
        option.setAlignment(Qt::AlignLeft);
        slot.layout->setTextOption(option);
        slot.layout->setCacheEnabled(true);
        slot.layout->beginLayout();
        QTextLine line = slot.layout->createLine();
        line.setLineWidth(0x01000000);
        line.setPosition(QPointF(0, 0));
        slot.size = QSizeF(line.naturalTextWidth(), line.ascent() + line.descent());
        const bool oneLine = !slot.layout->createLine().isValid();
        slot.layout->endLayout();
        if (!oneLine) slot.layout.reset();
    }
    return slot.layout ? &slot : nullptr;
}

}  // namespace kv
