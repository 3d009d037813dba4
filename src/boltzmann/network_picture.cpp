#include "boltzmann/network_picture.h"

#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cmath>

#include "kit/controls.h"

namespace kv::boltzmann {
namespace {

// The picture is drawn once for each size and pixel ratio and copied after that: every box
// on it repaints the part of it below, and the ellipses and arrows cost more to draw than
// the box itself.
class CachedGraphView : public StateGraphView {
public:
    using StateGraphView::StateGraphView;

protected:
    void paintEvent(QPaintEvent* e) override {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = (QSizeF(size()) * ratio).toSize();
        if (cache_.size() != pixels || cache_.devicePixelRatio() != ratio) {
            cache_ = QPixmap(pixels);
            cache_.setDevicePixelRatio(ratio);
            cache_.fill(Qt::transparent);
            QPainter p(&cache_);
            DrawStateGraph(p, area(), graph(), look());
        }
        QPainter p(this);
        const QRect r = e->rect();
        p.drawPixmap(r, cache_, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
    }

private:
    QPixmap cache_;
};

}  // namespace

NetworkPicture::NetworkPicture(QWidget* parent, const StateGraph& graph, QRect where, QSizeF unitRadii)
    : graph_(graph), where_(where) {
    auto* view = new CachedGraphView(parent, graph_, where.size(), GraphLook{unitRadii, true});
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
