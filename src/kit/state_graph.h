// State-transition graphs drawn by code: light-green states with dark-green outlines joined
// by dark-blue curved arrows, self-transitions as loop arrows, on a very light green ground.
// The Markov menu's pictures use it, and so will every window that shows a graph of states.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

#include <vector>

class QPainter;

namespace kv {

struct GraphArc {
    int from, to;
    double bend;  // sideways pull of the curve, as a share of the arc's length
};

struct StateGraph {
    std::vector<QPointF> states;  // relative positions, 0..1 across the drawing area
    std::vector<GraphArc> arcs;
    std::vector<int> loops;       // states with a transition to themselves
};

// How the states and arcs look: the Markov pictures take the defaults; a network of
// units joined both ways takes ellipses and double-headed arrows.
struct GraphLook {
    QSizeF stateRadii;          // ellipse radii in pixels; empty: circles of StateRadius
    bool doubleHeaded = false;  // an arrowhead at both ends of every arc
};

// Centre of state `i` in `area`.
QPointF StatePoint(const StateGraph& g, const QRectF& area, int i);
// Radius of the state circles in `area`.
double StateRadius(const QRectF& area);
// The point at share `t` (0 at its start, 1 at its end) along arc `a`'s curve in `area`.
QPointF ArcPoint(const StateGraph& g, const QRectF& area, int a, double t);
// The middle of arc `a`'s curve in `area`: where a box that belongs to the arc goes.
QPointF ArcMiddle(const StateGraph& g, const QRectF& area, int a);

void DrawStateGraph(QPainter& p, const QRectF& area, const StateGraph& g, const GraphLook& look = {});

// A picture of one graph, fixed in size.
class StateGraphView : public QWidget {
    Q_OBJECT
public:
    StateGraphView(QWidget* parent, StateGraph graph, QSize size, GraphLook look = {});
    const StateGraph& graph() const { return graph_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    StateGraph graph_;
    GraphLook look_;
};

}  // namespace kv
