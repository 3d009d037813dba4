#include "kit/training_table.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/tab_chain.h"

namespace kv {

TrainingTable::TrainingTable(QWidget* parent, const TrainingTableLayout& layout, const std::vector<TrainingColumn>& columns,
                             int rows, const std::function<QString(int column, int row)>& value)
    : frame_(MakeFrame(parent, layout.frameName, QStringLiteral("訓練データ"), layout.frame)), rows_(rows) {
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int x = layout.left + c * layout.columnPitch;
        MakeLabel(frame_, ArrayName(layout.headingName, c), columns[c].heading,
                  QRect(x, layout.headingTop, layout.boxWidth, layout.headingHeight), Qt::AlignCenter);
        std::vector<QLineEdit*>& column = boxes_.emplace_back();
        for (int r = 0; r < rows; ++r) {
            column.push_back(MakeBox(frame_, ArrayName(columns[c].name, r), value(c, r),
                                     QRect(x, layout.rowTop + r * layout.rowPitch, layout.boxWidth, layout.boxHeight)));
            Describe(column.back(), QStringLiteral("訓練データ %1行目の%2").arg(r + 1).arg(columns[c].spoken), columns[c].tip);
        }
    }
    QLabel* hint = MakeLabel(frame_, layout.hintName, QStringLiteral("上記でダブルクリックすると，同データを用いた通常実行を行います"),
                             QRect(layout.left, layout.hintTop, layout.frame.width() - 2 * layout.left, layout.hintHeight),
                             Qt::AlignLeft | Qt::AlignTop);
    hint->setWordWrap(true);
    std::vector<std::vector<QLineEdit*>> byRow(static_cast<std::size_t>(rows));
    for (const auto& column : boxes_)
        for (int r = 0; r < rows; ++r) byRow[static_cast<std::size_t>(r)].push_back(column[static_cast<std::size_t>(r)]);
    stop_ = new TableStop(frame_, std::move(byRow));
}

void TrainingTable::onReturn(std::function<void(int row)> run) const { stop_->onReturn(std::move(run)); }

QLineEdit* TrainingTable::box(int column, int row) const {
    return boxes_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

std::vector<QLineEdit*> TrainingTable::all() const {
    std::vector<QLineEdit*> every;
    for (const auto& column : boxes_) every.insert(every.end(), column.begin(), column.end());
    return every;
}

}  // namespace kv
