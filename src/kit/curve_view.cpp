#include "kit/curve_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "kit/batch_runner.h"
#include "plot/qt_forms.h"

namespace kv {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kPad = 6;
constexpr int kChip = 16;  // a legend entry's line
constexpr double kLineWidth = 1.6;
// During a batch the curve is drawn again once the batch has run this many times as long as
// the last drawing took.
constexpr qint64 kPaintShare = 50;
// Nor more often than ten times a second: enough for the eye to follow.
constexpr qint64 kRunPaintPeriod = 100'000'000;  // ns

QString Number(double v, std::string_view pattern) { return QString::fromStdString(Format(v, pattern)); }
QString Tick(double v) { return NumberText(v); }

// 1, 2 or 5 times a power of ten, about span / target.
double NiceStep(double span, int target) {
    const double raw = span / target;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / mag;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * mag;
}

// The first of 1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 7, 8 times a power of ten at or above v: the
// x axis reaches a little beyond the last step and extends in few jumps.
double NiceCeil(double v) {
    if (!(v > 0)) return 1;
    const double mag = std::pow(10.0, std::floor(std::log10(v)));
    for (double f : {1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 10.0})
        if (f * mag >= v * (1 - 1e-12)) return f * mag;
    return 10 * mag;
}

QFont SmallFont(const QFont& f) {
    QFont s = f;
    s.setPointSizeF(f.pointSizeF() * 0.88);
    return s;
}

}  // namespace

