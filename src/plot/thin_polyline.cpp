#include "plot/thin_polyline.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

namespace kv {
namespace {

// Coordinates are taken in 26.6 fixed point, truncated; the step along a line in 16.16.
using Fixed16 = std::int64_t;
int ToFixed6(double v) { return static_cast<int>(v * 64.); }
Fixed16 FixedDiv(int x, int y) { return Fixed16(x) * (1 << 16) / y; }

enum Caps { kNoCaps = 0, kCapBegin = 1, kCapEnd = 2 };
int SwapCaps(int caps) { return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1); }

// The direction of the last line that lit pixels, which decides whether the next one
// starts with a cap, repeats a pixel or leaves one out.
enum Direction { kNone = 0, kTopToBottom = 1, kBottomToTop = 2, kLeftToRight = 4, kRightToLeft = 8 };
constexpr int kVerticalMask = 3, kHorizontalMask = 12;

struct Pixel {
    int x = INT_MIN, y = INT_MIN;
};

// Which copies of each pixel are lit: moved by k (dx, dy) for k in first..last.
struct Copies {
    int first, last, dx, dy;
};

class Stroker {
public:
    Stroker(QImage& image, QRgb colour, Copies copies = {0, 0, 0, 0})
        : copies_(copies),
          pixels_(reinterpret_cast<quint32*>(image.bits())),
          stride_(static_cast<int>(image.bytesPerLine() / 4)),
          right_(image.width() - 1),
          bottom_(image.height() - 1),
          colour_(colour | 0xff000000u),
          xmax_(right_ + 2),
          ymax_(bottom_ + 2) {}

    // A polyline's point, with what its segments need of it.
    struct End {
        double x, y;
        int fx, fy;   // in 26.6
        bool inside;  // within the bounds lines are trimmed to: a segment between two such is kept whole
    };
    // Whether a coordinate lies within the bounds lines are trimmed to, across (y) or along.
    bool within(double v, bool y) const { return y ? v >= ymin_ && v <= ymax_ : v >= xmin_ && v <= xmax_; }

    End end(QPointF p) const {
        const bool inside = p.x() >= xmin_ && p.x() <= xmax_ && p.y() >= ymin_ && p.y() <= ymax_;
        return {p.x(), p.y(), inside ? ToFixed6(p.x()) : 0, inside ? ToFixed6(p.y()) : 0, inside};
    }

    // One segment; whether it drew (or lies wholly outside): a polyline's next segment
    // starts from the end of the last one that did.
    bool line(const End& p, const End& q, int caps) {
        if (p.inside && q.inside) return fixed(p.fx, p.fy, q.fx, q.fy, caps) || long1(p.x, p.y, q.x, q.y);
        double x1 = p.x, y1 = p.y, x2 = q.x, y2 = q.y;
        if (clip(x1, y1, x2, y2)) return true;
        return fixed(ToFixed6(x1), ToFixed6(y1), ToFixed6(x2), ToFixed6(y2), caps) || long1(p.x, p.y, q.x, q.y);
    }

    // Whether a segment between two points within the bounds, without caps, is one that
    // lights no pixel and changes nothing: what line() finds for most of a curve's
    // segments, found with less work.
    bool passesOver(const End& p, const End& q) const {
        if (!p.inside || !q.inside) return false;
        const int dx = std::abs(q.fx - p.fx), dy = std::abs(q.fy - p.fy);
        const bool vertical = dx < dy;
        if (!vertical && dx == 0) return false;
        const int a1 = vertical ? p.fy : p.fx, a2 = vertical ? q.fy : q.fx;
        const int dir = vertical ? (a1 > a2 ? kBottomToTop : kTopToBottom) : (a1 > a2 ? kRightToLeft : kLeftToRight);
        // Turning back along the same axis gives the line a cap.
        if ((lastDir_ ^ (vertical ? kVerticalMask : kHorizontalMask)) == dir) return false;
        return ((std::min(a1, a2) + 32) >> 6) == ((std::max(a1, a2) + 32) >> 6);
    }
    static bool Long(const End& p, const End& q) { return long1(p.x, p.y, q.x, q.y); }

private:
    // A segment at least a pixel long counts as drawn even when it lights nothing.
    static bool long1(double x1, double y1, double x2, double y2) { return std::fabs(x2 - x1) + std::fabs(y2 - y1) >= 1.0; }

    // Whether the segment, trimmed and in 26.6, lit pixels (or is a single point).
    bool fixed(int x1, int y1, int x2, int y2, int caps) {
        const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
        if (dx < dy) return major<true>(y1, x1, y2, x2, caps);
        if (dx == 0) return true;
        return major<false>(x1, y1, x2, y2, caps);
    }

