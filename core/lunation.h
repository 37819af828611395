// The mean lunation of the classical low-precision series (epoch 1900
// January 0.5): the synodic month and the fundamental arguments from which
// both the phase table and the eclipse search start.
#pragma once

namespace kv {

inline constexpr long double kSynodicMonth = 29.53058868L;  // days

struct LunationArguments {
  double T = 0;   // Julian centuries from the epoch
  double M = 0;   // Sun's mean anomaly, radians
  double Mp = 0;  // Moon's mean anomaly, radians
  double F = 0;   // Moon's argument of latitude, radians
};

// The arguments of lunation k: an integer for a new moon, + 0.25 for the
// first quarter, + 0.5 for the full moon, + 0.75 for the last quarter.
LunationArguments MeanLunation(double k);

}  // namespace kv
