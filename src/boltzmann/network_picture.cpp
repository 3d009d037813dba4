#include "boltzmann/network_picture.h"

#include <QLineEdit>
#include <QWidget>

#include <cmath>

#include "kit/controls.h"

namespace kv::boltzmann {

NetworkPicture::NetworkPicture(QWidget* parent, const StateGraph& graph, QRect where, QSizeF unitRadii)
    : graph_(graph), where_(where) {
    auto* view = new StateGraphView(parent, graph_, where.size(), GraphLook{unitRadii, true});
    view->setObjectName("Image1");
    view->move(where.topLeft());
    view->lower();
}

QPointF NetworkPicture::Unit(int i) const {
    return StatePoint(graph_, QRectF(QPointF(0, 0), QSizeF(where_.size())), i) + QPointF(where_.topLeft());
}

QPointF NetworkPicture::Arc(int a) const {
    return ArcMiddle(graph_, QRectF(QPointF(0, 0), QSizeF(where_.size())), a) + QPointF(where_.topLeft());
}

QPointF NetworkPicture::Along(int a, double t) const {
    return ArcPoint(graph_, QRectF(QPointF(0, 0), QSizeF(where_.size())), a, t) + QPointF(where_.topLeft());
}

QLineEdit* NetworkPicture::PlaceUnit(QWidget* parent, int i, const QString& name, const QString& state, QSize box) const {
    const QPointF c = Unit(i);
    const QRect label = CenteredRect(c + QPointF(0, -box.height() / 2.0), 100, 18);
    const QRect stateBox = CenteredRect(c + QPointF(0, box.height() / 2.0), box.width(), box.height());
    QLineEdit* x = MakeLabelledBox(parent, ArrayName("Label1", i), name, label, ArrayName("txtX", i), state, stateBox, Qt::AlignCenter);
    x->setAlignment(Qt::AlignCenter);
    return x;
}

QRect CenteredRect(QPointF c, int width, int height) {
    return QRect(static_cast<int>(std::lround(c.x() - width / 2.0)), static_cast<int>(std::lround(c.y() - height / 2.0)),
                 width, height);
}

}  // namespace kv::boltzmann
