// A small plot of what a model computes step by step, against the step, pass or iteration:
// up to five series, a second axis at the right for a series in other units, a level line,
// a logarithmic scale for errors, and a bar chart for values that are not a run in time.
// It keeps the latest 32767 points of a run and draws in time proportional to its width,
// not to the number of points: each pixel column shows its points' least and largest value.
//
// Points are buffered: add() only stores, and refresh() draws what has come since, so that
// a batch adds a point per pass and is drawn only at its progress moments.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "plot/colors.h"
#include "plot/numtext.h"

class QCheckBox;
class QColor;
class QPainter;

namespace kv {

struct CurveSeries {
    QString name = {};
    Rgb colour = {};
    std::string_view pattern = kGeneralPattern;  // as the window writes the value in its box
    bool right = false;    // on the second axis, at the right: a value in other units
    bool markers = false;  // a dot per point instead of a line: a value that comes now and then
};

struct CurveSetup {
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

    CurveView(QWidget* parent, CurveSetup setup);

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
    // The same for a curve of one series; a batch's pass costs no more than a push.
    void add(double value) {
        if (size_ < static_cast<int>(steps_.size()) || values_.size() != 1) {
            add({value});
            return;
        }
        if (!std::isfinite(value) || bars_) return;
        if (size_ < kMaxPoints) {
            steps_.push_back(++lastStep_);
            values_[0].push_back(value);
            ++size_;
        } else {
            // The oldest point gives way.
            steps_[static_cast<std::size_t>(head_)] = ++lastStep_;
            values_[0][static_cast<std::size_t>(head_)] = value;
            head_ = head_ + 1 == kMaxPoints ? 0 : head_ + 1;
            ++structure_;
        }
        ++version_;
    }
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
    // Draws what has been added, and tells assistive tools the latest value. During a batch
    // it draws at once (the batch may hold the thread), but at most ten times a second and
    // only so often that drawing takes no more than a fiftieth of the batch's time; what it
    // leaves is drawn later.
    void refresh();

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
    void changeEvent(QEvent*) override;

private:
    struct Range {
        double lo = 0, hi = 1;
        bool operator==(const Range&) const = default;
    };
    // The picture's layout for the scales as they stand, and its frame (all but the values)
    // drawn once for them: a batch redraws its values, rarely the frame.
    struct Layout {
        bool valid = false;
        QSize size;
        qreal dpr = 0;
        Range x, left, right;
        bool log = false;
        double level = 0;
        QString levelName;
        QRect plot;
        QPixmap chrome;
    };

    int slot(int index) const { return head_ + index < kMaxPoints ? head_ + index : head_ + index - kMaxPoints; }
    // The extremes of each series' values kept (those above 0 apart), for the scales.
    struct Extent {
        double lo, hi, loPositive;
    };
    const std::vector<Extent>& extents() const;
    QString describe() const;

    // Layout and scales of the picture as it stands.
    bool anyRight() const;
    QRect plotRect(Range left, Range right) const;
    const Layout& layout();
    Range xRange() const;
    Range yRange(bool right) const;
    double toX(double step, const QRect& r, Range x) const;
    double toY(double v, const QRect& r, Range y, bool log) const;
    int hoverIndex(int px) const;

    void paintAll();
    void paintChrome(QPainter& p, const Layout& l);
    void paintCurve(QPainter& p, const Layout& l);
    // One series from its columns; `y` places a value.
    void paintSeries(QPainter& p, const std::vector<CurveColumns::Column>& cols, const QRect& r,
                     const std::function<double(double)>& y, const QColor& colour, bool markers);
    void paintBars(QPainter& p, const Layout& l);
    void paintAxis(QPainter& p, const QRect& r, Range y, bool right, bool log);
    void paintLegend(QPainter& p);
    void paintReadout(QPainter& p, const QRect& r, const QStringList& lines);
    // The columns of `series` for the plot as it is now, worked out again only when a point,
    // the scale or the width has changed.
    const std::vector<CurveColumns::Column>& columns(int series, const QRect& r, Range x);

    CurveSetup setup_;
    QCheckBox* chkLog = nullptr;
    bool log_ = false;

    std::vector<int> steps_;                   // a ring of at most kMaxPoints, oldest at head_
    std::vector<std::vector<double>> values_;  // one ring per series, in step with steps_
    int head_ = 0, size_ = 0;
    int lastStep_ = 0;  // of the last point
    bool bars_ = false;
    mutable std::vector<Extent> extents_;
    mutable long long extentsVersion_ = -1;
    double level_ = 0;  // the level line's value (NaN: none)
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

    QElapsedTimer sincePaint_;  // since the last drawing ended
    qint64 paintCost_ = 0;      // what the last drawing took, in nanoseconds
    bool owed_ = false;         // a drawing left for later during a batch
    Layout layout_;
    int hover_ = -1;      // the point (or bar) under the pointer
    bool plain_ = false;  // drawing the picture: no readout, no focus frame
};

}  // namespace kv