CurveView::CurveView(QWidget* parent, CurveSetup setup) : QWidget(parent), setup_(std::move(setup)) {
    setObjectName(QStringLiteral("Curve1"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("%1のグラフ").arg(setup_.title));
    values_.resize(setup_.series.size());
    cache_.resize(setup_.series.size());
    chkLog = new QCheckBox(QStringLiteral("対数目盛"), this);
    chkLog->setObjectName(QStringLiteral("chkLog"));
    bars_ = !setup_.categories.isEmpty();
    log_ = setup_.logOffered && setup_.logDefault && !bars_;
    chkLog->setChecked(log_);
    chkLog->setVisible(setup_.logOffered && !bars_);
    connect(chkLog, &QCheckBox::toggled, this, [this](bool on) {
        log_ = on;
        hover_ = -1;
        update();
    });
    clear();
}

double CurveView::value(int series, int index) const {
    if (series < 0 || series >= static_cast<int>(values_.size()) || index < 0 || index >= size_) return kNaN;
    const double v = values_[static_cast<std::size_t>(series)][static_cast<std::size_t>(slot(index))];
    return std::isfinite(v) ? v : kNaN;
}

int CurveView::step(int index) const {
    if (index < 0 || index >= size_) return -1;
    return steps_[static_cast<std::size_t>(slot(index))];
}

void CurveView::add(std::span<const double> values) { addAt(lastStep_ + 1, values); }

// A batch adds a point at every pass: nothing here but keeping it. What the scales need is
// worked out when they are drawn.
void CurveView::addAt(int step, std::span<const double> values) {
    if (bars_ || values.empty() || !std::isfinite(values[0])) return;
    if (size_ > 0 && step <= lastStep_) {
        while (size_ > 0 && steps_[static_cast<std::size_t>(slot(size_ - 1))] >= step) --size_;
        ++structure_;
    }
    std::size_t s;
    if (size_ < kMaxPoints) {
        s = static_cast<std::size_t>(slot(size_));
        ++size_;
    } else {
        // The oldest point gives way.
        s = static_cast<std::size_t>(head_);
        head_ = head_ + 1 == kMaxPoints ? 0 : head_ + 1;
        ++structure_;
    }
    const std::size_t n = values_.size();
    if (s == steps_.size()) {
        steps_.push_back(step);
        for (std::size_t i = 0; i < n; ++i) values_[i].push_back(i < values.size() ? values[i] : kNaN);
    } else {
        steps_[s] = step;
        for (std::size_t i = 0; i < n; ++i) values_[i][s] = i < values.size() ? values[i] : kNaN;
    }
    lastStep_ = step;
    ++version_;
}

void CurveView::setLast(int series, double v) {
    if (bars_ || size_ == 0 || series < 0 || series >= static_cast<int>(values_.size())) return;
    values_[static_cast<std::size_t>(series)][static_cast<std::size_t>(slot(size_ - 1))] = v;
    ++version_;
    ++structure_;
}

const std::vector<CurveView::Extent>& CurveView::extents() const {
    if (extentsVersion_ == version_) return extents_;
    extents_.assign(values_.size(), Extent{kInf, -kInf, kInf});
    for (std::size_t i = 0; i < values_.size(); ++i) {
        Extent& e = extents_[i];
        for (int k = 0; k < size_; ++k) {
            const double v = values_[i][static_cast<std::size_t>(slot(k))];
            if (!std::isfinite(v)) continue;
            e.lo = std::min(e.lo, v);
            e.hi = std::max(e.hi, v);
            if (v > 0) e.loPositive = std::min(e.loPositive, v);
        }
    }
    extentsVersion_ = version_;
    return extents_;
}

void CurveView::setLevel(double v, const QString& name) {
    level_ = std::isfinite(v) ? v : kNaN;
    levelName_ = name;
    update();
}

void CurveView::setBars(std::span<const double> first, std::span<const double> second) {
    if (!bars_) return;
    const std::span<const double> given[2] = {first, second};
    for (std::size_t i = 0; i < values_.size(); ++i)
        for (std::size_t k = 0; k < values_[i].size(); ++k) values_[i][k] = i < 2 && k < given[i].size() ? given[i][k] : kNaN;
    ++version_;
}

void CurveView::clear() {
    lastStep_ = 0;
    head_ = 0;
    steps_.clear();
    for (auto& v : values_) v.clear();
    size_ = 0;
    if (bars_) {
        // A bar chart always has its categories; it starts empty of values.
        size_ = static_cast<int>(setup_.categories.size());
        for (int k = 0; k < size_; ++k) steps_.push_back(k);
        for (auto& v : values_) v.assign(static_cast<std::size_t>(size_), kNaN);
    }
    level_ = kNaN;
    hover_ = -1;
    ++version_;
    ++structure_;
    refresh();
}

void CurveView::refresh() {
    setAccessibleDescription(describe());
    if (!isVisible()) return;
    // A batch may hold the thread: the drawing is asked for at once (and may wait, below).
    if (BatchRunner::anyRunning()) repaint();
    else update();
}

QString CurveView::describe() const {
    QStringList parts;
    if (bars_) {
        for (int k = 0; k < size_; ++k) {
            QStringList pair;
            for (std::size_t i = 0; i < values_.size(); ++i)
                if (std::isfinite(value(static_cast<int>(i), k)))
                    pair << setup_.series[i].name + QLatin1Char(' ') + Number(value(static_cast<int>(i), k), setup_.series[i].pattern);
            if (!pair.isEmpty()) parts << setup_.categories[k] + QLatin1Char(' ') + pair.join(QStringLiteral("・"));
        }
        return parts.isEmpty() ? QStringLiteral("まだ値がありません") : QStringLiteral("状態ごとの値：") + parts.join(QStringLiteral("、"));
    }
    if (size_ == 0) return QStringLiteral("まだ値がありません");
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const double v = value(static_cast<int>(i), size_ - 1);
        if (std::isfinite(v)) parts << setup_.series[i].name + QLatin1Char(' ') + Number(v, setup_.series[i].pattern);
    }
    return QStringLiteral("最新の値（%1 %2）：%3").arg(setup_.xTitle).arg(step(size_ - 1)).arg(parts.join(QStringLiteral("、")));
}

// ---- Scales and layout ----

CurveView::Range CurveView::xRange() const {
    if (bars_) return {0, static_cast<double>(std::max(1, size_))};
    if (size_ == 0) return {0, 10};
    const double first = step(0), last = step(size_ - 1);
    // A run from its start shows step 0 at the left; a long run shows what it keeps, from a
    // tick before its first point, so that the scale moves only now and then as it goes on.
    const double tick = NiceStep(last - first + 1, 5);
    const double x0 = first <= 1 ? 0 : std::floor(first / tick) * tick;
    return {x0, x0 + std::max(NiceCeil(last - x0 + 1), 10.0)};
}

