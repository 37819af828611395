#include "today.h"

#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/lunation.h"
#include "phases.h"

namespace kv {

namespace {

// The new moons of the phase table's series around x, in time order.
std::vector<double> NewMoonsAround(double x) {
  std::vector<double> v;
  for (int j = -2; j <= 2; ++j) {
    double D = Store(x + j * kSynodicMonth), q1, full, q3;
    LunarPhases(D, q1, full, q3);
    v.push_back(D);
  }
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

// Lit fraction and elongation (degrees, 0..360, east of the Sun).
void MoonAt(double x, double& illumination, double& elongation) {
  const double jd = x + kJulianDayOfZero;
  double attr[20] = {}, moon[6] = {}, sun[6] = {};
  char serr[AS_MAXCH];
  swe_pheno_ut(jd, SE_MOON, SEFLG_SWIEPH, attr, serr);
  swe_calc_ut(jd, SE_MOON, SEFLG_SWIEPH, moon, serr);
  swe_calc_ut(jd, SE_SUN, SEFLG_SWIEPH, sun, serr);
  illumination = std::clamp(attr[1], 0.0, 1.0);
  elongation = std::fmod(moon[0] - sun[0] + 720.0, 360.0);
}

}  // namespace

const char* PhaseCode(MoonPhase p) {
  static const char* const codes[] = {"new_moon",       "waxing_crescent", "first_quarter",
                                      "waxing_gibbous", "full_moon",       "waning_gibbous",
                                      "last_quarter",   "waning_crescent"};
  return codes[static_cast<int>(p)];
}

const char* PhaseWords(MoonPhase p) {
  static const char* const words[] = {"новолуние",          "растущий серп", "первая четверть",
                                      "растущая Луна",      "полнолуние",    "убывающая Луна",
                                      "последняя четверть", "убывающий серп"};
  return words[static_cast<int>(p)];
}

std::optional<LunarDayNow> LunarDayAt(double x, const LunarPlace& place) {
  const std::vector<double> moons = NewMoonsAround(x);
  std::optional<LunarDayNow> r;
  // The month x falls in, then the one before: the time from a new moon to
  // the first moonrise after it ends that month's last lunar day.
  for (std::size_t i = moons.size() - 1; i-- > 0 && !r;) {
    if (moons[i] > x) continue;
    const TLunarDays days = LunarDaysBetween(moons[i], moons[i + 1], place);
    for (std::size_t n = days.Starts.size(); n-- > 0;) {
      if (days.Starts[n] > x) continue;
      if (n + 1 < days.Starts.size() && x >= days.Starts[n + 1]) break;
      double end = n + 1 < days.Starts.size() ? days.Starts[n + 1] : 0;
      if (end == 0) {
        // The last start of a month opens the next month's first day or
        // lasts until it.
        if (i + 2 >= moons.size()) break;
        const TLunarDays next = LunarDaysBetween(moons[i + 1], moons[i + 2], place);
        if (next.Starts.empty() || next.Starts.front() <= x) break;
        end = next.Starts.front();
      }
      r = LunarDayNow{static_cast<int>(n) + 1, days.Starts[n], end, days.MonthStart, days.MonthEnd};
      break;
    }
  }
  if (!r) return r;
  double elongation;
  MoonAt(x, r->Illumination, elongation);
  r->Phase = static_cast<MoonPhase>(static_cast<int>(std::floor((elongation + 22.5) / 45.0)) % 8);
  return r;
}

}  // namespace kv