    // A line along its major axis `a`, `b` the other one; vertical when `Vertical`.
    template <bool Vertical>
    bool major(int a1, int b1, int a2, int b2, int caps) {
        int dir = Vertical ? kTopToBottom : kLeftToRight;
        bool swapped = false;
        if (a1 > a2) {
            swapped = true;
            std::swap(a1, a2);
            std::swap(b1, b2);
            caps = SwapCaps(caps);
            dir = Vertical ? kBottomToTop : kRightToLeft;
        }
        // The step is taken along the line as given, before the caps lengthen it.
        const int spanA = a2 - a1, spanB = b2 - b1;
        if ((lastDir_ ^ (Vertical ? kVerticalMask : kHorizontalMask)) == dir) caps |= swapped ? kCapEnd : kCapBegin;
        // A cap reaches half a pixel on.
        if (caps & kCapBegin) a1 -= 32;
        if (caps & kCapEnd) a2 += 32;
        int a = (a1 + 32) >> 6;
        int as = (a2 + 32) >> 6;
        const int lastA = Vertical ? lastPixel_.y : lastPixel_.x;
        if ((caps & kCapBegin) && lastA == a + 1) a++;
        if (a == as) return false;  // lights no pixel and changes nothing

        const Fixed16 inc = FixedDiv(spanB, spanA);
        Fixed16 b = Fixed16(b1) * (1 << 10);
        if (caps & kCapBegin) b -= inc >> 1;
        const int round = inc > 0 ? 32 : 0;
        b += ((a * (1 << 6)) + round - a1) * inc >> 6;

        // The first and last pixels, and what keeps a pixel from being drawn twice or left
        // out where two lines meet.
        Pixel first = at<Vertical>(a, static_cast<int>(b >> 16));
        Pixel last = at<Vertical>(as - 1, static_cast<int>((b + (as - a - 1) * inc) >> 16));
        if (swapped) std::swap(first, last);
        const bool axisAligned = std::abs(inc) < (1 << 14);
        if (lastPixel_.x > INT_MIN) {
            if (first.x == lastPixel_.x && first.y == lastPixel_.y) {
                if (swapped) {
                    --as;
                } else {
                    ++a;
                    b += inc;
                }
            } else if (lastDir_ != dir && (((axisAligned && lastAxisAligned_) && lastPixel_.x != first.x &&
                                            lastPixel_.y != first.y) ||
                                           (std::abs(lastPixel_.x - first.x) > 1 || std::abs(lastPixel_.y - first.y) > 1))) {
                if (swapped) {
                    ++as;
                } else {
                    --a;
                    b -= inc;
                }
            } else if (lastDir_ == dir &&
                       (std::abs(lastPixel_.x - first.x) <= 1 && std::abs(lastPixel_.y - first.y) > 1)) {
                b += inc >> 1;
                const int lastB = static_cast<int>(swapped ? b >> 16 : (b + (as - a - 1) * inc) >> 16);
                (Vertical ? last.x : last.y) = lastB;
            }
        }
        lastDir_ = dir;
        lastAxisAligned_ = axisAligned;
        do {
            const Pixel p = at<Vertical>(a, static_cast<int>(b >> 16));
            plot(p.x, p.y);
            b += inc;
        } while (++a < as);
        lastPixel_ = last;
        return true;
    }

    template <bool Vertical>
    static Pixel at(int a, int b) {
        return Vertical ? Pixel{b, a} : Pixel{a, b};
    }

    void plot(int x, int y) {
        for (int k = copies_.first; k <= copies_.last; ++k) {
            const int cx = x + k * copies_.dx, cy = y + k * copies_.dy;
            if (cx < 0 || cx > right_ || cy < 0 || cy > bottom_) continue;
            pixels_[cx + stride_ * cy] = colour_;
        }
    }

