// A single directed loop of three nodes: the whole quantity goes round and never settles.
#pragma once

#include "markov/frmMarKovModel.h"

namespace kv {

class frmMarKovModel2 : public frmMarKovModel {
    Q_OBJECT
public:
    frmMarKovModel2();
};

}  // namespace kv
