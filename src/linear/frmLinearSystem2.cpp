#include "linear/frmLinearSystem2.h"

namespace kv {

frmLinearSystem2::frmLinearSystem2()
    : frmLinearSystem1("frmLinearSystem2", QStringLiteral("線形システムの学習（逐次更新学習法）"), linear::Update::Sequential) {}

}  // namespace kv
