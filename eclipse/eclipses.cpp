#include "eclipses.h"

#include <cmath>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/lunation.h"
#include "core/planets.h"

namespace kv {

TEclipseTable Eclipse_Table{};

namespace {

using L = long double;

constexpr L kHalfMonth = kSynodicMonth / 2;

// Halves away from zero, as the lunation numbers need.
std::int32_t RoundAway(L x) { return x >= 0 ? Trunc(x + 0.5L) : Trunc(x - 0.5L); }

}  // namespace

TLunation Lunation(double k) {
  const L kl = k;
  const LunationArguments a = MeanLunation(k);
  TLunation e;
  e.T = a.T;
  e.M = a.M;
  e.Mp = a.Mp;
  e.F = a.F;
  const L T = e.T, T2 = T * T, T3 = T2 * T;
  const L M = e.M, Mp = e.Mp, F = e.F;

  // -0.0104 sin 2F (the lunar calendar has +): this sign gives the instant
  // of greatest eclipse rather than the syzygy in longitude.
  e.Instant =
      Store(kSynodicMonth * kl + 0.75933L + 0.0001178L * T2 - 0.000000155L * T3 +
            0.00033L * std::sin((166.56L + 132.87L * T - 0.009173L * T2) * kDegToRad) +
            (0.1734L - 0.000393L * T) * std::sin(M) + 0.0021L * std::sin(2 * M) -
            0.4068L * std::sin(Mp) + 0.0161L * std::sin(2 * Mp) - 0.0104L * std::sin(2 * F) -
            0.0051L * std::sin(M + Mp) - 0.0074L * std::sin(M - Mp));
  e.S = Store(5.19595L - 0.0048L * std::cos(M) + 0.0020L * std::cos(2 * M) -
              0.3283L * std::cos(Mp) - 0.0060L * std::cos(M + Mp) + 0.0041L * std::cos(M - Mp));
  e.K = Store(0.2070L * std::sin(M) + 0.0024L * std::sin(2 * M) - 0.0390L * std::sin(Mp) +
              0.0115L * std::sin(2 * Mp) - 0.0073L * std::sin(M + Mp) - 0.0067L * std::sin(M - Mp) +
              0.0117L * std::sin(2 * F));
  e.Gamma = Store(static_cast<L>(e.S) * std::sin(F) + static_cast<L>(e.K) * std::cos(F));
  e.U = Store(0.0059L + 0.0046L * std::cos(M) - 0.0182L * std::cos(Mp) +
              0.0004L * std::cos(2 * Mp) - 0.0005L * std::cos(M + Mp));
  e.N = Store(0.5458L + 0.04L * std::cos(Mp));
  return e;
}

namespace {

// Hours the Moon needs to cross a circle of radius r at distance gamma.
double Crossing(L r, L gamma, L n) { return Store(2 * std::sqrt(r * r - gamma * gamma) / n); }

// Magnitude of a central or umbral-cone eclipse: apparent semidiameters of
// the Moon (seen from where the axis meets the Earth) and of the Sun.
double CentralMagnitude(double D, double gamma) {
  const double T2 = Store(static_cast<L>(D) / 36525.0L);
  const L t = T2, t2 = t * t, t3 = t2 * t;
  const double Mp2 =
      ReducedRadians(296.104608L + 477198.849109L * t + 0.0091917L * t2 + 0.00001439L * t3);
  const double D2 =
      ReducedRadians(350.737486L + 445267.114217L * t - 0.0014361L * t2 + 0.000001889L * t3);
  const double M2 = ReducedRadians(358.47583L + 35999.04975L * t - 0.00015L * t2 - 0.0000033L * t3);
  const double e = Store(0.01675104L - 0.0000418L * t - 0.000000126L * t2);

  const double nu =
      QuadrantArcTan(Store(std::sin(static_cast<L>(M2))), Store(std::cos(static_cast<L>(M2)) - e));
  const double r = Store(1.0000002L * (1 - e * std::cos(static_cast<L>(nu))));
  const double sunSd = Store(959.63L / r);

  const L mp = Mp2, d = D2;
  const double parallax = Store((0.950724L + 0.051818L * std::cos(mp) +
                                 0.009531L * std::cos(2 * d - mp) + 0.007843L * std::cos(2 * d) +
                                 0.002824L * std::cos(2 * mp) + 0.000857L * std::cos(2 * d + mp)) *
                                kDegToRad);
  const L g = gamma;
  const double h = std::fabs(gamma) < 1 ? Store(std::sqrt(1 - g * g)) : 0.0;
  const double a =
      Store(2 * std::atan(1 / (1 / static_cast<L>(Tan(Store(parallax / 2.0L))) - h)) / kDegToRad);
  const double moonSd = Store(980.9136L * a);
  return Store(static_cast<L>(moonSd) / sunSd);
}

}  // namespace

std::uint8_t ClassifySolar(const TLunation& e, double& magnitude, double& partialHours,
                           double& centralHours) {
  magnitude = 0;
  partialHours = 0;
  centralHours = 0;
  const L g = std::fabs(e.Gamma), u = e.U;
  if (g > 1.5432L + u + 0.2L) return kNoEclipse;

  std::uint8_t type = g <= 1.5432L + u ? kPartial : kNearMiss;
  magnitude = Store((1.5432L + u - g) / (0.546L + 2 * u));

  if (g <= 0.9972L + std::fabs(u) && g <= 1.5432L + u) {
    magnitude = CentralMagnitude(e.Instant, e.Gamma);
    type = u <= 0 ? kTotal : kAnnular;
    const double omega =
        g < 1 ? Store(0.00464L * std::cos(static_cast<L>(ArcSin(e.Gamma)))) : 0.00464;
    if (u > 0 && u < 0.0047L && omega > u) type = kAnnularTotal;
  }

  const L P = 1.546L + u, Q = 1 + u;
  if (std::fabs(P) > g) partialHours = Crossing(P, e.Gamma, e.N);
  if (std::fabs(Q) > g) centralHours = Crossing(Q, e.Gamma, e.N);
  magnitude = std::fabs(magnitude);  // the near miss comes out negative
  return type;
}

std::uint8_t ClassifyLunar(const TLunation& e, double& magnitude, double& partialHours,
                           double& totalHours) {
  partialHours = 0;
  totalHours = 0;
  const L g = std::fabs(e.Gamma), u = e.U;
  magnitude = Store((1.0129L - u - g) / 0.545L);  // umbral
  std::uint8_t type;
  if (magnitude > 1) {
    type = kTotal;
  } else if (magnitude > 0) {
    type = kPartial;
  } else {
    magnitude = Store((1.5572L + u - g) / 0.545L);  // penumbral
    return magnitude > 0 ? kPenumbral : kNoEclipse;
  }
  const L P = 1.0129L - u, Q = 0.4679L - u;
  if (std::fabs(P) > g) partialHours = Crossing(P, e.Gamma, e.N);
  if (std::fabs(Q) > g) totalHours = Crossing(Q, e.Gamma, e.N);
  return type;
}

std::uint8_t SolarEclipse(double& D, double& magnitude, double& partialHours,
                          double& centralHours) {
  const std::int32_t k = RoundAway(static_cast<L>(D) / kSynodicMonth);
  const TLunation e = Lunation(k);
  D = e.Instant;
  return ClassifySolar(e, magnitude, partialHours, centralHours);
}

std::uint8_t LunarEclipse(double& D, double& magnitude, double& partialHours, double& totalHours) {
  const L a = static_cast<L>(D) / kSynodicMonth;
  const std::int32_t m = RoundAway(a);
  const double k = static_cast<L>(m) > a ? Store(m - 0.5L) : Store(m + 0.5L);
  const TLunation e = Lunation(k);
  D = e.Instant;
  return ClassifyLunar(e, magnitude, partialHours, totalHours);
}

void FindEclipses(double start, double end) {
  for (TEclipseData& r : Eclipse_Table) r.Used = false;
  int count = 0;

  // Half a month early: the first new moon examined lies before start, so
  // the full moon that follows it is examined even when the next new moon
  // is more than a week away.
  double D = Store(static_cast<L>(start) - kHalfMonth);
  double mag = 0, partial = 0, central = 0;
  std::uint8_t type = SolarEclipse(D, mag, partial, central);
  bool lunar = false;
  while (D < end) {
    if (D > start && type != kNoEclipse && type != kNearMiss && count < TEclipseTable::last()) {
      ++count;
      TEclipseData& r = Eclipse_Table[count];
      r.Used = true;
      r.Lunar = lunar;
      r.Kind = type;
      r.Instant = D;
      r.Magnitude = mag;
      r.Partial_Hours = partial;
      r.Central_Hours = central;
      double decl = 0, speed = 0;
      std::int32_t sign = 0;
      if (lunar)
        MoonPosition(D, r.Lon, decl, speed, sign);
      else
        SunPosition(D, r.Lon, decl, speed, sign);
    }
    D = Store(static_cast<L>(D) + kHalfMonth);
    lunar = !lunar;
    type = lunar ? LunarEclipse(D, mag, partial, central) : SolarEclipse(D, mag, partial, central);
  }
}

}  // namespace kv
