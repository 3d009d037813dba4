#include "shell/markov_diagrams.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kv {
namespace {

// Colours of the pictures themselves (not of any control).
const QColor kGround(240, 255, 240);
const QColor kStateFill(190, 240, 190);
const QColor kStateEdge(0, 110, 0);
const QColor kArrow(0, 0, 140);

struct Arc {
    int from, to;
    double bend;  // sideways pull of the curve, as a share of the arc's length
};

struct Graph {
    std::vector<QPointF> states;  // relative positions, 0..1
    std::vector<Arc> arcs;
    std::vector<int> loops;       // states with a transition to themselves
};

const Graph& GraphOf(int which) {
    static const std::vector<Graph> graphs = {
        // three states in one directed cycle
        {{{0.5, 0.2}, {0.8, 0.75}, {0.2, 0.75}}, {{0, 1, 0.15}, {1, 2, 0.15}, {2, 0, 0.15}}, {}},
        // a cycle of three and a cycle of two sharing one state
        {{{0.55, 0.5}, {0.18, 0.18}, {0.18, 0.82}, {0.88, 0.5}},
         {{0, 1, 0.12}, {1, 2, 0.12}, {2, 0, 0.12}, {0, 3, 0.25}, {3, 0, 0.25}},
         {}},
        // a cycle of four and a cycle of three sharing the transition 0 -> 1
        {{{0.5, 0.15}, {0.5, 0.85}, {0.14, 0.85}, {0.14, 0.15}, {0.87, 0.5}},
         {{0, 1, 0.0}, {1, 2, 0.12}, {2, 3, 0.12}, {3, 0, 0.12}, {1, 4, 0.12}, {4, 0, 0.12}},
         {}},
        // an upper and a lower state linked both ways, each leading left and right
        {{{0.5, 0.15}, {0.5, 0.85}, {0.17, 0.5}, {0.83, 0.5}},
         {{0, 1, 0.15}, {1, 0, 0.15}, {0, 2, 0.1}, {0, 3, -0.1}, {1, 2, -0.1}, {1, 3, 0.1}},
         {2, 3}},
        // a cycle of four and a cycle of two sharing one state
        {{{0.6, 0.5}, {0.35, 0.15}, {0.1, 0.5}, {0.35, 0.85}, {0.9, 0.5}},
         {{0, 1, 0.12}, {1, 2, 0.12}, {2, 3, 0.12}, {3, 0, 0.12}, {0, 4, 0.25}, {4, 0, 0.25}},
         {}},
    };
    return graphs[static_cast<std::size_t>(std::clamp(which, 1, 5) - 1)];
}

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

}  // namespace

MarkovDiagram::MarkovDiagram(QWidget* parent, int which, QSize size) : QWidget(parent), which_(which) {
    setFixedSize(size);
}

void MarkovDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kGround);
    const Graph& g = GraphOf(which_);
    const double r = std::min(width(), height()) * 0.075;
    auto at = [&](int i) {
        const QPointF s = g.states[static_cast<std::size_t>(i)];
        return QPointF(s.x() * width(), s.y() * height());
    };

    p.setPen(QPen(kArrow, 2));
    for (const Arc& a : g.arcs) {
        const QPointF s = at(a.from), e = at(a.to), d = e - s;
        const double len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len, d.x() / len);
        const QPointF ctrl = (s + e) / 2 + n * (a.bend * len);
        // Start and end on the circles' edges, along the curve's tangents.
        auto edge = [&](QPointF centre, QPointF toward) {
            const QPointF v = toward - centre;
            return centre + v / std::hypot(v.x(), v.y()) * r;
        };
        const QPointF s2 = edge(s, ctrl), e2 = edge(e, ctrl);
        QPainterPath path(s2);
        path.quadTo(ctrl, e2);
        p.drawPath(path);
        ArrowHead(p, e2, ctrl);
    }
    for (int i : g.loops) {
        const QPointF c = at(i);
        const bool left = c.x() < width() / 2.0;
        const QPointF lc = c + QPointF(left ? -r * 1.6 : r * 1.6, 0);
        p.drawEllipse(lc, r * 0.9, r * 0.9);
        ArrowHead(p, c + QPointF(left ? -r : r, r * 0.35), lc + QPointF(0, r * 0.9));
    }

    p.setPen(QPen(kStateEdge, 2));
    p.setBrush(kStateFill);
    for (std::size_t i = 0; i < g.states.size(); ++i) p.drawEllipse(at(static_cast<int>(i)), r, r);
}

}  // namespace kv
