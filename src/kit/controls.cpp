#include "kit/controls.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "plot/PlotSurface.h"

namespace kv {

namespace {
QPalette::ColorRole BackRole(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) ? QPalette::Base : QPalette::Window;
}
QPalette::ColorRole ForeRole(const QWidget* w) {
    if (qobject_cast<const QLineEdit*>(w)) return QPalette::Text;
    if (qobject_cast<const QPushButton*>(w)) return QPalette::ButtonText;
    return QPalette::WindowText;
}
}  // namespace

void SetBackColor(QWidget* w, Rgb c) {
    QPalette p = w->palette();
    p.setColor(BackRole(w), ToQColor(c));
    w->setPalette(p);
    if (!qobject_cast<QLineEdit*>(w)) w->setAutoFillBackground(true);
}

Rgb BackColor(const QWidget* w) { return FromQColor(w->palette().color(BackRole(w))); }

void SetForeColor(QWidget* w, Rgb c) {
    QPalette p = w->palette();
    p.setColor(ForeRole(w), ToQColor(c));
    w->setPalette(p);
}

Rgb ForeColor(const QWidget* w) { return FromQColor(w->palette().color(ForeRole(w))); }

void SetText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
    box->setCursorPosition(0);
}

Decoration::Decoration(QWidget* parent, const QString& name, int width)
    : QWidget(parent), colour_(FromQColor(palette().color(QPalette::WindowText))), width_(std::max(1, width)) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Decoration::setBorderColor(Rgb c) {
    colour_ = c;
    update();
}

void Decoration::setBorderWidth(int w) {
    width_ = std::max(1, w);
    widthChanged();
}

QPen Decoration::pen() const { return QPen(ToQColor(colour_), width_); }

LineShape::LineShape(QWidget* parent, const QString& name, QPoint from, QPoint to, int width)
    : Decoration(parent, name, width), from_(from), to_(to) {
    place();
}

void LineShape::place() {
    const int m = borderWidth() + 1;
    setGeometry(QRect(from_, to_).normalized().adjusted(-m, -m, m, m));
    update();
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen());
    p.drawLine(from_ - pos(), to_ - pos());
}

ShapeWidget::ShapeWidget(QWidget* parent, const QString& name, QRect geometry, Kind kind)
    : Decoration(parent, name, 1), kind_(kind) {
    setGeometry(geometry);
}

void ShapeWidget::setFill(bool filled, Rgb c) {
    filled_ = filled;
    fill_ = c;
    update();
}

// Whether the area lies inside the outline of r, clear of its stroke: a box redrawn
// inside a unit's circle then leaves the circle undrawn, which would change no pixel.
static bool InsideOutline(ShapeWidget::Kind kind, const QRectF& r, const QRectF& area, qreal clearance) {
    if (kind != ShapeWidget::kEllipse) {
        const qreal corner = kind == ShapeWidget::kRoundedRectangle ? 12 : 0;
        return r.adjusted(clearance + corner, clearance + corner, -clearance - corner, -clearance - corner).contains(area);
    }
    // A point at (x/a)^2 + (y/b)^2 = s^2 inside the ellipse lies at least (1 - s) b from
    // it, b the shorter half-axis; the largest s over a box is at one of its corners.
    const qreal a = r.width() / 2, b = r.height() / 2, shorter = std::min(a, b);
    if (shorter <= clearance) return false;
    const qreal most = (1 - clearance / shorter) * (1 - clearance / shorter);
    for (const QPointF& c : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        const qreal x = (c.x() - r.center().x()) / a, y = (c.y() - r.center().y()) / b;
        if (x * x + y * y > most) return false;
    }
    return true;
}

void ShapeWidget::paintEvent(QPaintEvent* event) {
    const qreal h = borderWidth() / 2.0 + 0.5;
    const QRectF r = QRectF(rect()).adjusted(h, h, -h, -h);
    // The stroke reaches half its width and a pixel of smoothing beyond the outline.
    if (!filled_ && InsideOutline(kind_, r, QRectF(event->rect()), borderWidth() / 2.0 + 2)) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen());
    if (filled_) p.setBrush(ToQColor(fill_));
    switch (kind_) {
        case kRectangle: p.drawRect(r); break;
        case kEllipse: p.drawEllipse(r); break;
        case kRoundedRectangle: p.drawRoundedRect(r, 12, 12); break;
    }
}