CurveView::Range CurveView::yRange(bool right) const {
    const bool log = log_ && !right;
    double lo = kInf, hi = -kInf;
    const std::vector<Extent>& e = extents();
    for (std::size_t i = 0; i < setup_.series.size(); ++i) {
        if (setup_.series[i].right != right) continue;
        lo = std::min(lo, log ? e[i].loPositive : e[i].lo);
        hi = std::max(hi, e[i].hi);
    }
    if (!right && std::isfinite(level_) && (!log || level_ > 0)) {
        lo = std::min(lo, level_);
        hi = std::max(hi, level_);
    }
    if (log) {
        if (!(lo <= hi) || !(hi > 0)) return {-2, 0};  // in powers of ten: 0.01 to 1
        const double a = std::floor(std::log10(lo)), b = std::ceil(std::log10(hi));
        return {a, b > a ? b : a + 1};
    }
    if (!(lo <= hi)) return {0, 1};
    // Zero is always on the axis; a value a hair below it (a rounding error's worth of the
    // span) is drawn at the axis rather than open a whole tick below.
    if (lo > 0 || -lo < 1e-4 * (hi - lo)) lo = 0;
    hi = std::max(hi, 0.0);
    if (hi - lo <= 0) hi = lo + 1;
    // A little room beyond the extremes, so that no line runs along the frame.
    const double room = 0.02 * (hi - lo);
    if (hi > 0) hi += room;
    if (lo < 0) lo -= room;
    const double stepY = NiceStep(hi - lo, 4);
    return {std::floor(lo / stepY) * stepY, std::ceil(hi / stepY - 1e-9) * stepY};
}

double CurveView::toX(double s, const QRect& r, Range x) const { return r.left() + (s - x.lo) / (x.hi - x.lo) * r.width(); }

double CurveView::toY(double v, const QRect& r, Range y, bool log) const {
    const double t = log ? std::log10(v) : v;
    return r.bottom() + 1 - (t - y.lo) / (y.hi - y.lo) * r.height();
}

namespace {

// The tick values of an axis: linear ones at a nice step, or the powers of ten of a
// logarithmic one (every second or third when there are many).
std::vector<double> Ticks(double lo, double hi, bool log) {
    std::vector<double> ticks;
    if (log) {
        const int n = static_cast<int>(hi - lo);
        const int every = n > 12 ? 3 : n > 6 ? 2 : 1;
        for (int e = static_cast<int>(lo); e <= static_cast<int>(hi); e += every) ticks.push_back(e);
        return ticks;
    }
    const double s = NiceStep(hi - lo, 4);
    for (double k = std::ceil(lo / s - 1e-9); k * s <= hi + s * 1e-9; k += 1) ticks.push_back(k * s);
    return ticks;
}

QString TickText(double t, bool log) { return log ? Tick(std::pow(10.0, t)) : Tick(t); }

int WidestTick(const QFontMetrics& fm, double lo, double hi, bool log) {
    int w = 0;
    for (double t : Ticks(lo, hi, log)) w = std::max(w, fm.horizontalAdvance(TickText(t, log)));
    return w;
}

}  // namespace

bool CurveView::anyRight() const {
    return std::any_of(setup_.series.begin(), setup_.series.end(), [](const CurveSeries& s) { return s.right; });
}

QRect CurveView::plotRect(Range left, Range right) const {
    const QFontMetrics fm(font()), sm(SmallFont(font()));
    const bool legend = setup_.series.size() > 1 || std::isfinite(level_);
    const int titleRow = std::max(fm.height(), chkLog->isVisible() ? chkLog->sizeHint().height() : 0);
    const int top = kPad + titleRow + (legend ? sm.height() + 4 : 0) + sm.height() / 2 + 4;
    const int bottom = kPad + sm.height() + 4 + (setup_.xTitle.isEmpty() || bars_ ? 0 : sm.height() + 2);
    const int leftW = kPad + WidestTick(sm, left.lo, left.hi, log_) + 6;
    const int rightW = anyRight() ? kPad + WidestTick(sm, right.lo, right.hi, false) + 6 : kPad + 12;
    return QRect(QPoint(leftW, top), QPoint(width() - rightW - 1, height() - bottom - 1));
}

const CurveView::Layout& CurveView::layout() {
    const QSize size = this->size();
    const qreal dpr = devicePixelRatioF();
    const Range x = xRange(), left = yRange(false), right = anyRight() ? yRange(true) : Range{};
    const bool sameLevel = level_ == layout_.level || (std::isnan(level_) && std::isnan(layout_.level));
    Layout& l = layout_;
    if (l.valid && l.size == size && l.dpr == dpr && l.x == x && l.left == left && l.right == right && l.log == log_ &&
        sameLevel && l.levelName == levelName_)
        return l;
    l.valid = true;
    l.size = size;
    l.dpr = dpr;
    l.x = x;
    l.left = left;
    l.right = right;
    l.log = log_;
    l.level = level_;
    l.levelName = levelName_;
    l.plot = plotRect(left, right);
    l.chrome = QPixmap(size * dpr);
    l.chrome.setDevicePixelRatio(dpr);
    QPainter p(&l.chrome);
    paintChrome(p, l);
    return l;
}

