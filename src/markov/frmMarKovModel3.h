// Two nodes that cannot be left, fed by two that pass their values on: where the values end
// depends on where they start.
#pragma once

#include "markov/frmMarKovModel.h"

namespace kv {

class frmMarKovModel3 : public frmMarKovModel {
    Q_OBJECT
public:
    frmMarKovModel3();
};

}  // namespace kv
