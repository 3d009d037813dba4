#include "plot/PlotSurface.h"

#include <QPainter>
#include <QPen>

#include <cfloat>
#include <algorithm>
#include <cmath>

#include "plot/numtext.h"
#include "plot/qt_forms.h"

namespace kv {
namespace {

bool FitsSingle(double v) { return std::isfinite(v) && std::fabs(v) <= FLT_MAX; }

// The raster engine misdraws pixel coordinates near the int range, and what lies beyond
// the edge is invisible anyway: figures are trimmed this far outside the image.
constexpr qreal kClipMargin = 16;

// Liang-Barsky: trims the segment to the rectangle; false when nothing of it is inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const qreal dx = b.x() - a.x(), dy = b.y() - a.y();
    qreal t0 = 0, t1 = 1;
    const qreal p[4] = {-dx, dx, -dy, dy};
    const qreal q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const qreal t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    if (t1 < 1) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    if (t0 > 0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    return true;
}

}  // namespace

PlotSurface::PlotSurface(QWidget* parent, QSize pixels)
    : QWidget(parent), image_(pixels, QImage::Format_RGB32) {
    setFixedSize(pixels);
    image_.fill(background_);
}

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
    if (std::isfinite(points) && points > 0 && points < 1000) fontSize_ = points;
}

QPointF PlotSurface::toPixel(float x, float y) const {
    return {(x - scaleLeft_) / scaleWidth_ * static_cast<float>(image_.width()),
            (y - scaleTop_) / scaleHeight_ * static_cast<float>(image_.height())};
}

bool PlotSurface::usable(double x, double y) const { return scaled_ && FitsSingle(x) && FitsSingle(y); }

QRectF PlotSurface::clipArea() const {
    return QRectF(-kClipMargin, -kClipMargin, image_.width() + 2 * kClipMargin, image_.height() + 2 * kClipMargin);
}

QPainter& PlotSurface::painter() {
    // One painter stays open across operations: opening one per segment would dominate
    // the cost of a 4000-segment curve. It is closed before anyone reads the image.
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);  // XOR twice must restore every pixel
    }
    return *painter_;
}

void PlotSurface::endPainting() const { painter_.reset(); }

const QImage& PlotSurface::image() const {
    endPainting();
    return image_;
}

void PlotSurface::preparePainter(QPainter& p, Rgb colour) const {
    p.setCompositionMode(drawMode_ == kXorPen ? QPainter::RasterOp_SourceXorDestination
                                              : QPainter::CompositionMode_SourceOver);
    p.setBrush(Qt::NoBrush);
    QPen pen(ToQColor(colour));
    pen.setWidth(drawWidth_);
    pen.setStyle(drawStyle_ == kDot && drawWidth_ == 1 ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(drawWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
}

void PlotSurface::stroke(const QPointF& a, const QPointF& b, Rgb colour) {
    QPointF pa = a, pb = b;
    if (!ClipSegment(pa, pb, clipArea())) return;
    QPainter& p = painter();
    preparePainter(p, colour);
    if (drawWidth_ > 1 && drawStyle_ == kSolid && pa != pb) {
        // A wide solid line as parallel one-pixel lines stacked across its minor axis:
        // the same pixels as a wide pen, without the path stroker that made a 4000-piece
        // curve cost a large share of a frame. Each pixel is covered once, so XOR still
        // cancels exactly.
        QPen thin = p.pen();
        thin.setWidth(1);
        thin.setCapStyle(Qt::SquareCap);
        p.setPen(thin);
        const bool xMajor = std::fabs(pb.x() - pa.x()) >= std::fabs(pb.y() - pa.y());
        for (int k = -(drawWidth_ - 1) / 2; k <= drawWidth_ / 2; ++k) {
            const QPointF off = xMajor ? QPointF(0, k) : QPointF(k, 0);
            p.drawLine(pa + off, pb + off);
        }
    } else if (pa == pb) {
        p.drawPoint(pa);
    } else {
        p.drawLine(pa, pb);
    }
    update();
}

void PlotSurface::Cls() {
    endPainting();
    image_.fill(background_);
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
    update();
}

bool PlotSurface::Line(double x1, double y1, double x2, double y2, Rgb colour) {
    if (!usable(x1, y1) || !usable(x2, y2)) return false;
    stroke(toPixel(static_cast<float>(x1), static_cast<float>(y1)),
           toPixel(static_cast<float>(x2), static_cast<float>(y2)), colour);
    currentX_ = static_cast<float>(x2);
    currentY_ = static_cast<float>(y2);
    return true;
}

bool PlotSurface::LineTo(double x2, double y2, Rgb colour) { return Line(currentX_, currentY_, x2, y2, colour); }

void PlotSurface::drawBox(double x1, double y1, double x2, double y2, Rgb colour, bool filled) {
    const QPointF a = toPixel(static_cast<float>(x1), static_cast<float>(y1));
    const QPointF b = toPixel(static_cast<float>(x2), static_cast<float>(y2));
    QPainter& p = painter();
    preparePainter(p, colour);
    if (filled) p.setBrush(ToQColor(colour));
    // Trimmed edges land a further margin out, so they never show inside the image.
    const QRectF visible = clipArea();
    const QRectF r = QRectF(a, b).normalized();
    if (r.intersects(visible) || r.width() == 0 || r.height() == 0)
        p.drawRect(r.intersected(visible.adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin)));
    currentX_ = static_cast<float>(x2);
    currentY_ = static_cast<float>(y2);
    update();
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
    const QPointF c = toPixel(static_cast<float>(x), static_cast<float>(y));
    // The radius is measured in horizontal user units, so circles stay round on screen.
    const qreal r = std::fabs(static_cast<float>(radius) / scaleWidth_) * image_.width();
    if (r > 1e6) return false;
    QPainter& p = painter();
    preparePainter(p, colour);
    if (fillStyle_ == kFillSolid) p.setBrush(ToQColor(fillColor_));
    p.drawEllipse(c, r, r);
    currentX_ = static_cast<float>(x);
    currentY_ = static_cast<float>(y);
    update();
    return true;
}

void PlotSurface::Print(const std::string& text) {
    if (!scaled_) return;
    QFont f = font();
    if (fontSize_ > 0) f.setPointSizeF(fontSize_);
    const QPointF at = toPixel(currentX_, currentY_);
    QPainter& p = painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setFont(f);
    p.setPen(ToQColor(foreColor_));
    const QString s = QString::fromStdString(text);
    const QFontMetricsF fm(f);
    if (std::fabs(at.x()) < 1e6 && std::fabs(at.y()) < 1e6)
        p.drawText(QRectF(at, QSizeF(fm.horizontalAdvance(s) + 2, fm.height())), Qt::AlignLeft | Qt::AlignTop, s);
    // The next print starts at the left edge of the following line.
    currentX_ = scaleLeft_;
    currentY_ += static_cast<float>(fm.height() / image_.height()) * scaleHeight_;
    update();
}

void PlotSurface::Print(double number) {
    const std::string text = GeneralText(number);
    Print((number < 0 ? "" : " ") + text + " ");
}

void PlotSurface::paintEvent(QPaintEvent*) {
    endPainting();
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom) {
    return surface.setScale(left, top, right - left, bottom - top);
}

}  // namespace kv
