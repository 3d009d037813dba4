#include "markov/frmMarKovModel4.h"

namespace kv {

frmMarKovModel4::frmMarKovModel4()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel4"),
          .caption = QStringLiteral("マルコフ(Markov)モデルの状態遷移"),
          .picture = QSize(640, 500),
          .nodes = {
              {{0.18, 0.2}, "0", QStringLiteral("Node 0"), 90},
              {{0.55, 0.5}, "100", QStringLiteral("Node 1"), 90},
              {{0.18, 0.8}, "0", QStringLiteral("Node 2"), 270},
              {{0.87, 0.5}, "0", QStringLiteral("Node3"), 90},
          },
          .arcs = {{0, 1, "1.0", -0.12}, {1, 2, "0.5", -0.12}, {2, 0, "1.0", -0.12}, {1, 3, "0.5", 0.2}, {3, 1, "1.0", 0.2}},
          .tolerance = 0.000001,
          .formatWhenSettled = true,
      }) {}

}  // namespace kv
