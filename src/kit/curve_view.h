// A small plot of what a model computes step by step, against the step, pass or iteration:
// up to five series, a second axis at the right for a series in other units, a level line,
// a logarithmic scale for errors, and a bar chart for values that are not a run in time.
// It keeps the latest 32767 points of a run and draws in time proportional to its width,
// not to the number of points: each pixel column shows its points' least and largest value.
//
// Points are buffered: add() only stores, and refresh() draws what has come since, so that
// a batch adds a point per pass and is drawn only at its progress moments.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "plot/colors.h"
#include "plot/numtext.h"

class QCheckBox;
class QPainter;

namespace kv {

struct CurveSeries {
    QString name = {};
    Rgb colour = {};
    std::string_view pattern = kGeneralPattern;  // as the window writes the value in its box
    bool right = false;    // on the second axis, at the right: a value in other units
    bool markers = false;  // a dot per point instead of a line: a value that comes now and then
};

struct CurveSpec {
    QString title = {};
    QString xTitle = {};  // what the steps count, as the window names it (学習回数, 回数)
    std::vector<CurveSeries> series = {};
    bool logOffered = false;  // the left axis's values cannot fall below zero
    bool logDefault = false;  // they fall over orders of magnitude
    // A bar chart of these categories instead of a curve: series 0 and 1 side by side.
    QStringList categories = {};
};

// What each pixel column of a curve shows of the points that fall into it: the first and
// last value, which the line joins to its neighbours, and the least and largest, which it
// spans. However many points there are, the curve is drawn from these columns alone.
class CurveColumns {
public:
    struct Column {
        double first = 0, last = 0, lo = 0, hi = 0;
        bool any = false;
        bool gapBefore = false;  // a point that cannot be drawn came before this column's first
    };

    // `width` empty columns over the steps x0..x1; `log` refuses values <= 0.
    void reset(int width, double x0, double x1, bool log);
    bool covers(int width, double x0, double x1, bool log) const {
        return width == width_ && x0 == x0_ && x1 == x1_ && log == log_;
    }
    // The next point, its step not before the last one's. A value that is not finite, or not
    // above 0 on a logarithmic scale, is not drawn: the line breaks there.
    void place(double step, double value);
    const std::vector<Column>& columns() const { return columns_; }

private:
    std::vector<Column> columns_;
    int width_ = 0;
    double x0_ = 0, x1_ = 0, scale_ = 0;
    bool log_ = false;
    bool gapPending_ = false;
};

class CurveView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int count READ count)
public:
    // The largest count a window allows; a longer run keeps its latest points.
    static constexpr int kMaxPoints = 32767;

    CurveView(QWidget* parent, CurveSpec spec);

    // Points kept (of the first series); in a bar chart, the categories.
    int count() const { return size_; }
    // The value of `series` at point `index` (0 = the oldest kept), unrounded; NaN where the
    // series has none.
    Q_INVOKABLE double value(int series, int index) const;
    // The step, pass or iteration point `index` belongs to.
    Q_INVOKABLE int step(int index) const;

    // One value per series, at the step after the last one. A point whose first value is
    // not finite is not kept; another series' value that is not finite is not drawn.
    void add(std::span<const double> values);
    void add(std::initializer_list<double> values) { add(std::span<const double>(values.begin(), values.size())); }
    // The same at `step`. A step not beyond the last point's replaces the points from it on.
    void addAt(int step, std::span<const double> values);
    void addAt(int step, std::initializer_list<double> values) {
        addAt(step, std::span<const double>(values.begin(), values.size()));
    }
    // Gives the last point a value of `series` (one computed after the point was added).
    void setLast(int series, double v);
    // A horizontal line at `v` on the left axis, named `name` (none for a value not finite).
    void setLevel(double v, const QString& name);
    // The bar chart's values, one per category for series 0 and 1.
    void setBars(std::span<const double> first, std::span<const double> second);
    // No point, the scales as at the start.
    void clear();
    // Draws what has been added (at once with `now`, for a run that holds the thread), and
    // tells assistive tools the latest value.
    void refresh(bool now = false);

    bool logScale() const { return log_; }
    // The curve as it looks, at the screen's resolution.
    QImage picture();

public slots:
    // Puts the picture on the clipboard.
    void copyPicture();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    struct Range {
        double lo = 0, hi = 1;
    };

    int slot(int index) const { return head_ + index < kMaxPoints ? head_ + index : head_ + index - kMaxPoints; }
    bool bars() const { return !spec_.categories.isEmpty(); }
    void track(int series, double v);
    void resetScales();
    QString describe() const;

    // Layout and scales of the picture as it stands.
    QRect plotRect() const;
    Range xRange() const;
    Range yRange(bool right) const;
    double toX(double step, const QRect& r, Range x) const;
    double toY(double v, const QRect& r, Range y, bool log) const;
    int hoverIndex(int px) const;

    void paintCurve(QPainter& p, const QRect& r);
    void paintBars(QPainter& p, const QRect& r);
    void paintAxis(QPainter& p, const QRect& r, Range y, bool right, bool log);
    void paintLegend(QPainter& p);
    void paintReadout(QPainter& p, const QRect& r, const QStringList& lines);
    // The columns of `series` for the plot as it is now, worked out again only when a point,
    // the scale or the width has changed.
    const std::vector<CurveColumns::Column>& columns(int series, const QRect& r, Range x);

    CurveSpec spec_;
    QCheckBox* chkLog = nullptr;
    bool log_ = false;

    std::vector<int> steps_;                   // a ring of at most kMaxPoints, oldest at head_
    std::vector<std::vector<double>> values_;  // one ring per series, in step with steps_
    int head_ = 0, size_ = 0;
    // What the scales follow: the extremes since the last clear, which only grow.
    std::vector<double> min_, max_, minPositive_;
    double level_;
    QString levelName_;

    // The columns drawn last, and what they were worked out for.
    struct ColumnCache {
        CurveColumns columns;
        long long version = -1, structure = -1;
        int size = 0;  // the points placed
    };
    std::vector<ColumnCache> cache_;
    long long version_ = 0;    // counts every change of the points
    long long structure_ = 0;  // counts the changes other than a point added at the end

    int hover_ = -1;      // the point (or bar) under the pointer
    bool plain_ = false;  // drawing the picture: no readout, no focus frame
};

}  // namespace kv