void ScaleFont(QWidget* w, double factor) {
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() * factor);
    w->setFont(f);
}

namespace {
// Calls its handler for one kind of event and lets the control handle the event as usual.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, QEvent::Type type, std::function<void()> handler)
        : QObject(parent), type_(type), handler_(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) handler_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};
}  // namespace

void OnDoubleClick(QWidget* control, std::function<void()> handler) {
    control->installEventFilter(new EventHook(control, QEvent::MouseButtonDblClick, std::move(handler)));
}

namespace {
class ClickHook : public QObject {
public:
    ClickHook(QWidget* control, std::function<void()> handler) : QObject(control), control_(control), handler_(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            // Space and Return click the control from the keyboard, as they press a button.
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            const int k = key->key();
            if (!plain || (k != Qt::Key_Space && k != Qt::Key_Return && k != Qt::Key_Enter)) return false;
            if (!key->isAutoRepeat()) handler_();
            return true;
        }
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick) return false;
        control_->setFocus(Qt::MouseFocusReason);
        if (event->type() == QEvent::MouseButtonPress) handler_();
        return true;
    }

private:
    QWidget* control_;
    std::function<void()> handler_;
};
}  // namespace

void OnClick(QWidget* control, std::function<void()> handler) {
    control->installEventFilter(new ClickHook(control, std::move(handler)));
    control->setProperty("spaceClicks", true);
}

QString ArrayName(const QString& name, int index) { return QStringLiteral("%1(%2)").arg(name).arg(index); }

namespace {
// A control of type T with its text, named and placed in `parent`.
template <typename T>
T* Placed(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* c = new T(text, parent);
    c->setObjectName(name);
    c->setGeometry(geometry);
    return c;
}
}  // namespace

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry, Qt::Alignment align) {
    QLabel* l = Placed<QLabel>(parent, name, caption, geometry);
    l->setAlignment(align);
    return l;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    return Placed<QLineEdit>(parent, name, text, geometry);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    return Placed<QPushButton>(parent, name, caption, geometry);
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    return Placed<QGroupBox>(parent, name, caption, geometry);
}

QLabel* MakeFramedLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    QLabel* l = MakeLabel(parent, name, caption, geometry, Qt::AlignCenter);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    return l;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    return Placed<QCheckBox>(parent, name, caption, geometry);
}

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    return Placed<QRadioButton>(parent, name, caption, geometry);
}

PlotSurface* MakePlot(QWidget* parent, QPoint at, QSize pixels, const QString& spokenName, const QString& description,
                      const QString& name) {
    auto* p = new PlotSurface(parent, pixels);
    p->setObjectName(name);
    p->setAccessibleName(spokenName);
    p->setAccessibleDescription(description);
    p->move(at);
    return p;
}

void TieLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(label->text());
}

QLineEdit* MakeLabelledBox(QWidget* parent, const QString& labelName, const QString& caption, QRect labelGeometry,
                           const QString& boxName, const QString& text, QRect boxGeometry, Qt::Alignment align) {
    QLabel* label = MakeLabel(parent, labelName, caption, labelGeometry, align);
    QLineEdit* box = MakeBox(parent, boxName, text, boxGeometry);
    TieLabel(label, box);
    return box;
}

std::vector<QLineEdit*> MakeBoxRows(QWidget* parent, const RowGrid& grid, std::initializer_list<BoxRow> rows) {
    std::vector<QLineEdit*> boxes;
    QPoint at = grid.at;
    for (const BoxRow& r : rows) {
        const QRect label(at, QSize(grid.labelWidth, grid.height));
        const QRect box(QPoint(label.right() + 1 + grid.gap, at.y()), QSize(grid.boxWidth, grid.height));
        boxes.push_back(MakeLabelledBox(parent, r.label, r.caption, label, r.box, r.text, box, grid.labelAlign));
        if (r.into) *r.into = boxes.back();
        at.ry() += grid.pitch;
    }
    return boxes;
}

}  // namespace kv
