#pragma once

#include "fieldsel/PiecePlan.h"

#include <QString>

#include <vector>

namespace barlink::app {

// The caption of the plan of one item: the program, its size (or "size unknown") and where
// each piece goes, a mirror piece named as such: "MIR.CNC, 500 × 300 mm: field 3 (S) and its
// mirror in field 4 (A)".
[[nodiscard]] QString planCaption(const QString &program,
                                  const QString &x,
                                  const QString &y,
                                  const std::vector<fieldsel::PlacedPiece> &pieces);

} // namespace barlink::app
