#include "plot/PlotSurface.h"

#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "plot/numtext.h"
#include "plot/qt_forms.h"

namespace kv {
namespace {

bool FitsSingle(double v) { return std::isfinite(v) && std::fabs(v) <= FLT_MAX; }

// The raster engine misdraws pixel coordinates near the int range, and what lies beyond
// the edge is invisible anyway: figures are trimmed this far outside the image.
constexpr qreal kClipMargin = 16;

// A pixel position comes from single-precision user coordinates through a few double
// operations, so it is known to a few units in its last place: far below a pixel up to
// this distance from the image, whatever the direction of the line through it.
constexpr double kExactPixels = 1e12;
constexpr double kPixelRounding = 8 * std::numeric_limits<double>::epsilon();

// Whether the part of the segment a..b that crosses the rectangle is known to within half
// a pixel across the line. Only a long slanting line with both ends enormously far away
// is not: rounding its ends shifts it sideways by more than the whole image.
bool CrossingIsExact(const QPointF& a, const QPointF& b, const QRectF& r) {
    const double far = std::max({std::fabs(a.x()), std::fabs(a.y()), std::fabs(b.x()), std::fabs(b.y())});
    if (far < kExactPixels) return true;
    const double dx = std::fabs(b.x() - a.x()), dy = std::fabs(b.y() - a.y());
    const double length = std::hypot(dx, dy);
    if (length == 0) return true;
    // The rounding of an end, across the line, weighted by how far the image lies from the
    // other end: a near end pins the line however far the other one is.
    const double size = r.width() + r.height();
    const auto across = [&](const QPointF& e) { return kPixelRounding * (std::fabs(e.x()) * dy + std::fabs(e.y()) * dx) / length; };
    const auto reach = [&](const QPointF& e) { return (std::fabs(e.x()) + std::fabs(e.y()) + size) / length; };
    return across(a) * reach(b) + across(b) * reach(a) <= 0.5;
}

// Trims the segment to the rectangle (Cohen-Sutherland); false when nothing of it is
// inside. A trimmed end is put exactly on the edge it crosses, its other coordinate taken
// along the original segment from the end nearer that edge: an end 1e30 pixels away then
// neither swamps nor shifts the part that shows.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const QPointF a0 = a, b0 = b;
    const double dx = b0.x() - a0.x(), dy = b0.y() - a0.y();
    const auto yAt = [&](double x) {
        const QPointF& e = std::fabs(x - a0.x()) <= std::fabs(x - b0.x()) ? a0 : b0;
        return e.y() + dy * ((x - e.x()) / dx);
    };
    const auto xAt = [&](double y) {
        const QPointF& e = std::fabs(y - a0.y()) <= std::fabs(y - b0.y()) ? a0 : b0;
        return e.x() + dx * ((y - e.y()) / dy);
    };
    enum { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
    const auto outside = [&](const QPointF& p) {
        return (p.x() < r.left() ? kLeft : p.x() > r.right() ? kRight : 0) |
               (p.y() < r.top() ? kTop : p.y() > r.bottom() ? kBottom : 0);
    };
    // Each end crosses at most two edges on its way in.
    for (int step = 0; step < 8; ++step) {
        const int ca = outside(a), cb = outside(b);
        if ((ca | cb) == 0) return true;
        if (ca & cb) return false;
        QPointF& p = ca ? a : b;
        const int c = ca ? ca : cb;
        if (c & kLeft) p = {r.left(), yAt(r.left())};
        else if (c & kRight) p = {r.right(), yAt(r.right())};
        else if (c & kTop) p = {xAt(r.top()), r.top()};
        else p = {xAt(r.bottom()), r.bottom()};
    }
    return false;
}

// Exactly the same point (QPointF's own comparison allows for rounding).
bool Same(const QPointF& a, const QPointF& b) { return a.x() == b.x() && a.y() == b.y(); }

bool XMajor(const QPointF& a, const QPointF& b) { return std::fabs(b.x() - a.x()) >= std::fabs(b.y() - a.y()); }

// Ratios beyond any real screen would only cost memory.
constexpr qreal kMinRatio = 0.25, kMaxRatio = 4;
qreal UsableRatio(qreal ratio) { return std::isfinite(ratio) ? std::clamp(ratio, kMinRatio, kMaxRatio) : 1.0; }

// Enough for every figure of any demonstration between two Cls; a pathological run of
// hundreds of thousands gives up keeping them rather than grow without end.
constexpr std::size_t kMaxKeptFigures = std::size_t{1} << 18;
// An XOR figure drawn again removes its kept twin when only XOR figures lie between them.
constexpr int kXorLookBack = 8;

}  // namespace

// A pen `width` logical pixels wide covers, at ratio 1, the pixels from (width - 1) / 2
// before a line to width / 2 after it; at any ratio it covers the device pixels of those
// logical pixels, so that figures cover the same logical pixels at every ratio.
PlotSurface::Stack PlotSurface::StackOf(int width, qreal ratio) {
    const int before = (width - 1) / 2, after = width / 2;
    const auto first = static_cast<int>(-std::lround(before * ratio));
    const int last = std::max(first, static_cast<int>(std::lround((after + 1) * ratio)) - 1);
    return {first, last, std::max(0, static_cast<int>(std::lround(ratio)) - 1)};
}

// One figure as the operations drew it, in logical pixels and with its pen: enough to
// draw it again at any ratio.
struct PlotSurface::Figure {
    QPointF a, b;  // segment: its ends; box: two corners; circle: centre and (radius, 0); text: corner and size
    Rgb colour;
    Rgb fill;
    int label = -1;  // text: its index in labels_
    std::uint16_t width = 1;
    FigureKind kind = FigureKind::Segment;
    bool xorMode = false;
    bool dotted = false;
    bool filled = false;
    bool operator==(const Figure& o) const {
        return Same(a, o.a) && Same(b, o.b) && colour == o.colour && fill == o.fill && label == o.label &&
               width == o.width && kind == o.kind && xorMode == o.xorMode && dotted == o.dotted && filled == o.filled;
    }
};

// A painter on one image that remembers the pen, brush, mode and font it was last given,
// so that a run of figures in the same state does not rebuild them for each figure.
// Everything it draws is in device pixels.
class PlotSurface::Canvas {
public:
    explicit Canvas(QPaintDevice* device) : painter(device) {
        painter.setRenderHint(QPainter::Antialiasing, false);  // XOR twice must restore every pixel
    }

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
    // one-pixel polylines, which the raster engine draws far faster than a wide pen.
    void polyline(const std::vector<QPointF>& points, Rgb colour, Stack stack) {
        pen(colour, 1);
        const auto draw = [this](const QPointF* p, std::size_t n) { painter.drawPolyline(p, static_cast<int>(n)); };
        if (stack.width() == 1) {
            draw(points.data(), points.size());
            return;
        }
        // Its two ends reach over their last pixels as a segment's do.
        ends_ = points;
        ReachOverLastPixel(ends_.front(), ends_[1], stack);
        ReachOverLastPixel(ends_.back(), ends_[ends_.size() - 2], stack);
        for (std::size_t start = 0; start + 1 < ends_.size();) {
            const bool xMajor = XMajor(ends_[start], ends_[start + 1]);
            std::size_t end = start + 1;
            while (end + 1 < ends_.size() && XMajor(ends_[end], ends_[end + 1]) == xMajor) ++end;
            for (int k = stack.first; k <= stack.last; ++k) {
                const QPointF off = xMajor ? QPointF(0, k) : QPointF(k, 0);
                shifted_.clear();
                for (std::size_t i = start; i <= end; ++i) shifted_.push_back(ends_[i] + off);
                draw(shifted_.data(), shifted_.size());
            }
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
    std::vector<QPointF> shifted_, ends_;
};

PlotSurface::PlotSurface(QWidget* parent, QSize pixels)
    : QWidget(parent), size_(pixels), ratio_(UsableRatio(devicePixelRatioF())) {
    setFixedSize(pixels);
    const QSize device(static_cast<int>(std::lround(pixels.width() * ratio_)),
                       static_cast<int>(std::lround(pixels.height() * ratio_)));
    image_ = QImage(device, QImage::Format_RGB32);
    image_.fill(background_);
}

PlotSurface::~PlotSurface() = default;

bool PlotSurface::setScale(double left, double top, double width, double height) {
    if (!FitsSingle(left) || !FitsSingle(top) || !FitsSingle(width) || !FitsSingle(height)) return false;
    const auto w = static_cast<float>(width), h = static_cast<float>(height);
    if (w == 0.0f || h == 0.0f) return false;
    scaleLeft_ = static_cast<float>(left);
    scaleTop_ = static_cast<float>(top);
    scaleWidth_ = w;
    scaleHeight_ = h;
    scaled_ = true;
    return true;
}

bool PlotSurface::setCurrentX(double x) {
    if (!FitsSingle(x)) return false;
    currentX_ = static_cast<float>(x);
    return true;
}

bool PlotSurface::setCurrentY(double y) {
    if (!FitsSingle(y)) return false;
    currentY_ = static_cast<float>(y);
    return true;
}

double PlotSurface::fontSize() const { return fontSize_ > 0 ? fontSize_ : font().pointSizeF(); }

void PlotSurface::setFontSize(double points) {
    if (!std::isfinite(points) || points <= 0 || points >= 1000 || points == fontSize_) return;
    fontSize_ = points;
    labelFont_.reset();
}

const QFont& PlotSurface::labelFont() {
    if (!labelFont_) {
        QFont f = font();
        if (fontSize_ > 0) f.setPointSizeF(fontSize_);
        labelFont_ = f;
        labelMetrics_.emplace(f);
        ++labelFontVersion_;
    }
    return *labelFont_;
}

QPointF PlotSurface::toPixel(float x, float y) const { return pixelOf(x, y); }

// In double: a single-precision point far off the image has a pixel position beyond the
// float range, or too coarse in float to trim at the right place.
QPointF PlotSurface::pixelOf(double x, double y) const {
    return {(x - scaleLeft_) / scaleWidth_ * size_.width(), (y - scaleTop_) / scaleHeight_ * size_.height()};
}

bool PlotSurface::usable(double x, double y) const { return scaled_ && FitsSingle(x) && FitsSingle(y); }

QRectF PlotSurface::clipArea() const {
    return QRectF(-kClipMargin, -kClipMargin, size_.width() + 2 * kClipMargin, size_.height() + 2 * kClipMargin);
}

PlotSurface::Canvas& PlotSurface::canvas() const {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(&image_);
    return *canvas_;
}

void PlotSurface::flushRun() const {
    if (runSegments_ > 0) {
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        if (runSegments_ == 1) c.segment(run_.front(), run_.back(), runColour_, runStack_, false);
        else c.polyline(run_, runColour_, runStack_);
    }
    run_.clear();
    runSegments_ = 0;
}

void PlotSurface::endPainting() const {
    flushRun();
    canvas_.reset();
}

const QImage& PlotSurface::image() const {
    endPainting();
    return image_;
}

void PlotSurface::scheduleUpdate() {
    // One repaint request per burst of drawing; the paint event takes whatever is drawn by then.
    if (updateScheduled_) return;
    updateScheduled_ = true;
    update();
}

// A figure in the current pen: its width, mode and style.
PlotSurface::Figure PlotSurface::drawn(FigureKind kind, Rgb colour) const {
    Figure f;
    f.kind = kind;
    f.colour = colour;
    f.width = static_cast<std::uint16_t>(std::min(drawWidth_, 0xFFFF));
    f.xorMode = drawMode_ == DrawMode::Xor;
    f.dotted = drawStyle_ == DrawStyle::Dot && drawWidth_ == 1;
    return f;
}

void PlotSurface::draw(const Figure& figure) {
    render(figure);
    keep(figure);
    scheduleUpdate();
}

void PlotSurface::keep(const Figure& figure) {
    if (!kept_) return;
    if (figure.xorMode) {
        // XOR figures commute with one another, and a figure XORed twice leaves no trace.
        const int last = static_cast<int>(figures_.size()) - 1;
        for (int i = last; i >= 0 && i > last - kXorLookBack && figures_[i].xorMode; --i)
            if (figures_[i] == figure) {
                figures_.erase(figures_.begin() + i);
                return;
            }
    }
    if (figures_.size() >= kMaxKeptFigures) {
        kept_ = false;
        figures_ = {};
        labels_ = {};
        return;
    }
    figures_.push_back(figure);
}

void PlotSurface::render(const Figure& figure) {
    switch (figure.kind) {
    case FigureKind::Segment: renderSegment(figure); break;
    case FigureKind::Box:
    case FigureKind::Circle: renderShape(figure); break;
    case FigureKind::Text: renderText(figure); break;
    }
}

// An XOR box or circle is drawn whole into a black image of its bounds and that image
// XORed onto the surface once: where fill and outline overlap, a pixel is still inverted
// only once. `area` and `draw` are in device pixels.
template <typename Draw>
void PlotSurface::drawXor(const QRectF& area, int penWidth, Draw draw) {
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

void PlotSurface::segment(QPointF a, QPointF b, Rgb colour) {
    const QRectF area = clipArea();
    if (!CrossingIsExact(a, b, area) || !ClipSegment(a, b, area)) return;
    Figure f = drawn(FigureKind::Segment, colour);
    f.a = a;
    f.b = b;
    draw(f);
}

void PlotSurface::renderSegment(const Figure& f) {
    const QPointF a = f.a * ratio_, b = f.b * ratio_;
    const Stack stack = StackOf(f.width, ratio_);
    if (f.xorMode) {
        // Never batched: each segment is its own figure, and its stacked lines cover each
        // pixel once, so it goes straight onto the surface.
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::RasterOp_SourceXorDestination);
        c.segment(a, b, f.colour, stack, f.dotted);
        return;
    }
    const auto startRun = [&] {
        run_.push_back(a);
        runColour_ = f.colour;
        runStack_ = stack;
    };
    if (f.dotted || Same(a, b)) {
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        c.segment(a, b, f.colour, stack, f.dotted);
        if (!f.dotted) startRun();  // a dot also starts a run, as a curve begins with one
    } else {
        // Joins the run when it carries on from its last point in the same pen.
        if (!run_.empty() && (f.colour != runColour_ || stack != runStack_ || !Same(a, run_.back()))) flushRun();
        if (run_.empty()) startRun();
        run_.push_back(b);
        ++runSegments_;
    }
}

void PlotSurface::Cls() {
    run_.clear();
    runSegments_ = 0;
    canvas_.reset();
    image_.fill(background_);
    figures_.clear();
    labels_.clear();
    kept_ = true;
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
    scheduleUpdate();
}

bool PlotSurface::Line(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!usable(x1, y1) || !usable(x2, y2)) return false;
    // Coordinates are single precision by convention; the pixel arithmetic is not.
    const auto fx2 = static_cast<float>(x2), fy2 = static_cast<float>(y2);
    segment(pixelOf(static_cast<float>(x1), static_cast<float>(y1)), pixelOf(fx2, fy2), colour);
    currentX_ = fx2;
    currentY_ = fy2;
    return true;
}

bool PlotSurface::LineTo(double x2, double y2, Rgb colour) { return Line(currentX_, currentY_, x2, y2, colour); }

void PlotSurface::drawBox(double x1, double y1, double x2, double y2, Rgb colour, bool filled) {
    currentX_ = static_cast<float>(x2);
    currentY_ = static_cast<float>(y2);
    const QPointF a = pixelOf(static_cast<float>(x1), static_cast<float>(y1));
    const QPointF b = pixelOf(currentX_, currentY_);
    const QRectF visible = clipArea();
    if (std::max(a.x(), b.x()) < visible.left() || std::min(a.x(), b.x()) > visible.right() ||
        std::max(a.y(), b.y()) < visible.top() || std::min(a.y(), b.y()) > visible.bottom())
        return;
    // Edges beyond the margin are moved a further margin out, so they never show inside.
    const QRectF outer = visible.adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
    const auto inX = [&](double x) { return std::clamp(x, outer.left(), outer.right()); };
    const auto inY = [&](double y) { return std::clamp(y, outer.top(), outer.bottom()); };
    const QRectF r = QRectF(QPointF(inX(a.x()), inY(a.y())), QPointF(inX(b.x()), inY(b.y()))).normalized();
    Figure f = drawn(FigureKind::Box, colour);
    f.a = r.topLeft();
    f.b = r.bottomRight();
    f.fill = colour;
    f.filled = filled;
    draw(f);
}

void PlotSurface::renderShape(const Figure& f) {
    const Stack stack = StackOf(f.width, ratio_);
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

bool PlotSurface::Box(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!usable(x1, y1) || !usable(x2, y2)) return false;
    drawBox(x1, y1, x2, y2, colour, false);
    return true;
}

bool PlotSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!usable(x1, y1) || !usable(x2, y2)) return false;
    drawBox(x1, y1, x2, y2, colour, true);
    return true;
}