    // Trims the line to a pixel beyond the image; true when nothing of it is left.
    bool clip(double& x1, double& y1, double& x2, double& y2) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return true;
        if (x1 < xmin_) {
            if (x2 <= xmin_) return clipped();
            y1 += (y2 - y1) / (x2 - x1) * (xmin_ - x1);
            x1 = xmin_;
        } else if (x1 > xmax_) {
            if (x2 >= xmax_) return clipped();
            y1 += (y2 - y1) / (x2 - x1) * (xmax_ - x1);
            x1 = xmax_;
        }
        if (x2 < xmin_) {
            lastPixel_.x = INT_MIN;
            y2 += (y2 - y1) / (x2 - x1) * (xmin_ - x2);
            x2 = xmin_;
        } else if (x2 > xmax_) {
            lastPixel_.x = INT_MIN;
            y2 += (y2 - y1) / (x2 - x1) * (xmax_ - x2);
            x2 = xmax_;
        }
        if (y1 < ymin_) {
            if (y2 <= ymin_) return clipped();
            x1 += (x2 - x1) / (y2 - y1) * (ymin_ - y1);
            y1 = ymin_;
        } else if (y1 > ymax_) {
            if (y2 >= ymax_) return clipped();
            x1 += (x2 - x1) / (y2 - y1) * (ymax_ - y1);
            y1 = ymax_;
        }
        if (y2 < ymin_) {
            lastPixel_.x = INT_MIN;
            x2 += (x2 - x1) / (y2 - y1) * (ymin_ - y2);
            y2 = ymin_;
        } else if (y2 > ymax_) {
            lastPixel_.x = INT_MIN;
            x2 += (x2 - x1) / (y2 - y1) * (ymax_ - y2);
            y2 = ymax_;
        }
        return false;
    }
    bool clipped() {
        lastPixel_.x = INT_MIN;
        return true;
    }

    Copies copies_;
    quint32* pixels_;
    int stride_, right_, bottom_;
    quint32 colour_;
    double xmin_ = -1, xmax_, ymin_ = -1, ymax_;
    int lastDir_ = kNone;
    Pixel lastPixel_;
    bool lastAxisAligned_ = false;
};

// One pass of the stroker over points[0..count) each moved by `offset`.
void Stroke(Stroker& s, const QPointF* points, int count, QPointF offset) {
    Stroker::End p = s.end(points[0] + offset);
    int caps = kCapBegin;
    for (int i = 1; i < count; ++i) {
        const Stroker::End q = s.end(points[i] + offset);
        const bool last = i == count - 1;
        if (last) caps |= kCapEnd;
        // A segment that lights nothing is passed over: the next one starts where it did.
        const bool drew = i > 1 && !last && s.passesOver(p, q) ? Stroker::Long(p, q) : s.line(p, q, caps);
        if (drew || i == 1 || last) p = q;
        caps = kNoCaps;
    }
}

// Whether the polyline moved by k (0, 1) (or k (1, 0)) for each k in first..last lights
// exactly the pixels of the polyline itself moved by k pixels. It does when every moved
// coordinate is the exact sum (so its 26.6 value is the unmoved one plus 64 k, every
// difference between points is unchanged, and the stroker's integer arithmetic follows
// along) and no point lies where lines are trimmed.
bool Translates(const Stroker& s, const QPointF* points, int count, bool alongY, int first, int last) {
    const int far = std::max(-first, last);
    const double lo = std::min(first, 0), hi = std::max(last, 0);
    for (int i = 0; i < count; ++i) {
        const double v = alongY ? points[i].y() : points[i].x(), u = alongY ? points[i].x() : points[i].y();
        // Below the largest move the sum could change sign, and Fast2Sum's exactness test
        // needs |v| >= |k|.
        if (!(v >= far) || !s.within(u, !alongY) || !s.within(v + lo, alongY) || !s.within(v + hi, alongY)) return false;
        for (int k = first; k <= last; ++k)
            if ((v + k) - v != k) return false;
    }
    return true;
}

}  // namespace

bool DrawThinPolylines(QImage& image, const QPointF* points, int count, QPointF step, int first, int last, QRgb colour) {
    if (count < 2 || first > last || image.format() != QImage::Format_RGB32) return false;
    const bool alongY = step.y() != 0;
    if (step != QPointF(0, 1) && step != QPointF(1, 0)) return false;
    // A closed polyline starts with a join to its last segment: left to QPainter.
    for (int k = first; k <= last; ++k) {
        const QPointF start = points[0] + step * k, end = points[count - 1] + step * k;
        if (start.x() == end.x() && start.y() == end.y()) return false;
    }
    {
        Stroker once(image, colour, {first, last, alongY ? 0 : 1, alongY ? 1 : 0});
        if (Translates(once, points, count, alongY, first, last)) {
            Stroke(once, points, count, {});
            return true;
        }
    }
    for (int k = first; k <= last; ++k) {
        Stroker s(image, colour);
        Stroke(s, points, count, step * k);
    }
    return true;
}

bool DrawThinPolyline(QImage& image, const QPointF* points, int count, QPointF offset, QRgb colour) {
    if (count < 2 || image.format() != QImage::Format_RGB32) return false;
    const QPointF start = points[0] + offset, end = points[count - 1] + offset;
    if (start.x() == end.x() && start.y() == end.y()) return false;
    Stroker s(image, colour);
    Stroke(s, points, count, offset);
    return true;
}

}  // namespace kv
