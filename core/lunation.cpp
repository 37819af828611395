#include "lunation.h"

#include "calendar.h"
#include "checked.h"

namespace kv {

LunationArguments MeanLunation(double k) {
  const long double kl = k;
  LunationArguments a;
  a.T = Store(kSynodicMonth * kl / 36525.0L);
  const long double T = a.T, T2 = T * T, T3 = T2 * T;
  a.M = ReducedRadians(359.2242L + 29.10535608L * kl - 0.0000333L * T2 - 0.00000347L * T3);
  a.Mp = ReducedRadians(306.0253L + 385.81691806L * kl + 0.0107306L * T2 + 0.00001236L * T3);
  a.F = ReducedRadians(21.2964L + 390.67050646L * kl - 0.0016528L * T2 - 0.00000239L * T3);
  return a;
}

}  // namespace kv
