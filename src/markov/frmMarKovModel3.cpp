#include "markov/frmMarKovModel3.h"

namespace kv {

frmMarKovModel3::frmMarKovModel3()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel3"),
          .caption = QStringLiteral("2つ以上の抜け出せないノードを持つ状態遷移"),
          .picture = QSize(900, 600),
          .nodes = {
              {{0.5, 0.19}, "10", QStringLiteral("Node 0"), 90},
              {{0.825, 0.5}, "0", QStringLiteral("Node 1"), 90},
              {{0.5, 0.81}, "10", QStringLiteral("Node 2"), 270},
              {{0.175, 0.5}, "0", QStringLiteral("Node 3"), 90},
          },
          .arcs = {
              {1, 1, "1.0", 0, 0},
              {3, 3, "1.0", 0, 180},
              {0, 1, "0.3", -0.1},
              {2, 1, "0.5", 0.1},
              {2, 3, "0.5", -0.1},
              {0, 3, "0.5", 0.1},
              {2, 0, "0.2", 0.2},
              {0, 2, "0.2", 0.2},
          },
          .tolerance = 0,  // only a step that moves nothing at all
          .message = QStringLiteral("新旧状態差が僅かになりました"),
          .note = QStringLiteral("初期状態によって異なる平衡状態に陥るか，拡散状態に陥ることもある。"),
      }) {}

}  // namespace kv
