#include "markov/frmMarKovModel4.h"

namespace kv {

frmMarKovModel4::frmMarKovModel4()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel4"),
          .caption = QStringLiteral("マルコフ(Markov)モデルの状態遷移"),
          .picture = QSize(900, 600),
          .nodes = {
              {{0.12, 0.19}, "0", QStringLiteral("Node 0"), 90},
              {{0.5, 0.5}, "100", QStringLiteral("Node 1"), 90},
              {{0.12, 0.81}, "0", QStringLiteral("Node 2"), 270},
              {{0.88, 0.5}, "0", QStringLiteral("Node3"), 90},
          },
          .arcs = {{0, 1, "1.0", -0.12}, {1, 2, "0.5", -0.12}, {2, 0, "1.0", -0.12}, {1, 3, "0.5", 0.2}, {3, 1, "1.0", 0.2}},
          .tolerance = 0.000001,
          .formatWhenSettled = true,
      }) {}

}  // namespace kv
