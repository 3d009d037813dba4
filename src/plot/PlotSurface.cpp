#include "plot/PlotSurface.h"

#include <QEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cfloat>
#include <cmath>
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

bool XMajor(const QPointF& a, const QPointF& b) { return std::fabs(b.x() - a.x()) >= std::fabs(b.y() - a.y()); }

}  // namespace

// A painter on one image that remembers the pen, brush, mode and font it was last given,
// so that a run of figures in the same state does not rebuild them for each figure.
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
        p.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
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
    void font(const QFont& f, int version) {
        if (fontVersion_ == version) return;
        painter.setFont(f);
        fontVersion_ = version;
    }

    // One segment in a pen `width` pixels wide. A wide line is drawn as parallel one-pixel
    // lines stacked across its minor axis: the pixels of a wide pen, each covered once.
    void segment(const QPointF& a, const QPointF& b, Rgb colour, int width, bool dotted) {
        if (a == b) {
            pen(colour, width);
            painter.drawPoint(a);
        } else if (width == 1) {
            pen(colour, 1, dotted ? Qt::DotLine : Qt::SolidLine);
            painter.drawLine(a, b);
        } else {
            pen(colour, 1);
            const bool xMajor = XMajor(a, b);
            for (int k = -(width - 1) / 2; k <= width / 2; ++k) {
                const QPointF off = xMajor ? QPointF(0, k) : QPointF(k, 0);
                painter.drawLine(a + off, b + off);
            }
        }
    }

    // A solid polyline of distinct consecutive points, with the pixels of its segments
    // drawn one by one: each stretch whose segments share a major axis is stacked as
    // one-pixel polylines, which the raster engine draws far faster than a wide pen.
    void polyline(const std::vector<QPointF>& points, Rgb colour, int width) {
        pen(colour, 1);
        const auto draw = [this](const QPointF* p, std::size_t n) { painter.drawPolyline(p, static_cast<int>(n)); };
        if (width == 1) {
            draw(points.data(), points.size());
            return;
        }
        for (std::size_t start = 0; start + 1 < points.size();) {
            const bool xMajor = XMajor(points[start], points[start + 1]);
            std::size_t end = start + 1;
            while (end + 1 < points.size() && XMajor(points[end], points[end + 1]) == xMajor) ++end;
            for (int k = -(width - 1) / 2; k <= width / 2; ++k) {
                const QPointF off = xMajor ? QPointF(0, k) : QPointF(k, 0);
                shifted_.clear();
                for (std::size_t i = start; i <= end; ++i) shifted_.push_back(points[i] + off);
                draw(shifted_.data(), shifted_.size());
            }
            start = end;
        }
    }

    QPainter painter;

private:
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
    std::vector<QPointF> shifted_;
};

PlotSurface::PlotSurface(QWidget* parent, QSize pixels)
    : QWidget(parent), image_(pixels, QImage::Format_RGB32) {
    setFixedSize(pixels);
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
    return {(x - scaleLeft_) / scaleWidth_ * image_.width(), (y - scaleTop_) / scaleHeight_ * image_.height()};
}

bool PlotSurface::usable(double x, double y) const { return scaled_ && FitsSingle(x) && FitsSingle(y); }

QRectF PlotSurface::clipArea() const {
    return QRectF(-kClipMargin, -kClipMargin, image_.width() + 2 * kClipMargin, image_.height() + 2 * kClipMargin);
}

PlotSurface::Canvas& PlotSurface::canvas() const {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(&image_);
    return *canvas_;
}

