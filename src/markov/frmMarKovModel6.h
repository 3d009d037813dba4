// Loops of four and two nodes touching at node 1: loop lengths with greatest common divisor
// 2, so the values keep alternating and never settle.
#pragma once

#include "markov/frmMarKovModel.h"

namespace kv {

class frmMarKovModel6 : public frmMarKovModel {
    Q_OBJECT
public:
    frmMarKovModel6();
};

}  // namespace kv
