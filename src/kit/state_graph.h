// State-transition graphs drawn by code: light-green states with dark-green outlines joined
// by dark-blue curved arrows, self-transitions as loop arrows, on a very light green ground.
// The Markov menu's pictures and the Markov windows use it; windows lay their boxes over
// the graph at the points it gives (StatePoint, ArcMiddle).
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QWidget>

#include <vector>

class QPainter;

namespace kv {

// A transition. Between two states it is a curve; from a state to itself it is a loop.
struct GraphArc {
    int from, to;
    double bend;            // sideways pull of the curve, as a share of the arc's length
    double loopAngle = 0;   // a loop: where it stands out from its state, in degrees
                            // counter-clockwise from the right (0 right, 90 up, 180 left)
};

struct StateGraph {
    std::vector<QPointF> states;  // relative positions, 0..1 across the drawing area
    std::vector<GraphArc> arcs;
};

// How the states and arcs look: the Markov pictures take the defaults; a network of
// units joined both ways takes ellipses and double-headed arrows.
struct GraphLook {
    QSizeF stateRadii;          // ellipse radii in pixels; empty: circles of StateRadius
    bool doubleHeaded = false;  // an arrowhead at both ends of every arc
    double loopRadius = 0;      // a loop's radius in pixels; 0: 0.9 of the state's radius
};

// Centre of state `i` in `area`.
QPointF StatePoint(const StateGraph& g, const QRectF& area, int i);
// Radius of the state circles in `area`.
double StateRadius(const QRectF& area);
// The point at share `t` (0 at its start, 1 at its end) along arc `a`'s curve between the
// two states' centres in `area` (not for loops).
QPointF ArcPoint(const StateGraph& g, const QRectF& area, int a, double t);
// Where a box that belongs to arc `a` goes in `area`: the middle of its curve, or the centre
// of its loop (a box there sits inside the loop, clear of the arrow and of its head).
QPointF ArcMiddle(const StateGraph& g, const QRectF& area, int a, const GraphLook& look = {});
// Arc `a`'s arrow as drawn in `area` (without its head): from circle edge to circle edge,
// or the part of the loop's circle outside its state.
QPainterPath ArcPath(const StateGraph& g, const QRectF& area, int a, const GraphLook& look = {});
// Arc `a`'s arrowheads as drawn in `area`: the one where it arrives, then, if the look has
// two, the one where it leaves.
std::vector<QPolygonF> ArcHeads(const StateGraph& g, const QRectF& area, int a, const GraphLook& look = {});

void DrawStateGraph(QPainter& p, const QRectF& area, const StateGraph& g, const GraphLook& look = {});

// The order Tab takes along a graph whose states and arcs carry boxes (named
// ArrayName(stateBox, i) and ArrayName(arcBox, a)): each state in `order`, then the arcs in
// their own order that leave it, or, for arcs that join both ways (`directed` false), those
// that join it to a state later in `order`.
QStringList GraphTabFlow(const StateGraph& g, const std::vector<int>& order, const QString& stateBox, const QString& arcBox,
                         bool directed);

// A picture of one graph, fixed in size.
class StateGraphView : public QWidget {
    Q_OBJECT
public:
    StateGraphView(QWidget* parent, StateGraph graph, QSize size, GraphLook look = {});
    const StateGraph& graph() const { return graph_; }
    const GraphLook& look() const { return look_; }
    // The drawing area, in this widget's coordinates.
    QRectF area() const { return QRectF(rect()); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    StateGraph graph_;
    GraphLook look_;
    QImage picture_;  // the drawing, in device pixels
};

}  // namespace kv
