#include "kit/state_graph.h"

#include <QPainter>

#include "kit/controls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kv {
namespace {

// Colours of the pictures themselves (not of any control).
const QColor kGround(240, 255, 240);
const QColor kStateFill(190, 240, 190);
const QColor kStateEdge(0, 110, 0);
const QColor kArrow(0, 0, 140);

// A loop's circle: its radius this share of its state's unless the look sets it, its centre
// beyond the state's edge by this share of its own radius.
constexpr double kLoopRadius = 0.9, kLoopReach = 2.0 / 3;

// An arrowhead whose tip is at `tip`, pointing away from `from`.
QPolygonF Head(QPointF tip, QPointF from) {
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0) return {};
    const QPointF u = d / len, n(-u.y(), u.x());
    const double s = 9;
    return {tip, tip - u * s + n * (s * 0.45), tip - u * s - n * (s * 0.45)};
}

// The control point of a quadratic curve from s to e.
QPointF Control(QPointF s, QPointF e, double bend) {
    const QPointF d = e - s;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0) return s;
    const QPointF n(-d.y() / len, d.x() / len);
    return (s + e) / 2 + n * (bend * len);
}

// Unit vector of a loop's direction, in screen coordinates (y grows downwards).
QPointF LoopDirection(const GraphArc& a) {
    const double rad = a.loopAngle * std::numbers::pi / 180;
    return QPointF(std::cos(rad), -std::sin(rad));
}

struct Curve {
    QPointF start, control, end;
};

// A curve arc from the edge of its first circle to the edge of its second, along the
// curve's tangents.
// `radii` are the states' ellipse radii (both StateRadius for circles).
Curve ArcCurve(const StateGraph& g, const QRectF& area, const GraphArc& a, QSizeF radii) {
    const QPointF s = StatePoint(g, area, a.from), e = StatePoint(g, area, a.to);
    const QPointF ctrl = Control(s, e, a.bend);
    auto edge = [&](QPointF centre, QPointF toward) {
        const QPointF v = toward - centre;
        return centre + v / std::hypot(v.x() / radii.width(), v.y() / radii.height());
    };
    return {edge(s, ctrl), ctrl, edge(e, ctrl)};
}

// The states' ellipse radii: circles of StateRadius unless the look sets them.
QSizeF Radii(const QRectF& area, const GraphLook& look) {
    const double r = StateRadius(area);
    return look.stateRadii.isEmpty() ? QSizeF(r, r) : look.stateRadii;
}

// A loop's circle and the two points where it crosses its state's edge: it leaves on one side
// of its axis and comes back in on the other, where its head is.
struct Loop {
    QPointF centre;
    double radius;
    QPointF leave, enter;
    QPointF axis;  // unit vector from the state's centre to the loop's
};

Loop LoopOf(const StateGraph& g, const QRectF& area, const GraphArc& a, const GraphLook& look) {
    const QSizeF radii = Radii(area, look);
    const QPointF c = StatePoint(g, area, a.from), u = LoopDirection(a), n(-u.y(), u.x());
    const double r = 1 / std::hypot(u.x() / radii.width(), u.y() / radii.height());  // the state's reach along u
    const double lr = look.loopRadius > 0 ? look.loopRadius : kLoopRadius * r;
    const double d = r + kLoopReach * lr;
    // The circles cross `along` out on the axis, `across` to either side of it.
    const double along = (d * d + r * r - lr * lr) / (2 * d);
    const double across = std::sqrt(std::max(0.0, r * r - along * along));
    return {c + u * d, lr, c + u * along - n * across, c + u * along + n * across, u};
}

}  // namespace

QPointF StatePoint(const StateGraph& g, const QRectF& area, int i) {
    const QPointF s = g.states.at(static_cast<std::size_t>(i));
    return QPointF(area.left() + s.x() * area.width(), area.top() + s.y() * area.height());
}

double StateRadius(const QRectF& area) { return std::min(area.width(), area.height()) * 0.075; }

QPointF ArcPoint(const StateGraph& g, const QRectF& area, int a, double t) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    const QPointF s = StatePoint(g, area, arc.from), e = StatePoint(g, area, arc.to);
    return (1 - t) * (1 - t) * s + 2 * t * (1 - t) * Control(s, e, arc.bend) + t * t * e;
}

QPointF ArcMiddle(const StateGraph& g, const QRectF& area, int a, const GraphLook& look) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    if (arc.from == arc.to) return LoopOf(g, area, arc, look).centre;
    return ArcPoint(g, area, a, 0.5);
}

