#include "plot/PlotSurface.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <bit>
#include <cstdint>
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

// Ratios beyond any real screen would only cost memory.
constexpr qreal kMinRatio = 0.25, kMaxRatio = 4;
qreal UsableRatio(qreal ratio) { return std::isfinite(ratio) ? std::clamp(ratio, kMinRatio, kMaxRatio) : 1.0; }

}  // namespace

PlotSurface::PlotSurface(QWidget* parent, QSize pixels)
    : QWidget(parent), size_(pixels), renderer_(pixels, UsableRatio(devicePixelRatioF()), background_) {
    setFixedSize(pixels);
    // The image covers every pixel of the widget: what lies under it need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    endKnown_ = false;
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

// Laying a label out is the dearest part of printing it; a plot redrawn prints the same few.
qreal PlotSurface::advance(const QString& text) {
    if (advanceFontVersion_ != labelFontVersion_) {
        advances_.clear();
        advanceFontVersion_ = labelFontVersion_;
    }
    const auto known = advances_.constFind(text);
    if (known != advances_.constEnd()) return *known;
    if (advances_.size() > 256) advances_.clear();
    return advances_[text] = labelMetrics_->horizontalAdvance(text);
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

void PlotSurface::flush() const {
    endPath();
    renderer_.flush();
}

const QImage& PlotSurface::image() const {
    endPath();
    return renderer_.image();
}

void PlotSurface::endPath() const {
    if (path_.empty()) return;
    renderer_.renderPath(pathPen_, path_);
    figures_.keep(pathPen_, path_);
    path_.clear();
}

void PlotSurface::scheduleUpdate() {
    // One repaint request per burst of drawing; the paint event takes whatever is drawn by then.
    if (updateScheduled_) return;
    updateScheduled_ = true;
    update();
    // Qt says nothing of a picture drawn anew; a screen reader hears it through this.
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::VisibleDataChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

// A figure in the current pen: its width, mode and style.
Figure PlotSurface::drawn(FigureKind kind, Rgb colour) const {
    Figure f;
    f.kind = kind;
    f.colour = colour;
    f.width = static_cast<std::uint16_t>(std::min(drawWidth_, 0xFFFF));
    f.xorMode = drawMode_ == DrawMode::Xor;
    f.dotted = drawStyle_ == DrawStyle::Dot && drawWidth_ == 1;
    return f;
}

void PlotSurface::draw(const Figure& figure) {
    endPath();
    renderer_.render(figure);
    figures_.keep(figure);
    scheduleUpdate();
}

void PlotSurface::segment(QPointF a, QPointF b, Rgb colour) {
    const QRectF area = clipArea();
    const auto inside = [&](const QPointF& p) {
        return p.x() >= area.left() && p.x() <= area.right() && p.y() >= area.top() && p.y() <= area.bottom();
    };
    // A segment within the area, as a curve's are, needs no trimming.
    if (!(inside(a) && inside(b)) && (!CrossingIsExact(a, b, area) || !ClipSegment(a, b, area))) return;
    if (drawMode_ == DrawMode::Copy && !(drawStyle_ == DrawStyle::Dot && drawWidth_ == 1)) {
        const auto width = static_cast<std::uint16_t>(std::min(drawWidth_, 0xFFFF));
        if (path_.empty() || pathPen_.colour != colour || pathPen_.width != width || !SamePoint(a, path_.back())) {
            endPath();
            pathPen_ = drawn(FigureKind::Path, colour);
            path_.push_back(a);
        }
        path_.push_back(b);
        scheduleUpdate();
        return;
    }
    Figure f = drawn(FigureKind::Segment, colour);
    f.a = a;
    f.b = b;
    draw(f);
}

void PlotSurface::Cls() {
    path_.clear();
    renderer_.clear();
    figures_.clear();
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
    scheduleUpdate();
}

bool PlotSurface::Line(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!usable(x2, y2)) return false;
    // Coordinates are single precision by convention; the pixel arithmetic is not.
    const auto same = [](double u, float v) {
        return FitsSingle(u) && std::bit_cast<std::uint32_t>(static_cast<float>(u)) == std::bit_cast<std::uint32_t>(v);
    };
    // A curve's segment starts where the last one ended: its pixel is known already.
    const bool carriesOn = endKnown_ && same(x1, endX_) && same(y1, endY_);
    if (!carriesOn && !usable(x1, y1)) return false;
    const auto fx1 = static_cast<float>(x1), fy1 = static_cast<float>(y1);
    const auto fx2 = static_cast<float>(x2), fy2 = static_cast<float>(y2);
    const QPointF a = carriesOn ? endPixel_ : pixelOf(fx1, fy1);
    endPixel_ = pixelOf(fx2, fy2);
    endX_ = fx2;
    endY_ = fy2;
    endKnown_ = true;
    segment(a, endPixel_, colour);
    currentX_ = fx2;
    currentY_ = fy2;
    return true;
}

bool PlotSurface::LineTo(double x2, double y2, Rgb colour) {
    // A curve carried on in the pen of its path, from where the path ends, to a point within
    // the area: the segment is only a point more of the path, as Line would find it.
    const auto same = [](float u, float v) { return std::bit_cast<std::uint32_t>(u) == std::bit_cast<std::uint32_t>(v); };
    if (!path_.empty() && endKnown_ && same(currentX_, endX_) && same(currentY_, endY_) && colour == pathPen_.colour &&
        drawMode_ == DrawMode::Copy && drawWidth_ == pathPen_.width && !(drawStyle_ == DrawStyle::Dot && drawWidth_ == 1) &&
        SamePoint(path_.back(), endPixel_) && FitsSingle(x2) && FitsSingle(y2)) {
        const auto fx2 = static_cast<float>(x2), fy2 = static_cast<float>(y2);
        const QPointF b = pixelOf(fx2, fy2);
        // Within clipArea(), its bounds written out: this runs for every point of a curve.
        const qreal w = size_.width(), h = size_.height();
        if (b.x() >= -kClipMargin && b.x() <= w + kClipMargin && b.y() >= -kClipMargin && b.y() <= h + kClipMargin) {
            path_.push_back(b);
            endPixel_ = b;
            endX_ = currentX_ = fx2;
            endY_ = currentY_ = fy2;
            if (!updateScheduled_) scheduleUpdate();
            return true;
        }
    }
    return Line(currentX_, currentY_, x2, y2, colour);
}

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
        const Label label{QString::fromStdString(text), font, labelFontVersion_};
        Figure f;
        f.kind = FigureKind::Text;
        f.a = at;
        f.b = QPointF(advance(label.text) + 2, labelMetrics_->height());
        f.colour = foreColor_;
        endPath();
        renderer_.render(f, &label);
        figures_.keep(f, label);
        scheduleUpdate();
    }
    // The next print starts at the left edge of the following line.
    currentX_ = scaleLeft_;
    currentY_ += static_cast<float>(labelMetrics_->height() / size_.height()) * scaleHeight_;
}

void PlotSurface::Print(double number) {
    const std::string text = GeneralText(number);
    Print((number < 0 ? "" : " ") + text + " ");
}

// The plot on a screen of another ratio: every figure kept is drawn again at the new
// ratio. Only when they were given up is the old image scaled.
void PlotSurface::adoptRatio(qreal ratio) {
    ratio = UsableRatio(ratio);
    if (ratio == renderer_.ratio()) return;
    endPath();
    if (figures_.complete()) renderer_.redraw(ratio, figures_);
    else renderer_.stretch(ratio);
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
    QPainter p(this);
    // Device pixel for device pixel: the image has exactly the pixels of the widget.
    endPath();
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(size_)), renderer_.drawn());
}

void PlotSurface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) labelFont_.reset();
    QWidget::changeEvent(event);
}

bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom) {
    return surface.setScale(left, top, right - left, bottom - top);
}

}  // namespace kv
