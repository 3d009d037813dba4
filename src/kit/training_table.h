// The "訓練データ" frame of the learning windows: a heading over each column, one text box
// per pattern and column (read out as "訓練データ 2行目の入力 1"), and the hint below about
// double-clicking a row. The boxes are one stop of the window's Tab chain, walked by the
// arrow keys (kit/tab_chain.h).
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QGroupBox;
class QLineEdit;
class QWidget;

namespace kv {

class TableStop;

struct TrainingTableLayout {
    QRect frame;                 // in the widget the table is placed in
    QString frameName = QStringLiteral("Frame1");
    QString headingName;         // control array of the column headings
    QString hintName;
    int left = 12;               // first column, inside the frame
    int columnPitch = 56, boxWidth = 48, boxHeight = 24;
    int headingTop = 24, headingHeight = 20;
    int rowTop = 46, rowPitch = 26;
    int hintTop = 206, hintHeight = 52;
};

struct TrainingColumn {
    QString name;      // control array of the column's boxes, e.g. "txtTrain1"
    QString heading;
    QString spoken;    // what a screen reader calls the column ("入力 1" under the heading "1")
    QString tip;       // the tooltip of its boxes
};

class TrainingTable {
public:
    // `value(column, row)` gives each box's default text.
    TrainingTable(QWidget* parent, const TrainingTableLayout& layout, const std::vector<TrainingColumn>& columns, int rows,
                  const std::function<QString(int column, int row)>& value);

    QGroupBox* frame() const { return frame_; }
    int columns() const { return static_cast<int>(boxes_.size()); }
    int rows() const { return rows_; }
    // The box of `column` and `row`; both must be in range.
    QLineEdit* box(int column, int row) const;
    // Every box, column by column.
    std::vector<QLineEdit*> all() const;
    // Return in a box of row `row` calls `run(row)`: what double-clicking the row does.
    void onReturn(std::function<void(int row)> run) const;

private:
    QGroupBox* frame_;
    TableStop* stop_;
    int rows_;
    std::vector<std::vector<QLineEdit*>> boxes_;
};

}  // namespace kv