QPainterPath ArcPath(const StateGraph& g, const QRectF& area, int a, const GraphLook& look) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    QPainterPath path;
    if (arc.from == arc.to) {
        // The far side of the loop's circle, from where it leaves its state round to where it
        // comes back in: the longer way between the two.
        const Loop l = LoopOf(g, area, arc, look);
        const QRectF square(l.centre - QPointF(l.radius, l.radius), QSizeF(2 * l.radius, 2 * l.radius));
        auto angle = [&](QPointF p) { return std::atan2(l.centre.y() - p.y(), p.x() - l.centre.x()) * 180 / std::numbers::pi; };
        double sweep = std::fmod(angle(l.enter) - angle(l.leave), 360.0);
        if (std::abs(sweep) < 180) sweep -= std::copysign(360.0, sweep);
        path.arcMoveTo(square, angle(l.leave));
        path.arcTo(square, angle(l.leave), sweep);
        return path;
    }
    const Curve c = ArcCurve(g, area, arc, Radii(area, look));
    path.moveTo(c.start);
    path.quadTo(c.control, c.end);
    return path;
}

std::vector<QPolygonF> ArcHeads(const StateGraph& g, const QRectF& area, int a, const GraphLook& look) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    if (arc.from == arc.to) {
        // Along the loop's tangent where it comes back in, heading into the state.
        const Loop l = LoopOf(g, area, arc, look);
        const QPointF w = l.enter - l.centre;
        QPointF t(-w.y(), w.x());
        if (QPointF::dotProduct(t, l.axis) > 0) t = -t;
        return {Head(l.enter, l.enter - t)};
    }
    const Curve c = ArcCurve(g, area, arc, Radii(area, look));
    std::vector<QPolygonF> heads{Head(c.end, c.control)};
    if (look.doubleHeaded) heads.push_back(Head(c.start, c.control));
    return heads;
}

void DrawStateGraph(QPainter& p, const QRectF& area, const StateGraph& g, const GraphLook& look) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, kGround);
    const QSizeF radii = Radii(area, look);

    p.setPen(QPen(kArrow, 2));
    for (std::size_t i = 0; i < g.arcs.size(); ++i) {
        const int index = static_cast<int>(i);
        p.drawPath(ArcPath(g, area, index, look));
        p.setBrush(kArrow);
        for (const QPolygonF& head : ArcHeads(g, area, index, look)) p.drawPolygon(head);
        p.setBrush(Qt::NoBrush);
    }

    p.setPen(QPen(kStateEdge, 2));
    p.setBrush(kStateFill);
    for (std::size_t i = 0; i < g.states.size(); ++i)
        p.drawEllipse(StatePoint(g, area, static_cast<int>(i)), radii.width(), radii.height());
}

StateGraphView::StateGraphView(QWidget* parent, StateGraph graph, QSize size, GraphLook look)
    : QWidget(parent), graph_(std::move(graph)), look_(look) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the ground covers it whole: nothing beneath to paint
}

void StateGraphView::paintEvent(QPaintEvent*) {
    // The boxes laid over the picture repaint it beneath them whenever their text changes:
    // at every step of a run. Stroking every curve again for that costs far more than the
    // step, so the picture is drawn once for its size and pixel ratio and then copied.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(kGround);
        QPainter draw(&picture_);
        DrawStateGraph(draw, area(), graph_, look_);
    }
    QPainter p(this);
    p.drawImage(QPointF(0, 0), picture_);
}

QStringList GraphTabFlow(const StateGraph& g, const std::vector<int>& order, const QString& stateBox, const QString& arcBox,
                         bool directed) {
    std::vector<std::size_t> place(g.states.size());
    for (std::size_t p = 0; p < order.size(); ++p) place.at(static_cast<std::size_t>(order[p])) = p;
    const auto later = [&](int than, int state) {
        return place.at(static_cast<std::size_t>(state)) > place.at(static_cast<std::size_t>(than));
    };
    QStringList flow;
    for (int s : order) {
        flow << ArrayName(stateBox, s);
        for (std::size_t a = 0; a < g.arcs.size(); ++a) {
            const GraphArc& arc = g.arcs[a];
            const bool taken =
                directed ? arc.from == s : (arc.from == s && later(s, arc.to)) || (arc.to == s && later(s, arc.from));
            if (taken) flow << ArrayName(arcBox, static_cast<int>(a));
        }
    }
    return flow;
}

}  // namespace kv
