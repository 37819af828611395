#include "visibility.h"

#include <swephexp.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "core/calendar.h"

namespace kv {

namespace {
// The program's instant of an eclipse lies within hours of the ephemeris'
// greatest phase; eclipses of one kind come a month or more apart.
constexpr double kSameEclipseDays = 1.0;
}  // namespace

const char* EclipseKindCode(const TEclipseData& e) { return e.Lunar ? "lunar" : "solar"; }

const char* EclipseTypeCode(const TEclipseData& e) {
  switch (e.Kind) {
    case kTotal: return "total";
    case kAnnular: return "annular";
    case kPartial: return "partial";
    case kAnnularTotal: return "hybrid";
    case kPenumbral: return "penumbral";
    default: return "none";
  }
}

LocalEclipse SeenFrom(const TEclipseData& e, double latitude, double longitude) {
  const double jd = e.Instant + kJulianDayOfZero;
  double geopos[3] = {longitude, latitude, 0};
  double tret[10] = {}, attr[20] = {};
  char serr[AS_MAXCH] = "";
  // The search finds the next eclipse that can be seen from the place:
  // ours, when it comes within the day of our instant.
  const double start = jd - kSameEclipseDays;
  const int flags =
      e.Lunar ? swe_lun_eclipse_when_loc(start, SEFLG_SWIEPH, geopos, tret, attr, 0, serr)
              : swe_sol_eclipse_when_loc(start, SEFLG_SWIEPH, geopos, tret, attr, 0, serr);
  if (flags < 0) throw std::runtime_error(std::string("Swiss Ephemeris: ") + serr);
  LocalEclipse r;
  if (flags == 0 || !(flags & SE_ECL_VISIBLE) || std::fabs(tret[0] - jd) > kSameEclipseDays)
    return r;
  r.Visible = true;
  r.MaximumVisible = (flags & SE_ECL_MAX_VISIBLE) != 0;
  r.LocalMaximum = tret[0] - kJulianDayOfZero;
  r.Magnitude = attr[0];
  r.Altitude = attr[5];
  return r;
}

}  // namespace kv