bool PlotSurface::Circle(double x, double y, double radius, Rgb colour) {
    if (!usable(x, y) || !FitsSingle(radius)) return false;
    // The radius is measured in horizontal user units, so circles stay round on screen.
    const double r = std::fabs(static_cast<double>(static_cast<float>(radius)) / scaleWidth_) * size_.width();
    if (r > 1e6) return false;
    currentX_ = static_cast<float>(x);
    currentY_ = static_cast<float>(y);
    const QPointF c = pixelOf(currentX_, currentY_);
    const QRectF bounds(c.x() - r, c.y() - r, 2 * r, 2 * r);
    if (!bounds.adjusted(-drawWidth_, -drawWidth_, drawWidth_, drawWidth_).intersects(clipArea())) return true;
    Figure f = drawn(FigureKind::Circle, colour);
    f.a = c;
    f.b = QPointF(r, 0);
    f.fill = fillColor_;
    f.filled = fillStyle_ == FillStyle::Solid;
    draw(f);
    return true;
}

void PlotSurface::Print(const std::string& text) {
    if (!scaled_) return;
    const QFont& font = labelFont();
    const QPointF at = pixelOf(currentX_, currentY_);
    if (std::fabs(at.x()) < 1e6 && std::fabs(at.y()) < 1e6) {
        const QString s = QString::fromStdString(text);
        labels_.push_back({s, font, labelFontVersion_});
        Figure f;
        f.kind = FigureKind::Text;
        f.a = at;
        f.b = QPointF(labelMetrics_->horizontalAdvance(s) + 2, labelMetrics_->height());
        f.colour = foreColor_;
        f.label = static_cast<int>(labels_.size()) - 1;
        draw(f);
        if (!kept_) labels_.clear();
    }
    // The next print starts at the left edge of the following line.
    currentX_ = scaleLeft_;
    currentY_ += static_cast<float>(labelMetrics_->height() / size_.height()) * scaleHeight_;
}

