// The stochastic binary neuron: Y is 1 with the probability sigmoid(S - theta), drawn
// anew at every press; the plot shows that probability.
#pragma once

#include "neuron/AnalogWindow.h"

namespace kv {

class frmRandom2Model : public neuron::AnalogWindow {
    Q_OBJECT
public:
    frmRandom2Model();

protected:
    double Output(double s, double theta, double alpha) override;
};

}  // namespace kv
