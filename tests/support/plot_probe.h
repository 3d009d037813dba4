// A fixture for windows that draw on Picture1 and step by hand or on Timer1: their plot
// read in user coordinates, their timer's interval, and hand steps counted to a message.
#pragma once

#include <QTimer>

#include "plot/PlotSurface.h"
#include "plot/timer.h"
#include "support/ui_test.h"

class PlotWindowTest : public UiTest {
protected:
    kv::PlotSurface* plot(QWidget* w) { return child<kv::PlotSurface>(w, "Picture1"); }
    QImage image(QWidget* w) { return plot(w)->image(); }
    QPointF at(QWidget* w, double x, double y) { return plot(w)->toPixel(float(x), float(y)); }
    // The pixel of the user point (x, y), moved by (dx, dy) pixels.
    kv::Rgb pixelAt(QWidget* w, double x, double y, int dx = 0, int dy = 0) {
        const QPointF p = at(w, x, y);
        return pixel(image(w), int(p.x()) + dx, int(p.y()) + dy);
    }
    int interval(QWidget* w) { return kv::TimerInterval(w->findChild<QTimer*>("Timer1")); }
    // Presses Command3 until a message shows; the press that showed it, or -1.
    int stepsUntilMessage(QWidget* w, int limit) {
        const int before = int(messages.size());
        for (int n = 1; n <= limit; ++n) {
            call(w, "Command3_Click");
            if (messages.size() > before) return n;
        }
        return -1;
    }
};
