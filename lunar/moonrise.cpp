#include "moonrise.h"

#include <cmath>

#include "core/calendar.h"
#include "core/checked.h"

namespace kv {

TRiseState Rise_State{};

namespace {
constexpr long double kTwoPi = 6.283185307L;
constexpr long double kArcsecPerRad = 206264.80625L;
}  // namespace

void MoonEquatorial(double x, double& RA, double& Decl) {
  using std::sin;
  const double T = Store((static_cast<long double>(x) - 36525.0L) / 36525.0L);
  const long double t = T;
  const double L0 = Store(Frac(0.606433L + 1336.855225L * t));
  const long double l = Store(kTwoPi * Frac(0.374897L + 1325.55241L * t));
  const long double ls = Store(kTwoPi * Frac(0.993133L + 99.997361L * t));
  const long double D = Store(kTwoPi * Frac(0.827361L + 1236.853086L * t));
  const long double F = Store(kTwoPi * Frac(0.259086L + 1342.227825L * t));

  const double dL =
      Store(22640 * sin(l) - 4586 * sin(l - 2 * D) + 2370 * sin(2 * D) + 769 * sin(2 * l) -
            668 * sin(ls) - 412 * sin(2 * F) - 212 * sin(2 * l - 2 * D) -
            206 * sin(l + ls - 2 * D) + 192 * sin(l + 2 * D) - 165 * sin(ls - 2 * D) -
            125 * sin(D) - 110 * sin(l + ls) + 148 * sin(l - ls) - 55 * sin(2 * F - 2 * D));
  const long double S = Store(F + (dL + 412 * sin(2 * F) + 541 * sin(ls)) / kArcsecPerRad);
  const long double H = Store(F - 2 * D);
  const double N = Store(-526 * sin(H) + 44 * sin(l + H) - 31 * sin(H - l) - 23 * sin(ls + H) +
                         11 * sin(H - ls) - 25 * sin(F - 2 * l) + 21 * sin(F - l));

  const long double lambda = Store(kTwoPi * Frac(L0 + dL / 1296000.0L));
  const long double beta = Store((18520 * sin(S) + N) / kArcsecPerRad);

  const double X = Store(std::cos(beta) * std::cos(lambda));
  const double V = Store(std::cos(beta) * std::sin(lambda));
  const double W = Store(std::sin(beta));
  const double Y = Store(0.91748L * V - 0.39778L * W);
  const double Z = Store(0.39778L * V + 0.91748L * W);
  const double rho = Store(std::sqrt(1.0L - static_cast<long double>(Z) * Z));

  Decl = Store(std::atan(Z / static_cast<long double>(rho)));
  double ra = Store(2 * std::atan(Y / (static_cast<long double>(X) + rho)));
  if (ra < 0) ra = Store(ra + kTwoPi);
  RA = ra;
}

double MoonAltitudeSine(double h, EquatorialRoutine position) {
  const double x = Store(Rise_State.Base + h / 24.0L);
  double alpha, delta;
  position(x, alpha, delta);
  const double theta = SiderealTime(x, Rise_State.LonHours);
  const long double tau = Store(theta * 0.2617993878L - alpha);
  return Store(std::sin(static_cast<long double>(delta)) * Rise_State.SinLat +
               std::cos(static_cast<long double>(delta)) * Rise_State.CosLat * std::cos(tau));
}

void QuadraticZeros(double yMinus, double y0, double yPlus, double& xe, double& ye, double& z1,
                    double& z2, std::int32_t& nz) {
  const double a = Store((static_cast<long double>(yMinus) + yPlus) / 2 - y0);
  const double b = Store((static_cast<long double>(yPlus) - yMinus) / 2);
  nz = 0;
  if (a == 0) {
    // Three samples on a line: no extremum, at most the line's own zero.
    xe = 0;
    ye = y0;
    z1 = z2 = 0;
    if (b != 0) {
      z1 = z2 = Store(-static_cast<long double>(y0) / b);
      if (std::fabs(z1) <= 1) nz = 1;
    }
    return;
  }
  xe = Store(-static_cast<long double>(b) / (2 * static_cast<long double>(a)));
  ye = Store((static_cast<long double>(a) * xe + b) * xe + y0);
  const double d = Store(static_cast<long double>(b) * b - 4 * static_cast<long double>(a) * y0);
  if (d >= 0) {
    const double dx = Store(std::sqrt(static_cast<long double>(d)) /
                            (2 * std::fabs(static_cast<long double>(a))));
    z1 = Store(static_cast<long double>(xe) - dx);
    z2 = Store(static_cast<long double>(xe) + dx);
    if (std::fabs(z1) <= 1) ++nz;
    if (std::fabs(z2) <= 1) ++nz;
    if (z1 < -1) z1 = z2;
  }
}

void MoonRiseSearch(double h0, EquatorialRoutine position, double& Rise, double& Set) {
  const double s0 = Store(std::sin(static_cast<long double>(h0)));
  double yMinus = Store(static_cast<long double>(MoonAltitudeSine(0, position)) - s0);
  double hour = 1;
  bool riseFound = false, setFound = false;
  Rise = kNoEvent;
  Set = kNoEvent;
  do {
    const double y0 = Store(static_cast<long double>(MoonAltitudeSine(hour, position)) - s0);
    const double yPlus = Store(static_cast<long double>(MoonAltitudeSine(hour + 1, position)) - s0);
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    std::int32_t nz = 0;
    QuadraticZeros(yMinus, y0, yPlus, xe, ye, z1, z2, nz);
    if (nz == 1) {
      if (yMinus > 0) {
        Set = hour + z1;
        setFound = true;
      } else {
        Rise = hour + z1;
        riseFound = true;
      }
    } else if (nz == 2) {
      if (ye > 0) {
        Rise = hour + z1;
        Set = hour + z2;
      } else {
        Rise = hour + z2;
        Set = hour + z1;
      }
      riseFound = setFound = true;
    }
    yMinus = yPlus;
    hour += 2;
  } while (hour != 25 && !(riseFound && setFound));
}

void MoonRiseFrom(double base, double longitude, double latitude, double& Rise, double& Set) {
  Rise_State.Base = base;
  Rise_State.LonHours = Store(longitude / 15.0L);
  Rise_State.Lat = Store(latitude * kDegToRad);
  Rise_State.SinLat = Store(std::sin(static_cast<long double>(Rise_State.Lat)));
  Rise_State.CosLat = Store(std::cos(static_cast<long double>(Rise_State.Lat)));
  MoonRiseSearch(kMoonRiseAltitude, MoonEquatorial, Rise, Set);
}

void MoonRiseSet(std::int32_t day, std::int32_t month, std::int32_t year, double longitude,
                 double latitude, double& Rise, double& Set) {
  MoonRiseFrom(DayNumber(day, month, year, 0, 0, 0), longitude, latitude, Rise, Set);
}

}  // namespace kv