void CurveView::changeEvent(QEvent* e) {
    // Another font, palette or style: the frame is drawn again.
    layout_.valid = false;
    QWidget::changeEvent(e);
}

void CurveView::resizeEvent(QResizeEvent* e) {
    chkLog->adjustSize();
    chkLog->move(width() - chkLog->width() - kPad, kPad - 2);
    QWidget::resizeEvent(e);
}

// ---- Columns ----

void CurveColumns::reset(int width, double x0, double x1, bool log) {
    columns_.assign(static_cast<std::size_t>(std::max(1, width)), Column{});
    width_ = width;
    x0_ = x0;
    x1_ = x1;
    scale_ = columns_.size() / (x1 - x0);
    log_ = log;
    gapPending_ = false;
}

void CurveColumns::place(double step, double value) {
    if (!std::isfinite(value) || (log_ && value <= 0)) {
        gapPending_ = true;
        return;
    }
    const int last = static_cast<int>(columns_.size()) - 1;
    const double at = (step - x0_) * scale_;
    Column& k = columns_[static_cast<std::size_t>(at <= 0 ? 0 : at >= last ? last : static_cast<int>(at))];
    if (!k.any) {
        k = {value, value, value, value, true, gapPending_};
    } else {
        k.last = value;
        k.lo = std::min(k.lo, value);
        k.hi = std::max(k.hi, value);
    }
    gapPending_ = false;
}

const std::vector<CurveColumns::Column>& CurveView::columns(int series, const QRect& r, Range x) {
    ColumnCache& c = cache_[static_cast<std::size_t>(series)];
    const int width = std::max(1, static_cast<int>(std::lround(r.width() * devicePixelRatioF())));
    const bool log = log_ && !setup_.series[static_cast<std::size_t>(series)].right;
    const bool same = c.columns.covers(width, x.lo, x.hi, log);
    if (same && c.version == version_) return c.columns.columns();
    // Points added at the end since, with nothing else changed: only they are placed.
    const int from = same && c.structure == structure_ ? c.size : 0;
    if (from == 0) c.columns.reset(width, x.lo, x.hi, log);
    const std::vector<double>& v = values_[static_cast<std::size_t>(series)];
    for (int i = from; i < size_; ++i) {
        const auto s = static_cast<std::size_t>(slot(i));
        c.columns.place(steps_[s], v[s]);
    }
    c.version = version_;
    c.structure = structure_;
    c.size = size_;
    return c.columns.columns();
}

// ---- Drawing ----

void CurveView::paintEvent(QPaintEvent*) {
    // During a batch, a drawing that comes too soon after the last one leaves the picture as
    // it was (the widget paints every pixel, so they are all still there) and is made up a
    // little later.
    const bool drawnAsIs = sincePaint_.isValid() && layout_.valid && layout_.size == size() &&
                           layout_.dpr == devicePixelRatioF();
    if (BatchRunner::anyRunning() && drawnAsIs && !plain_ &&
        sincePaint_.nsecsElapsed() < std::max(kPaintShare * paintCost_, kRunPaintPeriod)) {
        if (!owed_) {
            owed_ = true;
            QTimer::singleShot(std::chrono::milliseconds(kRunPaintPeriod / 1'000'000), this, [this] {
                owed_ = false;
                update();
            });
        }
        return;
    }
    QElapsedTimer cost;
    cost.start();
    paintAll();
    paintCost_ = cost.nsecsElapsed();
    sincePaint_.start();
}

