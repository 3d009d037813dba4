#include "markov/frmMarKovModel2.h"

namespace kv {

frmMarKovModel2::frmMarKovModel2()
    : frmMarKovModel({
          QStringLiteral("frmMarKovModel2"),
          QStringLiteral("単一ループ（平衡しない）の例"),
          QSize(560, 500),
          {
              {{0.5, 0.22}, "0", QStringLiteral("Node 0"), 90},
              {{0.8, 0.75}, "48", QStringLiteral("Node 1"), 270},
              {{0.2, 0.75}, "0", QStringLiteral("Node 2"), 270},
          },
          {{0, 1, "1", 0.12}, {1, 2, "1", 0.12}, {2, 0, "1", 0.12}},
          0.0001,
          kEquilibriumMessage,
          false,
      }) {}

}  // namespace kv
