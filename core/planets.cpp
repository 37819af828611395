#include "planets.h"

#include <swephexp.h>

#include <string>

#include "calendar.h"
#include "checked.h"

namespace kv {

TChart Natal_Chart{};
TChart Partner_Chart{};
TChart Horoscope_Chart{};

namespace {
// Ephemeris body numbers of bodies 1..10: SE_SUN .. SE_PLUTO.
constexpr Table<int, kBodies> kSweBody{{SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER,
                                        SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_PLUTO}};
static_assert(SEFLG_SPEED == 256 && SEFLG_EQUATORIAL == 2048);

// The library answers outside its span with an error and zeros, which would
// pass for positions.
void Calc(double tET, int p, int flags, double (&xx)[6], double x) {
  char serr[AS_MAXCH];
  if (swe_calc(tET, p, flags, xx, serr) >= 0) return;
  std::string date, time;
  DayNumberToStrings(x, date, time);
  throw EphemerisError(
      "Положения планет рассчитываются только для лет " + std::to_string(kEphemerisFirstYear) +
      ".." + std::to_string(kEphemerisLastYear) + ": момент " + date + " " + time + " UT вне их");
}
}  // namespace

void PlanetPosition(int k, double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign) {
  const int p = kSweBody[k];
  const double tUT = Store(static_cast<long double>(x) + kJulianDayOfZero);
  const double dT = swe_deltat(tUT);
  const double tET = Store(static_cast<long double>(tUT) + dT);

  // Outside the files' years the library's fall-back theory answers, with a
  // warning that is good to ignore; only a refusal counts.
  double xx[6] = {0, 0, 0, 0, 0, 0};
  Calc(tET, p, SEFLG_SPEED, xx, x);
  Lon = Normalize360(xx[0]);
  Speed = xx[3];
  Calc(tET, p, SEFLG_EQUATORIAL, xx, x);
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