void CurveView::paintAll() {
    const Layout& l = layout();
    QPainter p(this);
    p.drawPixmap(0, 0, l.chrome);
    const QRect r = l.plot;
    if (r.width() < 8 || r.height() < 8) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (bars_) paintBars(p, l);
    else paintCurve(p, l);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ToQColor(kBlack), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    if (hasFocus() && !plain_) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(-3, -3, 3, 3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

// Everything but the values: background, title, legend, axes with their grid and labels,
// and the level line.
void CurveView::paintChrome(QPainter& p, const Layout& l) {
    const QRect r = l.plot;
    p.fillRect(QRect(QPoint(0, 0), l.size), palette().color(QPalette::Window));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(kPad, kPad, l.size.width() - 2 * kPad, QFontMetrics(font()).height()), Qt::AlignLeft | Qt::AlignVCenter,
               setup_.title);
    paintLegend(p);
    if (r.width() < 8 || r.height() < 8) return;
    p.fillRect(r, Qt::white);
    paintAxis(p, r, l.left, false, l.log && !bars_);
    if (anyRight()) paintAxis(p, r, l.right, true, false);

    const QFont small = SmallFont(font());
    const QFontMetrics sm(small);
    p.setFont(small);
    p.setPen(palette().color(QPalette::WindowText));
    if (bars_) {
        const double group = static_cast<double>(r.width()) / std::max(1, size_);
        for (int k = 0; k < size_; ++k)
            p.drawText(QRectF(r.left() + group * k, r.bottom() + 3, group, sm.height() + 2), Qt::AlignCenter, setup_.categories[k]);
        p.setFont(font());
        return;
    }
    // Steps along the bottom.
    const double stepX = std::max(1.0, NiceStep(l.x.hi - l.x.lo, 5));
    for (double k = std::ceil(l.x.lo / stepX - 1e-9); k * stepX <= l.x.hi + 1e-9; k += 1) {
        const double px = toX(k * stepX, r, l.x);
        p.setPen(QPen(ToQColor(kGridGray), 1));
        p.drawLine(QPointF(px, r.top()), QPointF(px, r.bottom()));
        p.setPen(palette().color(QPalette::WindowText));
        const QString text = Tick(k * stepX);
        p.drawText(QPointF(px - sm.horizontalAdvance(text) / 2.0, r.bottom() + 4 + sm.ascent()), text);
    }
    if (!setup_.xTitle.isEmpty())
        p.drawText(QRect(r.left(), r.bottom() + 4 + sm.height(), r.width(), sm.height() + 2), Qt::AlignCenter, setup_.xTitle);
    p.setFont(font());
    if (std::isfinite(l.level) && (!l.log || l.level > 0)) {
        const double py = toY(l.level, r, l.left, l.log);
        p.setPen(QPen(ToQColor(kCrimson), 1.2, Qt::DashLine));
        p.drawLine(QPointF(r.left(), py), QPointF(r.right(), py));
    }
}

void CurveView::paintAxis(QPainter& p, const QRect& r, Range y, bool right, bool log) {
    const QFont small = SmallFont(font());
    const QFontMetrics sm(small);
    p.setFont(small);
    for (double t : Ticks(y.lo, y.hi, log)) {
        const double py = r.bottom() + 1 - (t - y.lo) / (y.hi - y.lo) * r.height();
        if (!right) {
            p.setPen(QPen(ToQColor(kGridGray), 1));
            p.drawLine(QPointF(r.left(), py), QPointF(r.right(), py));
        }
        p.setPen(palette().color(QPalette::WindowText));
        const QString text = TickText(t, log);
        const int w = sm.horizontalAdvance(text);
        const double x = right ? r.right() + 6 : r.left() - 6 - w;
        p.drawText(QPointF(x, py + sm.ascent() / 2.0 - 1), text);
    }
    p.setFont(font());
}

void CurveView::paintCurve(QPainter& p, const Layout& l) {
    const QRect r = l.plot;
    p.save();
    p.setClipRect(r.adjusted(-1, -1, 1, 1));
    for (std::size_t i = 0; i < setup_.series.size(); ++i) {
        const CurveSeries& s = setup_.series[i];
        const Range y = s.right ? l.right : l.left;
        const bool log = l.log && !s.right;
        paintSeries(p, columns(static_cast<int>(i), r, l.x), r, [&](double v) { return toY(v, r, y, log); },
                    ToQColor(s.colour), s.markers);
    }
    p.restore();

    if (hover_ >= 0 && hover_ < size_ && !plain_) {
        const double px = toX(step(hover_), r, l.x);
        p.setPen(QPen(ToQColor(kGridGray), 1, Qt::DashLine));
        p.drawLine(QPointF(px, r.top()), QPointF(px, r.bottom()));
        QStringList lines{QStringLiteral("%1 %2").arg(setup_.xTitle).arg(step(hover_))};
        for (std::size_t i = 0; i < setup_.series.size(); ++i) {
            const CurveSeries& s = setup_.series[i];
            const double v = value(static_cast<int>(i), hover_);
            if (!std::isfinite(v)) continue;
            lines << s.name + QLatin1Char(' ') + Number(v, s.pattern);
            if (l.log && !s.right && v <= 0) continue;
            p.setPen(QPen(ToQColor(s.colour), 1));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(px, toY(v, r, s.right ? l.right : l.left, l.log && !s.right)), 3.5, 3.5);
        }
        paintReadout(p, r, lines);
    }
}

