#include "lunar/moonrise.h"

#include <cmath>
#include <numbers>

#include "lunar_test_util.h"

using namespace kv;
using namespace lunartest;

namespace {
constexpr double kPi = std::numbers::pi;

struct Zeros {
  double xe = 99, ye = 99, z1 = 99, z2 = 99;
  std::int32_t nz = -1;
};
Zeros Quad(double ym, double y0, double yp) {
  Zeros z;
  QuadraticZeros(ym, y0, yp, z.xe, z.ye, z.z1, z.z2, z.nz);
  return z;
}

// A parabola a x^2 + b x + c sampled at -1, 0, +1.
Zeros QuadOf(double a, double b, double c) { return Quad(a - b + c, c, a + b + c); }
}  // namespace

TEST(MoonEquatorialTest, Epoch2000) {
  double ra, dec;
  MoonEquatorial(36525, ra, dec);
  EXPECT_NEAR(ra, 3.8825, 5e-5);
  EXPECT_NEAR(dec, -0.1903, 5e-5);
  EXPECT_NEAR(ra * 180 / kPi, 222.45, 0.01);
  EXPECT_NEAR(dec * 180 / kPi, -10.90, 0.01);
}

TEST(MoonEquatorialTest, RightAscensionStaysWithinOneTurn) {
  // 2 * arctan(Y / (X + rho)) is negative for half the orbit; those values
  // are moved up by one turn.
  bool sawLow = false, sawHigh = false;
  for (double x = 30000; x < 30060; x += 0.0917) {
    double ra, dec;
    MoonEquatorial(x, ra, dec);
    ASSERT_GE(ra, 0.0) << x;
    ASSERT_LT(ra, 6.283185307) << x;
    ASSERT_LT(std::fabs(dec), 0.53) << x;  // 23.44 + 5.3 degrees at most
    sawLow |= ra < 0.3;
    sawHigh |= ra > 6.0;
  }
  EXPECT_TRUE(sawLow && sawHigh);
}

TEST(QuadraticZerosTest, TwoZerosInside) {
  const Zeros z = QuadOf(1, 0, -0.25);  // zeros at -0.5 and 0.5, minimum at 0
  EXPECT_EQ(z.nz, 2);
  EXPECT_DOUBLE_EQ(z.z1, -0.5);
  EXPECT_DOUBLE_EQ(z.z2, 0.5);
  EXPECT_DOUBLE_EQ(z.xe, 0.0);
  EXPECT_DOUBLE_EQ(z.ye, -0.25);
  // Opening downward: z1 is still the smaller zero, ye the maximum.
  const Zeros d = QuadOf(-1, 0, 0.25);
  EXPECT_EQ(d.nz, 2);
  EXPECT_DOUBLE_EQ(d.z1, -0.5);
  EXPECT_DOUBLE_EQ(d.z2, 0.5);
  EXPECT_DOUBLE_EQ(d.ye, 0.25);
}

TEST(QuadraticZerosTest, OneZeroInsideIsReportedInZ1) {
  // Zeros at -3 and 0.5: z1 < -1 is replaced by z2.
  const Zeros z = QuadOf(1, 2.5, -1.5);
  EXPECT_EQ(z.nz, 1);
  EXPECT_DOUBLE_EQ(z.z1, 0.5);
  EXPECT_DOUBLE_EQ(z.z2, 0.5);
  // Zeros at 0.25 and 4: z1 is already the one inside.
  const Zeros w = QuadOf(1, -4.25, 1);
  EXPECT_EQ(w.nz, 1);
  EXPECT_DOUBLE_EQ(w.z1, 0.25);
  EXPECT_DOUBLE_EQ(w.z2, 4.0);
}

TEST(QuadraticZerosTest, ZerosOutsideOrNone) {
  EXPECT_EQ(QuadOf(1, 0, -4).nz, 0);  // -2 and 2
  EXPECT_EQ(QuadOf(1, 0, 1).nz, 0);   // no real zero
  const Zeros z = QuadOf(1, 0, 0);    // touches zero at 0
  EXPECT_EQ(z.nz, 2);
  EXPECT_DOUBLE_EQ(z.z1, 0.0);
  EXPECT_DOUBLE_EQ(z.z2, 0.0);
  // Bounds are inclusive.
  EXPECT_EQ(QuadOf(1, 0, -1).nz, 2);
}

TEST(QuadraticZerosTest, SamplesOnALineNeverDivideByZero) {
  // Rising line through 0.5: its zero counts, nothing is NaN or infinite.
  const Zeros z = Quad(-1.5, -0.5, 0.5);
  EXPECT_EQ(z.nz, 1);
  EXPECT_DOUBLE_EQ(z.z1, 0.5);
  EXPECT_TRUE(std::isfinite(z.xe) && std::isfinite(z.ye) && std::isfinite(z.z2));
  EXPECT_DOUBLE_EQ(z.ye, -0.5);
  // Falling line, zero at -1 exactly: inside.
  EXPECT_EQ(Quad(0, -1, -2).nz, 1);
  EXPECT_DOUBLE_EQ(Quad(0, -1, -2).z1, -1.0);
  // Zero outside [-1, 1].
  EXPECT_EQ(Quad(1, 2, 3).nz, 0);
  // Constant lines: no crossing, even when the constant is zero.
  EXPECT_EQ(Quad(0.3, 0.3, 0.3).nz, 0);
  const Zeros flat = Quad(0, 0, 0);
  EXPECT_EQ(flat.nz, 0);
  EXPECT_TRUE(std::isfinite(flat.z1) && std::isfinite(flat.xe));
}

