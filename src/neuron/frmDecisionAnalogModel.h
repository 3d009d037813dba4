// The deterministic analog neuron: Y = sigmoid(S - theta) with gain alpha, and a button
// that opens the window showing the threshold as one more weight.
#pragma once

#include "neuron/AnalogWindow.h"

namespace kv {

class frmDecisionAnalogModel : public neuron::AnalogWindow {
    Q_OBJECT
public:
    frmDecisionAnalogModel();

public slots:
    void Command2_Click();

private:
    QPushButton* Command2;
};

}  // namespace kv
