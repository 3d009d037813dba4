// The five still state-graph pictures of the Markov menu.
#pragma once

#include <QWidget>

namespace kv {

class MarkovDiagram : public QWidget {
    Q_OBJECT
public:
    // `which` 1..5: the diagrams beside Command2, Command4, Command5, Command3, Command6.
    MarkovDiagram(QWidget* parent, int which, QSize size);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int which_;
};

}  // namespace kv
