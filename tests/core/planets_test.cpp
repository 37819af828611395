#include "core/planets.h"

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "core/calendar.h"

using namespace kv;

namespace {
TPlanetData Position(int k, double x) {
  TPlanetData p;
  PlanetPosition(k, x, p.Lon, p.Decl, p.Speed, p.Sign);
  return p;
}

// Universal-time day number of a moment given in terrestrial time.
double FromTerrestrial(double jdTT) {
  double ut = jdTT;
  for (int i = 0; i < 3; ++i) ut = jdTT - swe_deltat(ut);
  return ut - 2415020;
}

double AngleDiff(double a, double b) {
  double d = std::fabs(a - b);
  return d > 180 ? 360 - d : d;
}
}  // namespace

TEST(PlanetPositionTest, DayNumberZeroGoesToTheLibraryAsJulianDay2415020) {
  const double tET = 2415020.0 + swe_deltat(2415020.0);
  for (int k = 1; k <= 10; ++k) {
    double xx[6];
    char err[AS_MAXCH];
    swe_calc(tET, k - 1, SEFLG_SPEED, xx, err);
    const TPlanetData p = Position(k, 0.0);
    EXPECT_EQ(p.Lon, Normalize360(xx[0])) << k;
    EXPECT_EQ(p.Speed, xx[3]) << k;
    swe_calc(tET, k - 1, SEFLG_EQUATORIAL, xx, err);
    EXPECT_EQ(p.Decl, xx[1]) << k;
  }
}

TEST(PlanetPositionTest, SignBoundaries) {
  std::int32_t s = 0;
  AssignSign(0.0, s);
  EXPECT_EQ(s, 1);
  AssignSign(std::nextafter(30.0, 0.0), s);
  EXPECT_EQ(s, 1);
  AssignSign(30.0, s);
  EXPECT_EQ(s, 2);
  AssignSign(359.99, s);
  EXPECT_EQ(s, 12);
  s = 7;
  AssignSign(360.0, s);  // the one longitude outside every sign
  EXPECT_EQ(s, 7);
  for (int i = 1; i <= 12; ++i) {
    AssignSign((i - 1) * 30.0 + 15.0, s);
    EXPECT_EQ(s, i);
  }
}

TEST(PlanetPositionTest, ShorthandsAreSunAndMoon) {
  const double x = DayNumber(15, 6, 1985, 9, 15, 0);
  TPlanetData a, b;
  SunPosition(x, a.Lon, a.Decl, a.Speed, a.Sign);
  EXPECT_EQ(a, Position(1, x));
  MoonPosition(x, b.Lon, b.Decl, b.Speed, b.Sign);
  EXPECT_EQ(b, Position(2, x));
}

TEST(PlanetPositionTest, FillChartLeavesEntriesPastTenAlone) {
  TChart c{};
  FillChart(c, DayNumber(1, 1, 2000, 12, 0, 0));
  for (int k = 1; k <= 10; ++k) {
    EXPECT_GE(c[k].Sign, 1);
    EXPECT_LE(c[k].Sign, 12);
    EXPECT_GE(c[k].Lon, 0.0);
    EXPECT_LT(c[k].Lon, 360.0);
  }
  for (int k = 11; k <= 53; ++k) EXPECT_EQ(c[k], TPlanetData{}) << k;
  EXPECT_THROW(c[0], std::out_of_range);
  EXPECT_THROW(c[54], std::out_of_range);
  EXPECT_THROW(c[54], RangeError);  // one type for every range check
  EXPECT_THROW(Position(0, 0.0), std::out_of_range);
  EXPECT_THROW(Position(11, 0.0), std::out_of_range);
}

TEST(PlanetPositionTest, GlobalChartsStartZeroed) {
  EXPECT_EQ(Natal_Chart, TChart{});
  EXPECT_EQ(Partner_Chart, TChart{});
  EXPECT_EQ(Horoscope_Chart, TChart{});
}

// swetest is the library's own command-line program, independent of our
// code: it reads the Julian day in UT and applies delta T itself. It prints
// 11 decimals; a Julian day that differs from ours by one unit in the last
// place moves the Moon by under 1e-8 degree. Hence 1e-7 degree.
TEST(PlanetPositionTest, AgreesWithSwetest) {
  std::ifstream in(KV_TEST_DATA "/swetest_positions.txt");
  ASSERT_TRUE(in) << "missing reference data";
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    double jd, lon, speed, decl;
    int body;
    ss >> jd >> body >> lon >> speed >> decl;
    ASSERT_TRUE(ss) << line;
    const TPlanetData p = Position(body + 1, jd - 2415020);
    EXPECT_LT(AngleDiff(p.Lon, lon), 1e-7) << line;
    EXPECT_NEAR(p.Decl, decl, 1e-7) << line;
    EXPECT_NEAR(p.Speed, speed, 1e-7) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 120);
}

// Published positions (Meeus, Astronomical Algorithms, 2nd ed.): the Sun of
// example 25.b (1992-10-13 0h TT, apparent longitude 199 deg 54' 21.818") and
// the Moon of example 47.a (1992-04-12 0h TT, 133.162655, declination
// 13.768368). Meeus's lunar series is truncated (about 10" in longitude), so
// the Moon gets 0.01 degree; the Sun, from the full VSOP87, 0.001.
TEST(PlanetPositionTest, AgreesWithPublishedPositions) {
  const TPlanetData sun = Position(1, FromTerrestrial(2448908.5));
  EXPECT_LT(AngleDiff(sun.Lon, 199.0 + 54.0 / 60 + 21.818 / 3600), 0.001);
  EXPECT_EQ(sun.Sign, 7);
  const TPlanetData moon = Position(2, FromTerrestrial(2448724.5));
  EXPECT_LT(AngleDiff(moon.Lon, 133.162655), 0.01);
  EXPECT_NEAR(moon.Decl, 13.768368, 0.01);
  EXPECT_EQ(moon.Sign, 5);
}

TEST(PlanetPositionTest, RetrogradeSpeedIsNegative) {
  // Mercury stood still and turned retrograde around 2024-04-01.
  EXPECT_LT(Position(3, DayNumber(10, 4, 2024, 0, 0, 0)).Speed, 0.0);
  EXPECT_GT(Position(3, DayNumber(10, 3, 2024, 0, 0, 0)).Speed, 0.0);
}

TEST(PlanetPositionTest, MomentsBeyondTheEphemerisAreRefused) {
  EXPECT_THROW(Position(10, DayNumber(15, 6, 5000, 0, 0, 0)), EphemerisError);
  EXPECT_THROW(Position(1, DayNumber(1, 1, -3100, 0, 0, 0)), EphemerisError);
  for (int k = 1; k <= 10; ++k) {  // every body at both ends of the years named
    EXPECT_NE(Position(k, DayNumber(1, 1, kEphemerisFirstYear, 0, 0, 0)).Speed, 0.0) << k;
    EXPECT_NE(Position(k, DayNumber(31, 12, kEphemerisLastYear, 23, 59, 59)).Speed, 0.0) << k;
  }
}