void CurveView::paintSeries(QPainter& p, const std::vector<CurveColumns::Column>& cols, const QRect& r,
                            const std::function<double(double)>& y, const QColor& colour, bool markers) {
    const double dpr = devicePixelRatioF();
    auto at = [&](std::size_t c) { return r.left() + (static_cast<double>(c) + 0.5) / dpr; };
    p.setBrush(colour);
    if (markers) {
        p.setPen(QPen(colour, 1));
        for (std::size_t c = 0; c < cols.size(); ++c) {
            if (!cols[c].any) continue;
            p.drawEllipse(QPointF(at(c), y(cols[c].lo)), 2.5, 2.5);
            if (cols[c].hi != cols[c].lo) p.drawEllipse(QPointF(at(c), y(cols[c].hi)), 2.5, 2.5);
        }
        return;
    }
    const bool dense = std::any_of(cols.begin(), cols.end(), [](const CurveColumns::Column& k) { return k.lo != k.hi; });
    if (!dense) {
        // A point to a column at most: one line through them. Bevelled joins, since a round
        // one shows as a bump on a line that runs level.
        p.setPen(QPen(colour, kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        QPolygonF line;
        auto flush = [&] {
            if (line.size() == 1) p.drawEllipse(line[0], kLineWidth, kLineWidth);
            else if (line.size() > 1) p.drawPolyline(line);
            line.clear();
        };
        for (std::size_t c = 0; c < cols.size(); ++c) {
            if (!cols[c].any) continue;
            if (cols[c].gapBefore) flush();
            line << QPointF(at(c), y(cols[c].first));
        }
        flush();
        return;
    }
    // Many points to a column: each column's span as a plain bar as wide as the line, and a
    // line from each column's last value to the next one's first. The bars cost little to
    // fill however tall, so a ragged curve takes no longer than a line through its columns;
    // they also cover the lines' ends, which can then be flat (round ends cost the most).
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    for (std::size_t c = 0; c < cols.size(); ++c) {
        const CurveColumns::Column& k = cols[c];
        if (!k.any) continue;
        const double top = y(k.hi), bottom = y(k.lo);
        p.drawRect(QRectF(at(c) - kLineWidth / 2, top - kLineWidth / 2, kLineWidth, bottom - top + kLineWidth));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    QVector<QLineF> joins;
    std::size_t previous = cols.size();
    for (std::size_t c = 0; c < cols.size(); ++c) {
        const CurveColumns::Column& k = cols[c];
        if (!k.any) continue;
        const bool joined = previous < cols.size() && !k.gapBefore;
        if (joined) joins << QLineF(at(previous), y(cols[previous].last), at(c), y(k.first));
        else if (k.lo == k.hi && (c + 1 >= cols.size() || !cols[c + 1].any || cols[c + 1].gapBefore))
            p.drawEllipse(QPointF(at(c), y(k.lo)), kLineWidth, kLineWidth);  // a point alone
        previous = c;
    }
    p.setPen(QPen(colour, kLineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLines(joins);
}

void CurveView::paintBars(QPainter& p, const Layout& l) {
    const QRect r = l.plot;
    const double group = static_cast<double>(r.width()) / std::max(1, size_);
    const double bar = group * 0.34;
    p.setPen(Qt::NoPen);
    for (int k = 0; k < size_; ++k) {
        const double centre = r.left() + group * (k + 0.5);
        for (std::size_t i = 0; i < values_.size() && i < 2; ++i) {
            const double v = value(static_cast<int>(i), k);
            if (!std::isfinite(v)) continue;
            const double top = toY(std::max(v, l.left.lo), r, l.left, false);
            p.setBrush(ToQColor(setup_.series[i].colour));
            p.drawRect(QRectF(centre + (i == 0 ? -bar : 0.0), top, bar, r.bottom() + 1 - top));
        }
    }
    if (hover_ >= 0 && hover_ < size_ && !plain_) {
        QStringList lines{setup_.categories[hover_]};
        for (std::size_t i = 0; i < values_.size(); ++i) {
            const double v = value(static_cast<int>(i), hover_);
            if (std::isfinite(v)) lines << setup_.series[i].name + QLatin1Char(' ') + Number(v, setup_.series[i].pattern);
        }
        paintReadout(p, r, lines);
    }
}

void CurveView::paintReadout(QPainter& p, const QRect& r, const QStringList& lines) {
    const QFontMetrics fm(font());
    int w = 0;
    for (const QString& l : lines) w = std::max(w, fm.horizontalAdvance(l));
    const QRect box(r.left() + 6, r.top() + 6, w + 12, fm.height() * static_cast<int>(lines.size()) + 8);
    p.setPen(QPen(ToQColor(kGridGray), 1));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(box);
    p.setPen(palette().color(QPalette::WindowText));
    for (qsizetype i = 0; i < lines.size(); ++i)
        p.drawText(QPoint(box.left() + 6, box.top() + 4 + fm.ascent() + fm.height() * static_cast<int>(i)), lines[i]);
}

void CurveView::paintLegend(QPainter& p) {
    p.save();
    const bool legend = setup_.series.size() > 1 || std::isfinite(level_);
    if (!legend) return;
    const QFont small = SmallFont(font());
    const QFontMetrics sm(small), fm(font());
    p.setFont(small);
    const int titleRow = std::max(fm.height(), chkLog->isVisible() ? chkLog->sizeHint().height() : 0);
    const double y = kPad + titleRow + 2 + sm.height() / 2.0;
    double x = kPad;
    auto entry = [&](const QString& name, const QPen& pen, bool dot) {
        p.setPen(pen);
        p.setBrush(pen.color());
        if (dot) p.drawEllipse(QPointF(x + kChip / 2.0, y), 3, 3);
        else if (bars_) p.drawRect(QRectF(x + 2, y - 5, kChip - 4, 10));
        else p.drawLine(QPointF(x, y), QPointF(x + kChip, y));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QPointF(x + kChip + 4, y + sm.ascent() / 2.0 - 1), name);
        x += kChip + 4 + sm.horizontalAdvance(name) + 14;
    };
    for (const CurveSeries& s : setup_.series)
        entry(s.right ? QStringLiteral("%1（右の目盛）").arg(s.name) : s.name, QPen(ToQColor(s.colour), 2), s.markers);
    if (std::isfinite(level_) && !levelName_.isEmpty())
        entry(QStringLiteral("%1 %2").arg(levelName_, Tick(level_)), QPen(ToQColor(kCrimson), 1.2, Qt::DashLine), false);
    p.restore();
}

// ---- Pointer, keys, clipboard ----

int CurveView::hoverIndex(int px) const {
    const QRect r = layout_.valid ? layout_.plot : plotRect(yRange(false), anyRight() ? yRange(true) : Range{});
    if (size_ == 0 || px < r.left() || px > r.right()) return -1;
    if (bars_) return std::clamp(static_cast<int>((px - r.left()) * size_ / std::max(1, r.width())), 0, size_ - 1);
    const Range x = xRange();
    const double s = x.lo + (px - r.left()) * (x.hi - x.lo) / r.width();
    // The first point at or after s, then whichever of it and the one before is nearer.
    int lo = 0, hi = size_;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (step(mid) < s) lo = mid + 1;
        else hi = mid;
    }
    if (lo == size_) return size_ - 1;
    if (lo > 0 && s - step(lo - 1) < step(lo) - s) return lo - 1;
    return lo;
}

void CurveView::mouseMoveEvent(QMouseEvent* e) {
    const int h = hoverIndex(static_cast<int>(e->position().x()));
    if (h != hover_) {
        hover_ = h;
        update();
    }
}

void CurveView::leaveEvent(QEvent*) {
    if (hover_ < 0) return;
    hover_ = -1;
    update();
}

void CurveView::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        copyPicture();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CurveView::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("画像をコピー"), this, &CurveView::copyPicture);
    menu.exec(e->globalPos());
}

QImage CurveView::picture() {
    // Without the pointer's readout or the focus frame: the curve as a worksheet shows it.
    plain_ = true;
    const QImage image = grab().toImage();
    plain_ = false;
    return image;
}

void CurveView::copyPicture() { QApplication::clipboard()->setImage(picture()); }

}  // namespace kv
