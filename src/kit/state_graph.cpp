#include "kit/state_graph.h"

#include <QPainter>

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

// A loop's circle: its centre this many state radii out from the state's centre, its own
// radius this share of a state's.
constexpr double kLoopOut = 1.6, kLoopRadius = 0.9;

void ArrowHead(QPainter& p, QPointF tip, QPointF from) {
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0) return;
    const QPointF u = d / len, n(-u.y(), u.x());
    const double s = 9;
    QPolygonF head{tip, tip - u * s + n * (s * 0.45), tip - u * s - n * (s * 0.45)};
    p.setBrush(kArrow);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
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

QPointF ArcMiddle(const StateGraph& g, const QRectF& area, int a) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    if (arc.from == arc.to) return StatePoint(g, area, arc.from) + LoopDirection(arc) * (StateRadius(area) * kLoopOut);
    return ArcPoint(g, area, a, 0.5);
}

QPainterPath ArcPath(const StateGraph& g, const QRectF& area, int a, const GraphLook& look) {
    const GraphArc& arc = g.arcs.at(static_cast<std::size_t>(a));
    QPainterPath path;
    if (arc.from == arc.to) {
        const double lr = StateRadius(area) * kLoopRadius;
        path.addEllipse(ArcMiddle(g, area, a), lr, lr);
        return path;
    }
    const Curve c = ArcCurve(g, area, arc, Radii(area, look));
    path.moveTo(c.start);
    path.quadTo(c.control, c.end);
    return path;
}

void DrawStateGraph(QPainter& p, const QRectF& area, const StateGraph& g, const GraphLook& look) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, kGround);
    const double r = StateRadius(area);
    const QSizeF radii = Radii(area, look);

    p.setPen(QPen(kArrow, 2));
    for (std::size_t i = 0; i < g.arcs.size(); ++i) {
        const GraphArc& a = g.arcs[i];
        const int index = static_cast<int>(i);
        p.drawPath(ArcPath(g, area, index, look));
        if (a.from == a.to) {
            // The head comes back into the state from the loop's far side of its axis.
            const QPointF c = StatePoint(g, area, a.from), u = LoopDirection(a), n(-u.y(), u.x());
            const QPointF lc = ArcMiddle(g, area, index);
            ArrowHead(p, c + u * r + n * (r * 0.35), lc + n * (r * kLoopRadius));
        } else {
            const Curve c = ArcCurve(g, area, a, radii);
            ArrowHead(p, c.end, c.control);
            if (look.doubleHeaded) ArrowHead(p, c.start, c.control);
        }
    }

    p.setPen(QPen(kStateEdge, 2));
    p.setBrush(kStateFill);
    for (std::size_t i = 0; i < g.states.size(); ++i)
        p.drawEllipse(StatePoint(g, area, static_cast<int>(i)), radii.width(), radii.height());
}

StateGraphView::StateGraphView(QWidget* parent, StateGraph graph, QSize size, GraphLook look)
    : QWidget(parent), graph_(std::move(graph)), look_(look) {
    setFixedSize(size);
}

void StateGraphView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawStateGraph(p, area(), graph_, look_);
}

}  // namespace kv
