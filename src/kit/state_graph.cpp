#include "kit/state_graph.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kv {
namespace {

// Colours of the pictures themselves (not of any control).
const QColor kGround(240, 255, 240);
const QColor kStateFill(190, 240, 190);
const QColor kStateEdge(0, 110, 0);
const QColor kArrow(0, 0, 140);

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

// The control point of arc `a`'s quadratic curve.
QPointF Control(QPointF s, QPointF e, double bend) {
    const QPointF d = e - s;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0) return s;
    const QPointF n(-d.y() / len, d.x() / len);
    return (s + e) / 2 + n * (bend * len);
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

QPointF ArcMiddle(const StateGraph& g, const QRectF& area, int a) { return ArcPoint(g, area, a, 0.5); }

void DrawStateGraph(QPainter& p, const QRectF& area, const StateGraph& g, const GraphLook& look) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, kGround);
    const double r = StateRadius(area);
    const QSizeF radii = look.stateRadii.isEmpty() ? QSizeF(r, r) : look.stateRadii;

    p.setPen(QPen(kArrow, 2));
    for (const GraphArc& a : g.arcs) {
        const QPointF s = StatePoint(g, area, a.from), e = StatePoint(g, area, a.to);
        if (s == e) continue;
        const QPointF ctrl = Control(s, e, a.bend);
        // Start and end on the outlines, along the curve's tangents.
        auto edge = [&](QPointF centre, QPointF toward) {
            const QPointF v = toward - centre;
            return centre + v / std::hypot(v.x() / radii.width(), v.y() / radii.height());
        };
        const QPointF s2 = edge(s, ctrl), e2 = edge(e, ctrl);
        QPainterPath path(s2);
        path.quadTo(ctrl, e2);
        p.drawPath(path);
        ArrowHead(p, e2, ctrl);
        if (look.doubleHeaded) ArrowHead(p, s2, ctrl);
    }
    for (int i : g.loops) {
        const QPointF c = StatePoint(g, area, i);
        const bool left = c.x() < area.center().x();
        const QPointF lc = c + QPointF(left ? -r * 1.6 : r * 1.6, 0);
        p.drawEllipse(lc, r * 0.9, r * 0.9);
        ArrowHead(p, c + QPointF(left ? -r : r, r * 0.35), lc + QPointF(0, r * 0.9));
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
    DrawStateGraph(p, QRectF(rect()), graph_, look_);
}

}  // namespace kv