void PlotSurface::Print(double number) {
    const std::string text = GeneralText(number);
    Print((number < 0 ? "" : " ") + text + " ");
}

void PlotSurface::renderText(const Figure& f) {
    flushRun();
    const Label& label = labels_[static_cast<std::size_t>(f.label)];
    Canvas& c = canvas();
    c.mode(QPainter::CompositionMode_SourceOver);
    c.font(label.font, label.fontVersion);
    c.pen(f.colour, 1);
    // Laid out in logical pixels, rendered at the device's resolution.
    if (ratio_ != 1) c.painter.setWorldTransform(QTransform::fromScale(ratio_, ratio_));
    c.painter.drawText(QRectF(f.a, QSizeF(f.b.x(), f.b.y())), Qt::AlignLeft | Qt::AlignTop, label.text);
    if (ratio_ != 1) c.painter.resetTransform();
}

// The plot on a screen of another ratio: every figure kept is drawn again at the new
// ratio. Only when they were given up is the old image scaled.
void PlotSurface::adoptRatio(qreal ratio) {
    ratio = UsableRatio(ratio);
    if (ratio == ratio_) return;
    endPainting();
    const QSize device(static_cast<int>(std::lround(size_.width() * ratio)),
                       static_cast<int>(std::lround(size_.height() * ratio)));
    if (!kept_) {
        image_ = image_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ratio_ = ratio;
        scheduleUpdate();
        return;
    }
    ratio_ = ratio;
    image_ = QImage(device, QImage::Format_RGB32);
    image_.fill(background_);
    for (const Figure& f : figures_) render(f);
    endPainting();
    scheduleUpdate();
}

bool PlotSurface::event(QEvent* event) {
    // A surface made before its window was placed learns its screen when shown; a window
    // that moves to another screen tells each of its widgets.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
        adoptRatio(devicePixelRatioF());
        break;
    default: break;
    }
    return QWidget::event(event);
}

void PlotSurface::paintEvent(QPaintEvent*) {
    updateScheduled_ = false;
    adoptRatio(devicePixelRatioF());
    endPainting();
    QPainter p(this);
    // Device pixel for device pixel: the image has exactly the pixels of the widget.
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(size_)), image_);
}

void PlotSurface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) labelFont_.reset();
    QWidget::changeEvent(event);
}

bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom) {
    return surface.setScale(left, top, right - left, bottom - top);
}

}  // namespace kv
