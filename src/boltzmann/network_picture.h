// What both Boltzmann machine windows draw their machine with: the picture "Image1" (its
// units as ellipses joined both ways, drawn by the kit's graph drawing) and where the boxes
// that sit on it go.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>
#include <QSizeF>

#include "kit/state_graph.h"

class QLineEdit;
class QWidget;

namespace kv::boltzmann {

class NetworkPicture {
public:
    // Puts the picture at `where` in `parent`, behind the parent's other controls.
    NetworkPicture(QWidget* parent, const StateGraph& graph, QRect where, QSizeF unitRadii);

    // Centre of unit `i`, and the middle of arc `a`, in the parent's coordinates.
    QPointF Unit(int i) const;
    QPointF Arc(int a) const;
    // The point at share `t` along arc `a`, from its first unit.
    QPointF Along(int a, double t) const;

    // Unit `i`'s name label ("Label1(i)") and state box ("txtX(i)"), named by the label, on
    // its ellipse; the box.
    QLineEdit* PlaceUnit(QWidget* parent, int i, const QString& name, const QString& state, QSize box) const;

private:
    StateGraph graph_;
    QRect where_;
};

// A rectangle of the given size centred on `c`.
QRect CenteredRect(QPointF c, int width, int height);

}  // namespace kv::boltzmann
