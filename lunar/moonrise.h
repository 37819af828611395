// Moonrise and moonset for an observer: a low-precision lunar position, the
// sine of the Moon's altitude and a parabola through three samples, scanned
// over 24 hours in 2-hour steps.
#pragma once

#include <cstdint>

namespace kv {

// What the altitude routine needs, set by MoonRiseSet before each search.
struct TRiseState {
  double Base = 0;      // day number of the start of the 24-hour window
  double LonHours = 0;  // observer longitude, hours east
  double Lat = 0;       // observer latitude, radians
  double SinLat = 0, CosLat = 0;
};
extern TRiseState Rise_State;

// Sine of the Moon's altitude counted as rising: 8 arc minutes.
inline constexpr double kMoonRiseAltitude = 0.0023271056693333334;
// A rise or set that does not occur within the window, in hours.
inline constexpr double kNoEvent = -1.0;

// Body position: day number -> right ascension (0..2pi) and declination, radians.
using EquatorialRoutine = void (*)(double x, double& RA, double& Decl);

void MoonEquatorial(double x, double& RA, double& Decl);

// Sine of the geometric altitude h hours after Rise_State.Base.
double MoonAltitudeSine(double h, EquatorialRoutine position = MoonEquatorial);

// Parabola through (-1, yMinus), (0, y0), (+1, yPlus): its extremum (xe, ye),
// its zeros z1 <= z2 and how many of them lie in [-1, 1]. Samples on a line
// have no extremum (xe = 0, ye = y0) and at most the line's own zero.
void QuadraticZeros(double yMinus, double y0, double yPlus, double& xe, double& ye, double& z1,
                    double& z2, std::int32_t& nz);

// Rise and set, hours after Rise_State.Base, of the body whose altitude sine
// crosses sin(h0); kNoEvent when one does not happen in the 24 hours.
void MoonRiseSearch(double h0, EquatorialRoutine position, double& Rise, double& Set);

// Moonrise and moonset for the observer, hours after the day number base,
// where the 24-hour window begins.
void MoonRiseFrom(double base, double longitude, double latitude, double& Rise, double& Set);

// Moonrise and moonset, UT hours after 0 h of the date, for the observer.
void MoonRiseSet(std::int32_t day, std::int32_t month, std::int32_t year, double longitude,
                 double latitude, double& Rise, double& Set);

}  // namespace kv
