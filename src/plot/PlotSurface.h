// The drawing surface of a demonstration window: an image with a user coordinate system,
// a drawing state and the drawing operations every plot is made of. The image keeps what
// was drawn until Cls, so a covered or not-yet-shown surface repaints itself.
//
// The image has the device pixels of the screen the surface is on: at 200 % a line one
// pixel wide is two device pixels wide and text is drawn at full resolution. The surface
// turns each operation into a figure in logical pixels, which a PlotRenderer draws and a
// FigureList keeps until the next Cls, so that on a screen of another ratio the plot is
// drawn anew rather than stretched.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "plot/colors.h"
#include "plot/plot_figures.h"
#include "plot/plot_renderer.h"

namespace kv {

// The pen's effect on the pixels it covers: the pen colour replaces them, or is combined
// with them by exclusive or, so that drawing the same figure twice restores them.
enum class DrawMode { Copy = 13, Xor = 7 };
enum class DrawStyle { Solid = 0, Dot = 2 };
// Whether circles are filled with the fill colour.
enum class FillStyle { Solid = 0, Transparent = 1 };

class PlotSurface : public QWidget {
    Q_OBJECT
public:
    explicit PlotSurface(QWidget* parent = nullptr, QSize pixels = QSize(320, 240));
    ~PlotSurface() override;

    // User scale; refused (false, nothing changes) for a zero or non-finite extent.
    bool setScale(double left, double top, double width, double height);
    float scaleLeft() const { return scaleLeft_; }
    float scaleTop() const { return scaleTop_; }
    float scaleWidth() const { return scaleWidth_; }
    float scaleHeight() const { return scaleHeight_; }

    // Drawing state; each setter affects the following operations only.
    float currentX() const { return currentX_; }
    float currentY() const { return currentY_; }
    bool setCurrentX(double x);
    bool setCurrentY(double y);
    int drawWidth() const { return drawWidth_; }
    void setDrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
    DrawStyle drawStyle() const { return drawStyle_; }
    void setDrawStyle(DrawStyle s) { drawStyle_ = s; }
    DrawMode drawMode() const { return drawMode_; }
    void setDrawMode(DrawMode m) { drawMode_ = m; }
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle s) { fillStyle_ = s; }
    Rgb fillColor() const { return fillColor_; }
    void setFillColor(Rgb c) { fillColor_ = c; }
    Rgb foreColor() const { return foreColor_; }
    void setForeColor(Rgb c) { foreColor_ = c; }
    double fontSize() const;
    void setFontSize(double points);

    // Operations. Each returns false, drawing nothing, when a coordinate is beyond single
    // precision or no scale is set. What lies outside the image is left out; a figure far
    // outside is trimmed where it crosses the image, never drawn anywhere else.
    void Cls();
    bool Line(double x1, double y1, double x2, double y2, Rgb colour);  // segment
    bool LineTo(double x2, double y2, Rgb colour);                        // continued from the current point
    bool Box(double x1, double y1, double x2, double y2, Rgb colour);
    bool FilledBox(double x1, double y1, double x2, double y2, Rgb colour);
    bool Circle(double x, double y, double radius, Rgb colour);
    void Print(const std::string& text);  // as it stands
    void Print(double number);            // general text with a leading and trailing blank

    // Position of a user point in logical pixels from the top-left corner of the surface.
    QPointF toPixel(float x, float y) const;
    // Drawing is lazy: the operations leave figures pending (a run of segments waiting to
    // be drawn as one polyline, an open painter) until flush() puts them into the image,
    // and Cls drops them undrawn. image() and the paint event flush; code that times
    // drawing must read image() or call flush(), or it may time nothing.
    void flush() const;
    // Everything drawn so far, flushed, in device pixels: pixelRatio() of them to a logical pixel.
    const QImage& image() const;
    qreal pixelRatio() const { return renderer_.ratio(); }
    QColor background() const { return background_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPointF pixelOf(double x, double y) const;
    bool usable(double x, double y) const;
    QRectF clipArea() const;
    void segment(QPointF a, QPointF b, Rgb colour);
    void drawBox(double x1, double y1, double x2, double y2, Rgb colour, bool filled);
    Figure drawn(FigureKind kind, Rgb colour) const;
    void draw(const Figure& figure);
    // Hands the pending path to the renderer and the figure list.
    void endPath() const;
    void adoptRatio(qreal ratio);
    void scheduleUpdate();
    const QFont& labelFont();
    // The label font's advance of a text.
    qreal advance(const QString& text);

    QSize size_;  // logical pixels
    QColor background_{255, 255, 255};
    // Mutable because drawing may still be pending in them; reading the image flushes it.
    mutable PlotRenderer renderer_;
    mutable FigureList figures_;
    // Solid copy-mode segments each starting where the last ended, in one pen, gathered
    // as the points they pass through (logical pixels) and drawn and kept as one path.
    mutable std::vector<QPointF> path_;
    Figure pathPen_;
    bool updateScheduled_ = false;

    // The pixel of the last segment's end, for a segment that starts from it.
    bool endKnown_ = false;
    float endX_ = 0, endY_ = 0;
    QPointF endPixel_;

    bool scaled_ = false;
    float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
    float currentX_ = 0, currentY_ = 0;
    int drawWidth_ = 1;
    DrawStyle drawStyle_ = DrawStyle::Solid;
    DrawMode drawMode_ = DrawMode::Copy;
    FillStyle fillStyle_ = FillStyle::Transparent;
    Rgb fillColor_ = kBlack;
    Rgb foreColor_ = kBlack;
    double fontSize_ = 0;  // 0: the surface's default font
    std::optional<QFont> labelFont_;
    std::optional<QFontMetricsF> labelMetrics_;
    int labelFontVersion_ = 0;
    QHash<QString, qreal> advances_;
    int advanceFontVersion_ = 0;
};

// Sets the user scale so that (left, top) is the top-left pixel and (right, bottom) the
// bottom-right one. Neither clears nor redraws. False, with the scale unchanged, when
// right == left or bottom == top.
bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom);

}  // namespace kv