void PlotSurface::flushRun() const {
    if (runSegments_ > 0) {
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        if (runSegments_ == 1) c.segment(run_.front(), run_.back(), runColour_, runWidth_, false);
        else c.polyline(run_, runColour_, runWidth_);
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

// An XOR box or circle is drawn whole into a black image of its bounds and that image
// XORed onto the surface once: where fill and outline overlap, a pixel is still inverted
// only once.
template <typename Draw>
void PlotSurface::drawXor(const QRectF& area, Draw draw) {
    flushRun();
    const qreal reach = drawWidth_ + 1;
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
    scheduleUpdate();
}

void PlotSurface::segment(QPointF a, QPointF b, Rgb colour) {
    const QRectF area = clipArea();
    if (!CrossingIsExact(a, b, area) || !ClipSegment(a, b, area)) return;
    const bool dotted = drawStyle_ == DrawStyle::Dot && drawWidth_ == 1;
    if (drawMode_ == DrawMode::Xor) {
        // Never batched: each segment is its own figure, and its stacked lines cover each
        // pixel once, so it goes straight onto the surface.
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::RasterOp_SourceXorDestination);
        c.segment(a, b, colour, drawWidth_, dotted);
        scheduleUpdate();
        return;
    }
    const auto startRun = [&] {
        run_.push_back(a);
        runColour_ = colour;
        runWidth_ = drawWidth_;
    };
    if (dotted || (a.x() == b.x() && a.y() == b.y())) {
        flushRun();
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        c.segment(a, b, colour, drawWidth_, dotted);
        if (!dotted) startRun();  // a dot also starts a run, as a curve begins with one
    } else {
        // Joins the run when it carries on from its last point in the same pen.
        if (!run_.empty() && (colour != runColour_ || drawWidth_ != runWidth_ || a.x() != run_.back().x() ||
                              a.y() != run_.back().y()))
            flushRun();
        if (run_.empty()) startRun();
        run_.push_back(b);
        ++runSegments_;
    }
    scheduleUpdate();
}

void PlotSurface::Cls() {
    run_.clear();
    runSegments_ = 0;
    canvas_.reset();
    image_.fill(background_);
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
    const auto draw = [&](Canvas& c) {
        c.pen(colour, drawWidth_, drawStyle_ == DrawStyle::Dot && drawWidth_ == 1 ? Qt::DotLine : Qt::SolidLine);
        c.brush(filled ? std::optional<Rgb>(colour) : std::nullopt);
        c.painter.drawRect(r);
    };
    if (drawMode_ == DrawMode::Xor) {
        drawXor(r, draw);
        return;
    }
    flushRun();
    Canvas& c = canvas();
    c.mode(QPainter::CompositionMode_SourceOver);
    draw(c);
    scheduleUpdate();
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
    const double r = std::fabs(static_cast<double>(static_cast<float>(radius)) / scaleWidth_) * image_.width();
    if (r > 1e6) return false;
    currentX_ = static_cast<float>(x);
    currentY_ = static_cast<float>(y);
    const QPointF c = pixelOf(currentX_, currentY_);
    const QRectF bounds(c.x() - r, c.y() - r, 2 * r, 2 * r);
    if (!bounds.adjusted(-drawWidth_, -drawWidth_, drawWidth_, drawWidth_).intersects(clipArea())) return true;
    const auto draw = [&](Canvas& canvas) {
        canvas.pen(colour, drawWidth_, drawStyle_ == DrawStyle::Dot && drawWidth_ == 1 ? Qt::DotLine : Qt::SolidLine);
        canvas.brush(fillStyle_ == FillStyle::Solid ? std::optional<Rgb>(fillColor_) : std::nullopt);
        canvas.painter.drawEllipse(c, r, r);
    };
    if (drawMode_ == DrawMode::Xor) {
        drawXor(bounds, draw);
        return true;
    }
    flushRun();
    Canvas& target = canvas();
    target.mode(QPainter::CompositionMode_SourceOver);
    draw(target);
    scheduleUpdate();
    return true;
}

void PlotSurface::Print(const std::string& text) {
    if (!scaled_) return;
    flushRun();
    const QFont& f = labelFont();
    const QPointF at = pixelOf(currentX_, currentY_);
    if (std::fabs(at.x()) < 1e6 && std::fabs(at.y()) < 1e6) {
        Canvas& c = canvas();
        c.mode(QPainter::CompositionMode_SourceOver);
        c.font(f, labelFontVersion_);
        c.pen(foreColor_, 1);
        const QString s = QString::fromStdString(text);
        c.painter.drawText(QRectF(at, QSizeF(labelMetrics_->horizontalAdvance(s) + 2, labelMetrics_->height())),
                           Qt::AlignLeft | Qt::AlignTop, s);
        scheduleUpdate();
    }
    // The next print starts at the left edge of the following line.
    currentX_ = scaleLeft_;
    currentY_ += static_cast<float>(labelMetrics_->height() / image_.height()) * scaleHeight_;
}

void PlotSurface::Print(double number) {
    const std::string text = GeneralText(number);
    Print((number < 0 ? "" : " ") + text + " ");
}

void PlotSurface::paintEvent(QPaintEvent*) {
    updateScheduled_ = false;
    endPainting();
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PlotSurface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) labelFont_.reset();
    QWidget::changeEvent(event);
}

bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom) {
    return surface.setScale(left, top, right - left, bottom - top);
}

}  // namespace kv
