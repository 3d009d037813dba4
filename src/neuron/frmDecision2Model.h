// The deterministic binary neuron: Y = 1 when S reaches theta.
#pragma once

#include "neuron/NeuronWindow.h"

namespace kv {

class frmDecision2Model : public neuron::NeuronWindow {
    Q_OBJECT
public:
    frmDecision2Model();

protected:
    bool Compute() override;
    void DrawResponse() override;
};

}  // namespace kv
