#include "markov/frmMarKovModel5.h"

namespace kv {

frmMarKovModel5::frmMarKovModel5()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel5"),
          .caption = QStringLiteral("マルコフ(Markov)モデルの状態遷移(到達条件成立）"),
          .picture = QSize(900, 600),
          .nodes = {
              {{0.12, 0.19}, "128", QStringLiteral("Node 0"), 90},
              {{0.5, 0.19}, "0", QStringLiteral("Node 1"), 90},
              {{0.5, 0.81}, "0", QStringLiteral("Node 2"), 270},
              {{0.12, 0.81}, "0", QStringLiteral("Node3"), 270},
              {{0.88, 0.5}, "0", QStringLiteral("Node 4"), 90},
          },
          .arcs = {{0, 1, "1.0", -0.1}, {1, 2, "1.0", 0.1}, {2, 3, "0.5", -0.1}, {3, 0, "1.0", -0.1}, {2, 4, "0.5", 0.1},
                   {4, 1, "1.0", 0.1}},
          .tolerance = 0.000001,
          .formatWhenSettled = true,
      }) {}

}  // namespace kv
