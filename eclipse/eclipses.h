// The eclipse search: lunation by lunation, the classical low-precision
// series of the mean lunation decide whether each new moon brings a solar
// eclipse and each full moon a lunar one.
#pragma once

#include <cstdint>

#include "core/lunation.h"
#include "core/table.h"

namespace kv {

struct TEclipseData {
  bool Used = false;
  bool Lunar = false;     // false solar, true lunar
  std::uint8_t Kind = 0;  // type code, see below
  double Instant = 0;     // day number of the new or full moon
  double Magnitude = 0;
  double Partial_Hours = 0;  // 0 when not computed
  double Central_Hours = 0;  // central (solar) or total (lunar) phase; 0 when not computed
  double Lon = 0;            // longitude of the Sun (solar) or the Moon (lunar) at Instant
  bool operator==(const TEclipseData&) const = default;
};

// Type codes. Solar: 1 total, 2 annular, 3 partial, 4 annular-total,
// 5 near miss (not an eclipse, never stored). Lunar: 1 total, 3 partial,
// 6 penumbral. 0 is no eclipse.
inline constexpr std::uint8_t kNoEclipse = 0, kTotal = 1, kAnnular = 2, kPartial = 3,
                              kAnnularTotal = 4, kNearMiss = 5, kPenumbral = 6;

// Filled from 1 upward by FindEclipses; records past the last eclipse keep
// stale contents with Used false.
using TEclipseTable = Table<TEclipseData, 15>;
extern TEclipseTable Eclipse_Table;

// The elements of lunation k (an integer for a new moon, an integer plus
// one half for a full moon): the mean arguments and what follows from them.
// Angles in radians.
struct TLunation {
  double T = 0;        // Julian centuries from 1900 January 0.5
  double M = 0;        // Sun's mean anomaly
  double Mp = 0;       // Moon's mean anomaly
  double F = 0;        // Moon's argument of latitude
  double Instant = 0;  // day number of the new or full moon
  double S = 0, K = 0;
  double Gamma = 0;  // least distance of shadow axis (solar) / Moon (lunar), Earth radii
  double U = 0;      // radius of the Moon's umbral cone, Earth radii
  double N = 0;      // Moon's hourly motion relative to the shadow, Earth radii
};
TLunation Lunation(double k);

// Classification of a lunation already computed; SolarEclipse and
// LunarEclipse are these applied to the lunation nearest D.
std::uint8_t ClassifySolar(const TLunation& e, double& magnitude, double& partialHours,
                           double& centralHours);
std::uint8_t ClassifyLunar(const TLunation& e, double& magnitude, double& partialHours,
                           double& totalHours);

// D in: any moment near the wanted new moon; out: the instant of the new
// moon of lunation round(D / kSynodicMonth), halves away from zero.
std::uint8_t SolarEclipse(double& D, double& magnitude, double& partialHours, double& centralHours);
// D in: any moment; out: the instant of the full moon of lunation
// floor(D / kSynodicMonth) + 0.5.
std::uint8_t LunarEclipse(double& D, double& magnitude, double& partialHours, double& totalHours);

// Every eclipse with start < instant < end, in time order, into
// Eclipse_Table; a sixteenth one is not stored.
void FindEclipses(double start, double end);

}  // namespace kv
