// Learning y = a x with a corrected after each sample in turn: the batch window with the
// per-sample rule and its shorter formula strip.
#pragma once

#include "linear/frmLinearSystem1.h"

namespace kv {

class frmLinearSystem2 : public frmLinearSystem1 {
    Q_OBJECT
public:
    frmLinearSystem2();
};

}  // namespace kv
