// The drawing surface of a demonstration window: an image with a user coordinate system,
// a drawing state and the drawing operations every plot is made of. The image keeps what
// was drawn until Cls, so a covered or not-yet-shown surface repaints itself.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QWidget>

#include <memory>
#include <string>

#include "plot/colors.h"

namespace kv {

class PlotSurface : public QWidget {
    Q_OBJECT
public:
    enum DrawModes { kCopyPen = 13, kXorPen = 7 };
    enum DrawStyles { kSolid = 0, kDot = 2 };
    enum FillStyles { kFillSolid = 0, kFillTransparent = 1 };

    explicit PlotSurface(QWidget* parent = nullptr, QSize pixels = QSize(320, 240));

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
    int drawStyle() const { return drawStyle_; }
    void setDrawStyle(int s) { drawStyle_ = s; }
    int drawMode() const { return drawMode_; }
    void setDrawMode(int m) { drawMode_ = m; }
    int fillStyle() const { return fillStyle_; }
    void setFillStyle(int s) { fillStyle_ = s; }
    Rgb fillColor() const { return fillColor_; }
    void setFillColor(Rgb c) { fillColor_ = c; }
    Rgb foreColor() const { return foreColor_; }
    void setForeColor(Rgb c) { foreColor_ = c; }
    double fontSize() const;
    void setFontSize(double points);

    // Operations. Each returns false, drawing nothing, when a coordinate is beyond single
    // precision or no scale is set.
    void Cls();
    bool Line(double x1, double y1, double x2, double y2, Rgb colour);  // segment
    bool LineTo(double x2, double y2, Rgb colour);                        // continued from the current point
    bool Box(double x1, double y1, double x2, double y2, Rgb colour);
    bool FilledBox(double x1, double y1, double x2, double y2, Rgb colour);
    bool Circle(double x, double y, double radius, Rgb colour);
    void Print(const std::string& text);  // as it stands
    void Print(double number);            // general text with a leading and trailing blank

    // Pixel position of a user point (from the top-left corner of the image).
    QPointF toPixel(float x, float y) const;
    const QImage& image() const;
    QColor background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool usable(double x, double y) const;
    QRectF clipArea() const;
    void stroke(const QPointF& a, const QPointF& b, Rgb colour);
    void drawBox(double x1, double y1, double x2, double y2, Rgb colour, bool filled);
    QPainter& painter();
    void endPainting() const;
    void preparePainter(QPainter& p, Rgb colour) const;

    QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
    QColor background_{255, 255, 255};
    bool scaled_ = false;
    float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
    float currentX_ = 0, currentY_ = 0;
    int drawWidth_ = 1;
    int drawStyle_ = kSolid;
    int drawMode_ = kCopyPen;
    int fillStyle_ = kFillTransparent;
    Rgb fillColor_ = kBlack;
    Rgb foreColor_ = kBlack;
    double fontSize_ = 0;  // 0: the surface's default font
};

// Sets the user scale so that (left, top) is the top-left pixel and (right, bottom) the
// bottom-right one. Neither clears nor redraws. False, with the scale unchanged, when
// right == left or bottom == top.
bool SetPlotScale(PlotSurface& surface, double left, double top, double right, double bottom);

}  // namespace kv