namespace {
// A fixed point of the sky for the search: declination set per test.
double gFixedDecl = 0;
void FixedStar(double, double& ra, double& dec) {
  ra = 1.0;
  dec = gFixedDecl;
}
}  // namespace

TEST(MoonRiseSearchTest, UsesThePositionRoutineItIsGiven) {
  double mr, ms;
  MoonRiseSet(1, 3, 2010, 0.0, 51.5, mr, ms);  // sets Rise_State
  const TRiseState state = Rise_State;
  gFixedDecl = 0.2;
  double rise, set;
  MoonRiseSearch(kMoonRiseAltitude, FixedStar, rise, set);
  ASSERT_GT(rise, 0);
  ASSERT_GT(set, 0);
  EXPECT_EQ(state.Base, Rise_State.Base);
  // The altitude at the hours found is the rise altitude.
  // (up to the error of a parabola through samples an hour apart)
  EXPECT_NEAR(MoonAltitudeSine(rise, FixedStar), std::sin(kMoonRiseAltitude), 1e-3);
  EXPECT_NEAR(MoonAltitudeSine(set, FixedStar), std::sin(kMoonRiseAltitude), 1e-3);
  // Rising before the meridian, setting after it: the altitude grows at
  // the rise and falls at the set.
  EXPECT_GT(MoonAltitudeSine(rise + 0.1, FixedStar), MoonAltitudeSine(rise - 0.1, FixedStar));
  EXPECT_LT(MoonAltitudeSine(set + 0.1, FixedStar), MoonAltitudeSine(set - 0.1, FixedStar));
  // A fixed star stays up for twice its semi-diurnal arc of sidereal time;
  // a set before the rise belongs to the previous sidereal day.
  constexpr double kSidereal = 1.0027379;
  const double up = (set > rise ? set - rise : set - rise + 24 / kSidereal) * kSidereal;
  const double h0 = 2 *
                    std::acos((std::sin(kMoonRiseAltitude) - std::sin(0.2) * state.SinLat) /
                              (std::cos(0.2) * state.CosLat)) *
                    12 / kPi;
  EXPECT_NEAR(up, h0, 0.01);
  EXPECT_LT(set, rise);
}

TEST(MoonRiseSearchTest, CircumpolarAndNeverRisingGiveNoEvents) {
  double r, s;
  MoonRiseSet(1, 3, 2010, 0.0, 51.5, r, s);
  gFixedDecl = 1.2;  // always up at 51.5 N
  MoonRiseSearch(kMoonRiseAltitude, FixedStar, r, s);
  EXPECT_EQ(r, kNoEvent);
  EXPECT_EQ(s, kNoEvent);
  gFixedDecl = -1.2;  // never up
  MoonRiseSearch(kMoonRiseAltitude, FixedStar, r, s);
  EXPECT_EQ(r, kNoEvent);
  EXPECT_EQ(s, kNoEvent);
}

TEST(MoonRiseSetTest, FillsTheStateForTheDate) {
  double r, s;
  MoonRiseSet(9, 1, 2008, 15.0, 51.5, r, s);
  EXPECT_EQ(Rise_State.Base, DayNumber(9, 1, 2008, 0, 0, 0));
  EXPECT_EQ(Rise_State.LonHours, 1.0);
  EXPECT_EQ(Rise_State.Lat, 51.5 * 0.01745329252);
  EXPECT_DOUBLE_EQ(Rise_State.SinLat, std::sin(Rise_State.Lat));
  EXPECT_DOUBLE_EQ(Rise_State.CosLat, std::cos(Rise_State.Lat));
  // 15 degrees east: the Moon rises about an hour earlier than at Greenwich.
  double r0, s0;
  MoonRiseSet(9, 1, 2008, 0.0, 51.5, r0, s0);
  EXPECT_NEAR(r0 - r, 1.0, 0.1);
}

TEST(MoonRiseSetTest, DateWithoutMoonriseStillReportsItsSet) {
  // 28.01.2008: the Moon rises just before midnight on the 27th and just
  // after it on the 29th.
  double r, s;
  MoonRiseSet(28, 1, 2008, 0.0, 51.5, r, s);
  EXPECT_EQ(r, kNoEvent);
  EXPECT_GT(s, 8.0);
  EXPECT_LT(s, 12.0);
  MoonRiseSet(27, 1, 2008, 0.0, 51.5, r, s);
  EXPECT_GT(r, 22.5);
  MoonRiseSet(29, 1, 2008, 0.0, 51.5, r, s);
  EXPECT_GT(r, 0.0);
  EXPECT_LT(r, 0.5);
}

TEST(MoonRiseSetTest, MoonriseOfTheNinthOfJanuary2008) {
  double r, s;
  MoonRiseSet(9, 1, 2008, 0.0, 51.5, r, s);
  EXPECT_NEAR(r, 9.0, 0.1);  // about 09:00 UT
  EXPECT_GT(s, r);
}
