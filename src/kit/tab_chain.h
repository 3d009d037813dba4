// The order Tab takes through a window. A window is read as a page is: top to bottom, left
// to right, one frame after another, a column beside another column read after it. A
// diagram names its own order, along its flow, and is read as one block of the page. A
// large table of boxes is one stop: Tab enters it and leaves it, the arrow keys walk it.
#pragma once

#include <QObject>
#include <QStringList>
#include <QWidgetList>

#include <functional>
#include <vector>

class QLineEdit;
class QWidget;

namespace kv {

// Orders the Tab chain of every control inside `area`. The controls named in `flow` (a
// diagram's order; a name `area` lacks is passed over, so that a base window can name its
// variants' controls) form one block in that order; everything else is read in page order,
// a frame's controls together, a TableStop's boxes as its one stop. The controls in `last`
// come after all of them, in that order.
void ArrangeTabChain(QWidget* area, const QStringList& flow = {}, const QWidgetList& last = {});

// A table of boxes that is one stop in its window's Tab chain: Tab comes to the box last
// visited (the first one at the start). Inside, Up and Down go to the row above or below;
// Left and Right go to the box beside when the caret is at the start or end of the text (or
// the whole text is selected), and otherwise move the caret.
class TableStop : public QObject {
    Q_OBJECT
public:
    // `rows`: the boxes row by row, every row as long as the first. Lives as long as `parent`.
    TableStop(QObject* parent, std::vector<std::vector<QLineEdit*>> rows);

    const std::vector<std::vector<QLineEdit*>>& rows() const { return rows_; }
    // The box Tab comes to.
    QLineEdit* current() const;
    // `run(row)` when Return or Enter is pressed in a box of that row.
    void onReturn(std::function<void(int row)> run) { onReturn_ = std::move(run); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MakeCurrent(int row, int column);
    bool Find(const QObject* box, int& row, int& column) const;

    std::vector<std::vector<QLineEdit*>> rows_;
    int row_ = 0, column_ = 0;
    std::function<void(int)> onReturn_;
};

}  // namespace kv
