// Turns figures, given in logical pixels, into the device pixels of an image at a pixel
// ratio: a pen one logical pixel wide covers `ratio` device pixels across, and every figure
// covers the same logical pixels at every ratio.
//
// Drawing is lazy. One painter stays open across figures, and consecutive solid segments
// that carry on from one another are held back and drawn as one polyline, far faster than
// one by one. What is pending reaches the image only on flush(), which image() calls: code
// that times drawing must read image() (or flush) or it times nothing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>
#include <unordered_map>
#include <span>
#include <vector>

#include "plot/colors.h"
#include "plot/plot_figures.h"

class QPainter;
class QRectF;
class QTextLayout;

namespace kv {

class PlotRenderer {
public:
    // A pen as the one-pixel lines it is drawn with: offsets first..last across the line,
    // in device pixels, and how far a line's far end reaches on to cover its last logical pixel.
    struct Stack {
        int first = 0, last = 0;
        int reach = 0;
        int width() const { return last - first + 1; }
        qreal middle() const { return (first + last) / 2.0; }
        bool operator==(const Stack&) const = default;
    };
    // The stack of a pen `width` logical pixels wide at this ratio.
    static Stack StackOf(int width, qreal ratio);

    // A blank image of `logical` pixels at this ratio.
    PlotRenderer(QSize logical, qreal ratio, QColor background);
    ~PlotRenderer();
    PlotRenderer(const PlotRenderer&) = delete;
    PlotRenderer& operator=(const PlotRenderer&) = delete;

    // Draws one figure; a text figure needs its label.
    void render(const Figure& figure, const Label* label = nullptr);
    // Draws a path through `points`, in the pen of `figure`: as the segments between them
    // drawn one after another.
    void renderPath(const Figure& figure, std::span<const QPointF> points);
    // Puts everything pending into the image and closes the painter.
    void flush();
    // Everything rendered so far, flushed.
    const QImage& image();
    // Everything rendered so far drawn into the image, for showing it at once: the painter
    // stays open for what follows, sparing the next redraw its setting up. The image must
    // not be copied.
    const QImage& drawn();
    qreal ratio() const { return ratio_; }

    // Blank again, at the same ratio; whatever was pending is dropped.
    void clear();
    // The figures drawn anew, and flushed, on a blank image at another ratio.
    void redraw(qreal ratio, const FigureList& figures);
    // The image so far stretched to another ratio, for when the figures are lost.
    void stretch(qreal ratio);

private:
    class Canvas;

    QSize deviceSize(qreal ratio) const;
    // StackOf at this ratio, remembered for the last width asked: a curve asks thousands of times.
    Stack stackOf(int width);
    Canvas& canvas();
    void flushRun();
    void renderSegment(const Figure& figure);
    // A solid copy-mode segment between device points: joined to the run when it carries on
    // from its last point in the same pen.
    void runTo(const QPointF& a, const QPointF& b, Rgb colour, Stack stack);
    void renderShape(const Figure& figure);
    void renderText(const Figure& figure, const Label& label);
    struct LaidOut {
        std::unique_ptr<QTextLayout> layout;
        QSizeF size;  // of its line's bounds
    };
    const LaidOut* laidOut(const QPainter& painter, const Label& label);
    template <typename Draw>
    void drawXor(const QRectF& area, int penWidth, Draw draw);

    QSize logical_;
    qreal ratio_;
    QColor background_;
    QImage image_;
    // Open while figures are drawn; it remembers its pen, brush and mode, so a run of
    // figures in the same state does not set them again for each one.
    std::unique_ptr<Canvas> canvas_;
    // Consecutive copy-mode solid segments, each starting where the last ended, in device
    // pixels: drawn as one polyline when anything else happens.
    std::vector<QPointF> run_;
    int runSegments_ = 0;
    Rgb runColour_;
    Stack runStack_;
    int stackWidth_ = -1;
    Stack stack_;
    // Labels laid out in the font of this version, by their text.
    std::unordered_map<QString, LaidOut> layouts_;
    int layoutFontVersion_ = 0;
};

}  // namespace kv
