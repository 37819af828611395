#include "matrix.h"

#include <algorithm>
#include <cmath>

namespace kv {

TAspectMatrix Aspect_Matrix{};

void Cross_Aspects(TChart First, TChart Second, TAspectMatrix& Matrix) {
  for (int i = 1; i <= kBodies; ++i) {
    for (int j = 1; j <= kBodies; ++j) {
      const double orb = std::max(Orb_Table[i], Orb_Table[j]);
      double d = std::fabs(First[i].Lon - Second[j].Lon);
      if (d > 180) d = 360 - d;

      // The orbs are narrower than half the gap between two aspect angles,
      // so at most one test passes.
      std::int32_t code = kNoAspect;
      if (std::fabs(d) <= orb) code = kConjunction;
      if (std::fabs(d - 60) <= orb) code = kSextile;
      if (std::fabs(d - 90) <= orb) code = kSquare;
      if (std::fabs(d - 120) <= orb) code = kTrine;
      if (std::fabs(d - 180) <= orb) code = kOpposition;
      if (i == 2 || j == 2) code = kNoAspect;
      Matrix[i][j] = code;
    }
  }
}

}  // namespace kv
