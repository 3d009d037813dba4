#include "markov/frmMarKovModel5.h"

namespace kv {

frmMarKovModel5::frmMarKovModel5()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel5"),
          .caption = QStringLiteral("マルコフ(Markov)モデルの状態遷移(到達条件成立）"),
          .picture = QSize(640, 500),
          .nodes = {
              {{0.15, 0.2}, "128", QStringLiteral("Node 0"), 90},
              {{0.55, 0.2}, "0", QStringLiteral("Node 1"), 90},
              {{0.55, 0.8}, "0", QStringLiteral("Node 2"), 270},
              {{0.15, 0.8}, "0", QStringLiteral("Node3"), 270},
              {{0.87, 0.5}, "0", QStringLiteral("Node 4"), 90},
          },
          .arcs = {{0, 1, "1.0", -0.1}, {1, 2, "1.0", 0.1}, {2, 3, "0.5", -0.1}, {3, 0, "1.0", -0.1}, {2, 4, "0.5", 0.1},
                   {4, 1, "1.0", 0.1}},
          .tolerance = 0.000001,
          .formatWhenSettled = true,
      }) {}

}  // namespace kv
