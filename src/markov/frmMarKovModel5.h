// Loops of four and three nodes touching along two arcs: loop lengths with greatest common
// divisor 1, so the values settle.
#pragma once

#include "markov/frmMarKovModel.h"

namespace kv {

class frmMarKovModel5 : public frmMarKovModel {
    Q_OBJECT
public:
    frmMarKovModel5();
};

}  // namespace kv
