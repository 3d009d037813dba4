#include "markov/frmMarKovModel2.h"

namespace kv {

frmMarKovModel2::frmMarKovModel2()
    : frmMarKovModel({
          .name = QStringLiteral("frmMarKovModel2"),
          .caption = QStringLiteral("単一ループ（平衡しない）の例"),
          .picture = QSize(640, 560),
          .nodes = {
              {{0.5, 0.22}, "0", QStringLiteral("Node 0"), 90},
              {{0.8, 0.78}, "48", QStringLiteral("Node 1"), 270},
              {{0.2, 0.78}, "0", QStringLiteral("Node 2"), 270},
          },
          .arcs = {{0, 1, "1", 0.12}, {1, 2, "1", 0.12}, {2, 0, "1", 0.12}},
          .tolerance = 0.0001,
      }) {}

}  // namespace kv
