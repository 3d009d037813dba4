// Information window of the analog neuron: the threshold drawn as the weight w0 = -theta
// of a fourth input fixed at 1. It has no inputs and no handlers.
#pragma once

#include "kit/form.h"

namespace kv {

class frmDecisionAnalogModelElse : public FormWindow {
    Q_OBJECT
public:
    frmDecisionAnalogModelElse();
};

}  // namespace kv
