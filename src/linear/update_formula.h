// The picture of the update rule beside "（パラメータ更新式）": a = a + ε Σ (y_i − a x_i) x_i
// with the sum running from i=1 to L, or the per-sample rule without the sum.
#pragma once

#include <QWidget>

#include "linear/linear_model.h"

namespace kv::linear {

class UpdateFormula : public QWidget {
    Q_OBJECT
public:
    UpdateFormula(QWidget* parent, Update rule, QRect geometry);

    // The height the picture needs (the sum's limits make it taller).
    static int HeightFor(Update rule);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Update rule_;
};

}  // namespace kv::linear
