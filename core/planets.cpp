#include "planets.h"

#include <swephexp.h>

#include <stdexcept>

#include "calendar.h"
#include "checked.h"

namespace kv {

TChart Natal_Chart{};
TChart Partner_Chart{};
TChart Horoscope_Chart{};

namespace {
// Ephemeris body numbers of bodies 1..10: SE_SUN .. SE_PLUTO.
constexpr Table<int, kBodies> kSweBody{{SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS,
                                        SE_JUPITER, SE_SATURN, SE_URANUS, SE_NEPTUNE,
                                        SE_PLUTO}};
static_assert(SEFLG_SPEED == 256 && SEFLG_EQUATORIAL == 2048);
}  // namespace

void PlanetPosition(int k, double x, double& Lon, double& Decl, double& Speed,
                    std::int32_t& Sign) {
  const int p = kSweBody[k];
  const double tUT = Store(static_cast<long double>(x) + 2415020.0L);
  const double dT = swe_deltat(tUT);
  const double tET = Store(static_cast<long double>(tUT) + dT);

  // The library's return code and error text are not examined: its
  // fall-back ephemeris outside the files' years is good enough.
  double xx[6] = {0, 0, 0, 0, 0, 0};
  char serr[AS_MAXCH];
  swe_calc(tET, p, SEFLG_SPEED, xx, serr);
  Lon = Normalize360(xx[0]);
  Speed = xx[3];
  swe_calc(tET, p, SEFLG_EQUATORIAL, xx, serr);
  Decl = xx[1];

  AssignSign(Lon, Sign);
}

void AssignSign(double lon, std::int32_t& sign) {
  for (std::int32_t i = 1; i <= 12; ++i) {
    const double lo = (i - 1) * 30.0, hi = i * 30.0;
    if (lo <= lon && lon < hi) sign = i;
  }
}

void SunPosition(double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign) {
  PlanetPosition(1, x, Lon, Decl, Speed, Sign);
}

void MoonPosition(double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign) {
  PlanetPosition(2, x, Lon, Decl, Speed, Sign);
}

void FillChart(TChart& chart, double x) {
  for (int k = 1; k <= kBodies; ++k) {
    TPlanetData& e = chart[k];
    PlanetPosition(k, x, e.Lon, e.Decl, e.Speed, e.Sign);
  }
}

}  // namespace kv
