// Controls shared by every window: colour access through the palette, decoration lines
// and shapes whose colour and width a test can read, and small builders for the
// absolutely placed controls that demonstration diagrams are made of.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "plot/colors.h"
#include "plot/qt_forms.h"

namespace kv {

class PlotSurface;

// Background: the base colour of a text box, the window colour of anything else.
void SetBackColor(QWidget* w, Rgb c);
Rgb BackColor(const QWidget* w);
// The text colour of a box, a button's caption, and the window text of anything else.
void SetForeColor(QWidget* w, Rgb c);
Rgb ForeColor(const QWidget* w);

// Writes a number text (from the shared number-text functions) into a box, scrolled to
// its first character: a number too long for the box must not show only its tail.
void SetText(QLineEdit* box, const std::string& text);

// A decoration drawn in one colour and width: lines, and the circles and boxes standing for
// units. Colour and width are also Qt properties ("borderColor", "borderWidth"), so any tool
// can read them by name. Decorations let the mouse through to what lies under them.
class Decoration : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor borderColor READ borderQColor WRITE setBorderQColor)
    Q_PROPERTY(int borderWidth READ borderWidth WRITE setBorderWidth)
public:
    Rgb borderColor() const { return colour_; }
    void setBorderColor(Rgb c);
    QColor borderQColor() const { return ToQColor(colour_); }
    void setBorderQColor(const QColor& c) { setBorderColor(FromQColor(c)); }
    int borderWidth() const { return width_; }
    void setBorderWidth(int w);

protected:
    Decoration(QWidget* parent, const QString& name, int width);
    // After a change of width (a line grows its widget so that the stroke is not clipped).
    virtual void widthChanged() { update(); }
    QPen pen() const;

private:
    Rgb colour_;
    int width_;
};

// A straight line between two points of its parent.
class LineShape : public Decoration {
    Q_OBJECT
public:
    LineShape(QWidget* parent, const QString& name, QPoint from, QPoint to, int width = 1);
    QPoint from() const { return from_; }
    QPoint to() const { return to_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void widthChanged() override { place(); }

private:
    void place();
    QPoint from_, to_;
};

// A circle, ellipse or rectangle outline (optionally filled) standing for a unit.
class ShapeWidget : public Decoration {
    Q_OBJECT
public:
    enum Kind { kRectangle, kEllipse, kRoundedRectangle };
    ShapeWidget(QWidget* parent, const QString& name, QRect geometry, Kind kind);
    void setFill(bool filled, Rgb c = kWhite);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Kind kind_;
    bool filled_ = false;
    Rgb fill_ = kWhite;
};

// Scales the control's font by `factor` (formula symbols, subscripts, arrows).
void ScaleFont(QWidget* w, double factor);

// Calls `handler` when the control is double-clicked (text boxes have no such signal).
void OnDoubleClick(QWidget* control, std::function<void()> handler);
// Calls `handler` when a mouse button is pressed on the control: a text box's Click. A press
// (and the double-click event that may follow one) does nothing else but give the control
// the focus, so the box keeps its cursor where the handler put it (a text written with
// SetText shows from its first character, wherever the learner clicked). Space and Return
// on the control call `handler` too, as they press a focused button; its property
// "spaceClicks" says so, for any tool that types into it.
void OnClick(QWidget* control, std::function<void()> handler);

// Name of a control-array member: ArrayName("txtX", 0) == "txtX(0)".
QString ArrayName(const QString& name, int index);

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& text, QRect geometry);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
// A command button that calls `slot` of `receiver` when pressed: the one way windows make
// their buttons.
template <typename Receiver, typename Owner>
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry, Receiver* receiver,
                        void (Owner::*slot)()) {
    QPushButton* b = MakeButton(parent, name, caption, geometry);
    QObject::connect(b, &QPushButton::clicked, receiver, [receiver, slot] { (receiver->*slot)(); });
    return b;
}
// A member of a command-button array: pressing it calls `slot(index)` of `receiver`.
template <typename Receiver, typename Owner>
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, QRect geometry, Receiver* receiver,
                        void (Owner::*slot)(int), int index) {
    QPushButton* b = MakeButton(parent, name, caption, geometry);
    QObject::connect(b, &QPushButton::clicked, receiver, [receiver, slot, index] { (receiver->*slot)(index); });
    return b;
}
// A captioned frame (group box) holding controls.
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
// A label drawn with a frame, as the framed rule labels are.
QLabel* MakeFramedLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption, QRect geometry);
// The plot surface of a window, `pixels` in size with its top-left corner at `at`, with the
// name and the description of what it draws that a screen reader gives for the picture.
PlotSurface* MakePlot(QWidget* parent, QPoint at, QSize pixels, const QString& spokenName, const QString& description,
                      const QString& name = QStringLiteral("Picture1"));

// Makes `label` the name of `control`: its buddy, and the name assistive tools read out.
void TieLabel(QLabel* label, QWidget* control);

// A box with the label that names it, tied to it.
QLineEdit* MakeLabelledBox(QWidget* parent, const QString& labelName, const QString& caption, QRect labelGeometry,
                           const QString& boxName, const QString& text, QRect boxGeometry,
                           Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);

// A panel that is a list of label-and-box rows, declared as data: one BoxRow a row, placed
// down a RowGrid.
struct BoxRow {
    QString label;    // the label's object name
    QString caption;  // its text, which also names the box
    QString box;      // the box's object name
    QString text;     // the box's default text
    QLineEdit** into = nullptr;  // where the window keeps the box, if it does
};
struct RowGrid {
    QPoint at;       // the first label's top-left corner
    int labelWidth;  // labels are right-aligned in this width
    int gap;         // between a label and its box
    int boxWidth;
    int height;  // of a label and of a box
    int pitch;   // from one row's top to the next one's
    Qt::Alignment labelAlign = Qt::AlignRight | Qt::AlignVCenter;
};
// The boxes of the rows, in order (each also stored where its row says).
std::vector<QLineEdit*> MakeBoxRows(QWidget* parent, const RowGrid& grid, std::initializer_list<BoxRow> rows);

}  // namespace kv
