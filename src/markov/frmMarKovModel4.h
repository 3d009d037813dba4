// A loop of three nodes sharing node 1 with a loop of two: the values settle.
#pragma once

#include "markov/frmMarKovModel.h"

namespace kv {

class frmMarKovModel4 : public frmMarKovModel {
    Q_OBJECT
public:
    frmMarKovModel4();
};

}  // namespace kv
