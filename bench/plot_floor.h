// The floor of a plot window's redraw: what a plain Qt program would do to show the same
// plot. An image is filled, the frame, labels and figures are drawn on it with one QPainter,
// a curve goes once through its distinct device pixels at the window's line width, and a
// bare top-level widget the size of the plot is repainted with the image.
#pragma once

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QScreen>
#include <QWidget>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "kit/plot_frame.h"
#include "plot/PlotSurface.h"
#include "plot/numtext.h"

namespace kv::bench {

// Shows the window on the screen of that ratio; false when there is none.
inline bool ShowAtRatio(QWidget& window, qreal ratio) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->devicePixelRatio() == ratio) {
            window.setScreen(screen);
            window.move(screen->geometry().topLeft() + QPoint(20, 20));
            window.show();
            QApplication::processEvents();
            return window.devicePixelRatioF() == ratio;
        }
    return false;
}

// A curve's points, in logical pixels, as the device pixels they fall on, each run of
// points on one pixel kept once, at that pixel's centre.
class DistinctPixels {
public:
    explicit DistinctPixels(qreal ratio) : ratio_(ratio) {}
    void clear() {
        points_.clear();
        last_ = QPoint(INT_MIN, INT_MIN);
    }
    void add(QPointF logical) {
        const QPoint p(Floor(logical.x() * ratio_), Floor(logical.y() * ratio_));
        if (p == last_) return;
        last_ = p;
        points_.append(QPointF(p.x() + 0.5, p.y() + 0.5) / ratio_);
    }
    const QPolygonF& points() const { return points_; }

private:
    static int Floor(double v) {
        const int i = static_cast<int>(v);
        return i - (v < i);
    }
    qreal ratio_;
    QPolygonF points_;
    QPoint last_{INT_MIN, INT_MIN};
};

// The image and the bare widget it is shown in, on the screen of `ratio`, with the plot's
// size, scale and font.
class PlotFloor {
public:
    PlotFloor(const PlotSurface& plot, qreal ratio)
        : plot_(plot), ratio_(ratio), font_(plot.font()), image_(plot.size() * ratio, QImage::Format_RGB32) {
        image_.setDevicePixelRatio(ratio);
        view_.image = &image_;
        view_.setFixedSize(plot.size());
        shown_ = ShowAtRatio(view_, ratio);
    }
    bool shown() const { return shown_; }
    qreal ratio() const { return ratio_; }
    QPointF at(double x, double y) const { return plot_.toPixel(float(x), float(y)); }
    double unitsPerPixel() const { return plot_.scaleWidth() / plot_.width(); }

    // The image filled and a painter on it, in logical pixels.
    QPainter& begin() {
        image_.fill(Qt::white);
        painter_.begin(&image_);
        painter_.setFont(font_);
        return painter_;
    }
    void line(double x1, double y1, double x2, double y2, const QPen& pen) {
        painter_.setPen(pen);
        painter_.drawLine(at(x1, y1), at(x2, y2));
    }
    void text(double x, double y, const QString& s) {
        painter_.setPen(Qt::black);
        painter_.drawText(at(x, y), s);
    }
    void curve(const DistinctPixels& pixels, QColor colour, int width) {
        QPen pen(colour);
        pen.setWidth(width);
        painter_.setPen(pen);
        painter_.drawPolyline(pixels.points());
    }
    // Ends the painting and repaints the bare widget with the image.
    void show() {
        painter_.end();
        view_.repaint();
    }

    // Axes, grid and labels where the gradient and linear-system frame puts them.
    void frame(double maxX, double maxY) {
        const double tx = maxX * 0.01, ty = maxY * 0.01;
        const QPen black(Qt::black);
        line(-3 * tx, 0, maxX + 4 * tx, 0, black);
        line(maxX + tx, ty, maxX + 4 * tx, 0, black);
        line(maxX + tx, -ty, maxX + 4 * tx, 0, black);
        line(0, -3 * ty, 0, maxY + 4 * ty, black);
        line(tx, maxY + ty, 0, maxY + 4 * ty, black);
        line(-tx, maxY + ty, 0, maxY + 4 * ty, black);
        text(-3 * tx, -ty, QStringLiteral("0"));
        const double sx = TickSpacing(maxX), sy = TickSpacing(maxY);
        for (double x = sx; x <= maxX; x += sx) {
            line(x, 0, x, maxY, black);
            text(x - 2 * tx, -ty, QString::number(x));
        }
        for (double y = sy; y <= maxY; y += sy) {
            line(0, y, maxX, y, black);
            text(-6 * tx, y + ty, QString::number(y));
        }
    }

private:
    class View : public QWidget {
    public:
        const QImage* image = nullptr;

    protected:
        void paintEvent(QPaintEvent*) override {
            QPainter p(this);
            p.drawImage(QPointF(0, 0), *image);
        }
    };

    const PlotSurface& plot_;
    qreal ratio_;
    QFont font_;
    QImage image_;
    QPainter painter_;
    View view_;
    bool shown_ = false;
};

}  // namespace kv::bench
