#include "core/calendar.h"

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "core/checked.h"
#include "core/clock.h"

using namespace kv;

namespace {
CalendarDate Date(double x) { return DayNumberToDate(x); }
bool IsLeap(int y, bool gregorian) {
  return gregorian ? (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) : (y % 4 == 0);
}
int MonthLength(int m, int y, bool gregorian) {
  static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y, gregorian) ? 29 : len[m - 1];
}
}  // namespace

TEST(DayNumberTest, FixedPointsOfTheScale) {
  EXPECT_EQ(DayNumber(31, 12, 1899, 12, 0, 0), 0.0);
  EXPECT_EQ(DayNumber(1, 1, 1900, 0, 0, 0), 0.5);
  EXPECT_EQ(DayNumber(1, 1, 2000, 12, 0, 0), 36525.0);
  EXPECT_EQ(DayNumber(15, 10, 1582, 0, 0, 0), -115859.5);
  EXPECT_EQ(DayNumber(4, 10, 1582, 0, 0, 0), -115860.5);
  // The rounding of the stored result, to the last bit.
  EXPECT_EQ(DayNumber(15, 6, 1985, 12, 15, 0), 31212.010416666668);
}

TEST(DayNumberTest, CalendarSwitchOf1582) {
  EXPECT_EQ(DayNumber(15, 10, 1582, 0, 0, 0) - DayNumber(4, 10, 1582, 0, 0, 0), 1.0);
  // 5..14 October 1582 are read as Julian dates and come back Gregorian.
  const CalendarDate d = Date(DayNumber(14, 10, 1582, 0, 0, 0));
  EXPECT_EQ(d, (CalendarDate{24, 10, 1582, 0, 0, 0}));
  EXPECT_EQ(Date(DayNumber(4, 10, 1582, 0, 0, 0)), (CalendarDate{4, 10, 1582, 0, 0, 0}));
  EXPECT_EQ(Date(DayNumber(15, 10, 1582, 0, 0, 0)), (CalendarDate{15, 10, 1582, 0, 0, 0}));
}

TEST(DayNumberTest, FieldsAreNotValidated) {
  EXPECT_EQ(DayNumber(31, 2, 1985, 0, 0, 0), DayNumber(3, 3, 1985, 0, 0, 0));
  EXPECT_EQ(DayNumber(31, 2, 1984, 0, 0, 0), DayNumber(2, 3, 1984, 0, 0, 0));
  EXPECT_EQ(DayNumber(0, 3, 1985, 0, 0, 0), DayNumber(28, 2, 1985, 0, 0, 0));
  EXPECT_EQ(DayNumber(0, 1, 1985, 0, 0, 0), DayNumber(31, 12, 1984, 0, 0, 0));
}

// The days a calendar has: month ends by either calendar's leap years,
// the gap of 1582, years around 0.
TEST(DateExistsTest, MonthEndsLeapYearsAndTheGap) {
  EXPECT_FALSE(DateExists(29, 2, 1900));  // Gregorian: not a leap year
  EXPECT_TRUE(DateExists(29, 2, 1500));   // Julian: one
  EXPECT_FALSE(DateExists(31, 4, 2024));
  EXPECT_TRUE(DateExists(4, 10, 1582));
  EXPECT_FALSE(DateExists(5, 10, 1582));
  EXPECT_TRUE(DateExists(15, 10, 1582));
  EXPECT_TRUE(DateExists(1, 1, 0));
  EXPECT_FALSE(DateExists(1, 13, 1985));
}

TEST(DayNumberTest, YearsZeroAndMinusOneAreTheSame) {
  const double a = DayNumber(1, 7, 0, 0, 0, 0);
  EXPECT_EQ(a, DayNumber(1, 7, -1, 0, 0, 0));
  EXPECT_EQ(Date(a).Year, 0);
  EXPECT_EQ(Date(DayNumber(1, 7, -2, 0, 0, 0)).Year, -1);
}

// Every day of the years -1000..3000 (historical numbering on input), in both
// calendars: back to the same date, consecutive days one apart, and equal to
// the library's own Julian day conversion.
TEST(DayNumberTest, RoundTripEveryDayOfFourThousandYears) {
  double prev = std::nan("");
  long days = 0;
  for (int astro = -999; astro <= 3000; ++astro) {
    const int hist = astro <= 0 ? astro - 1 : astro;
    for (int m = 1; m <= 12; ++m) {
      const bool greg = astro > 1582 || (astro == 1582 && m > 10);
      const int len = MonthLength(m, astro, astro >= 1582 && !(astro == 1582 && m < 10));
      for (int d = 1; d <= len; ++d) {
        if (astro == 1582 && m == 10 && d > 4 && d < 15) continue;  // the days that never were
        const bool g = greg || (astro == 1582 && m == 10 && d >= 15);
        const double x = DayNumber(d, m, hist, 0, 0, 0);
        const CalendarDate back = Date(x);
        ASSERT_EQ(back, (CalendarDate{d, m, astro, 0, 0, 0})) << d << "." << m << "." << hist;
        if (!std::isnan(prev)) {
          ASSERT_EQ(x - prev, 1.0) << d << "." << m << "." << hist;
        }
        ASSERT_EQ(x + 2415020.0, swe_julday(astro, m, d, 0.0, g ? SE_GREG_CAL : SE_JUL_CAL));
        prev = x;
        ++days;
      }
    }
  }
  EXPECT_EQ(days, DayNumber(31, 12, 3000, 0, 0, 0) - DayNumber(1, 1, -1000, 0, 0, 0) + 1);
}

TEST(DayNumberToDateTest, TruncatesMinutesAndSeconds) {
  // The day number sits a hair below 12:15 once 2415020 is added.
  EXPECT_EQ(Date(31212.010416666668), (CalendarDate{15, 6, 1985, 12, 14, 59}));
  EXPECT_EQ(Date(0.5), (CalendarDate{1, 1, 1900, 0, 0, 0}));
  EXPECT_EQ(Date(0.0), (CalendarDate{31, 12, 1899, 12, 0, 0}));
}

TEST(DayNumberToDateTest, OutOfRangeConversionThrows) {
  EXPECT_THROW(Date(1e300), RangeError);
  EXPECT_THROW(Date(-1e300), RangeError);
  EXPECT_THROW(Date(std::numeric_limits<double>::quiet_NaN()), RangeError);
  EXPECT_THROW(Date(std::numeric_limits<double>::infinity()), RangeError);
}

TEST(DayNumberTest, OverflowThrowsInsteadOfWrapping) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_THROW(DayNumber(1, kMax - 5, 2000, 0, 0, 0), RangeError);  // Trunc(30.6001 * ...)
  EXPECT_THROW(DayNumber(1, kMin, 2000, 0, 0, 0), RangeError);
  EXPECT_THROW(DayNumber(1, kMax, 2000, 0, 0, 0), IntOverflowError);  // m + 1
  EXPECT_THROW(Add(kMax, 1), IntOverflowError);
  EXPECT_THROW(Mul(kMin, -1), IntOverflowError);
  EXPECT_THROW(Quot(kMin, -1), IntOverflowError);
}

TEST(DayNumberToStringsTest, DateAndTimeStrings) {
  std::string date, time;
  DayNumberToStrings(DayNumber(15, 6, 1985, 12, 0, 0), date, time);
  EXPECT_EQ(date, "15.06.1985");
  EXPECT_EQ(time, "12:00:00");
  DayNumberToStrings(DayNumber(1, 2, 5, 15, 0, 0), date, time);
  EXPECT_EQ(date, "01.02.0005");
  EXPECT_EQ(time, "15:00:00");
  DayNumberToStrings(0.5 + 11045.5 / 86400, date, time);  // 03:04:05.5, truncated
  EXPECT_EQ(date, "01.01.1900");
  EXPECT_EQ(time, "03:04:05");
  DayNumberToStrings(DayNumber(9, 9, 50, 0, 0, 0), date, time);
  EXPECT_EQ(date, "09.09.0050");
  DayNumberToStrings(DayNumber(10, 10, 500, 23, 59, 0), date, time);
  EXPECT_EQ(date, "10.10.0500");
  DayNumberToStrings(DayNumber(1, 1, 10000, 0, 0, 0), date, time);
  EXPECT_EQ(date, "01.01.1000");  // cut to ten characters
}

TEST(DayNumberToStringsTest, NegativeYearsKeepTenCharacters) {
  std::string date, time;
  DayNumberToStrings(DayNumber(3, 4, -2, 0, 0, 0), date, time);  // astronomical -1
  EXPECT_EQ(date, "03.04.-001");
  DayNumberToStrings(DayNumber(3, 4, -100, 0, 0, 0), date, time);  // astronomical -99
  EXPECT_EQ(date, "03.04.-099");
  DayNumberToStrings(DayNumber(3, 4, -1001, 0, 0, 0), date, time);  // astronomical -1000
  EXPECT_EQ(date, "03.04.-100");
  EXPECT_EQ(date.size(), 10u);
  DayNumberToStrings(DayNumber(3, 4, 0, 0, 0, 0), date, time);
  EXPECT_EQ(date, "03.04.0000");
}

TEST(AngleTest, ModuloKeepsTheSignOfX) {
  EXPECT_EQ(Modulo(25, 24), 1.0);
  EXPECT_EQ(Modulo(-1, 24), -1.0);
  EXPECT_EQ(Modulo(48, 24), 0.0);
  EXPECT_DOUBLE_EQ(Modulo(370.5, 360), 10.5);
}

TEST(AngleTest, Normalize360) {
  EXPECT_EQ(Normalize360(-1e-14), 360.0);  // r + 360 rounds up to 360
  EXPECT_EQ(Normalize360(-90), 270.0);
  EXPECT_EQ(Normalize360(720.5), 0.5);
  EXPECT_EQ(Normalize360(0), 0.0);
  EXPECT_EQ(Normalize360(360), 0.0);
  EXPECT_DOUBLE_EQ(Normalize360(-725), 355.0);
}

TEST(AngleTest, QuadrantArcTan) {
  constexpr double pi = std::numbers::pi;
  EXPECT_EQ(QuadrantArcTan(0, -1), 0.0);  // not pi: y = 0 is not moved
  EXPECT_DOUBLE_EQ(QuadrantArcTan(-1, 0), 3 * pi / 2);
  EXPECT_EQ(QuadrantArcTan(0, 0), 1.5707963267948966);
  EXPECT_DOUBLE_EQ(QuadrantArcTan(1, 1), pi / 4);
  EXPECT_DOUBLE_EQ(QuadrantArcTan(1, -1), 3 * pi / 4);
  EXPECT_DOUBLE_EQ(QuadrantArcTan(-1, -1), 5 * pi / 4);
  EXPECT_DOUBLE_EQ(QuadrantArcTan(-1, 1), 7 * pi / 4);
}

TEST(AngleTest, TanAndArcSin) {
  constexpr double pi = std::numbers::pi;
  EXPECT_NEAR(Tan(pi / 4), 1.0, 1e-15);
  EXPECT_NEAR(Tan(-pi / 3), -std::sqrt(3.0), 1e-14);
  EXPECT_NEAR(ArcSin(0.5), pi / 6, 1e-15);
  EXPECT_NEAR(ArcSin(-0.999999), -std::asin(0.999999), 1e-12);
  EXPECT_THROW(ArcSin(1.0), std::domain_error);
  EXPECT_THROW(ArcSin(-1.0), std::domain_error);
  EXPECT_THROW(ArcSin(1.5), std::domain_error);
}

TEST(SiderealTimeTest, HandComputedValues) {
  // D = 36525: F = 0.5, T = 0.5 / 36525; G + 12 * 1.002737909 worked out by hand.
  const double T = 0.5 / 36525;
  const double expected = 6.6460656 + 2400.051262 * T + 2.581e-5 * T * T + 12 * 1.002737909;
  EXPECT_NEAR(SiderealTime(36525, 0), expected, 1e-12);
  EXPECT_NEAR(SiderealTime(36525, 18.0), std::fmod(expected + 18, 24), 1e-12);
}

TEST(SiderealTimeTest, NegativeLongitudeCanGiveNegativeHours) {
  // At 00:00 UT of 2000-01-01 (D = 36524.5) G is about 6.64: west of -6.64 h
  // the sum is negative and Modulo keeps its sign.
  const double st = SiderealTime(36524.5, -10.0);
  EXPECT_LT(st, 0.0);
  EXPECT_GT(st, -24.0);
  EXPECT_NEAR(SiderealTime(36524.5, 0) - 10.0, st, 1e-12);
  // Before 1900 Frac(D + 0.5) is negative and the result may be too, but it
  // stays the right sidereal time modulo 24 hours: six hours of civil time
  // are always 6 * 1.002737909 sidereal hours, across D = -0.5 too.
  for (double d = -50000; d < 90000; d += 997.37) {
    const double s = SiderealTime(d, 0);
    EXPECT_GT(s, -24.0);
    EXPECT_LT(s, 24.0);
    if (d >= 0) {
      EXPECT_GE(s, 0.0);
    }
    const double step = std::fmod(SiderealTime(d + 0.25, 0) - s + 48.0, 24.0);
    EXPECT_NEAR(step, 6 * 1.002737909, 1e-6) << d;
  }
  EXPECT_NEAR(std::fmod(SiderealTime(-0.25, 0) - SiderealTime(-0.75, 0) + 48.0, 24.0),
              12 * 1.002737909, 1e-6);
}

// A clock of +2 hours that goes to +3 at 22:00 UT on 1 March 2008, skipping
// local midnight, and back at 21:30 UT on 1 April, passing it twice.
TEST(LocalClockTest, DatesBeginAtTheirFirstLocalMoment) {
  const double spring = DayNumber(1, 3, 2008, 22, 0, 0), autumn = DayNumber(1, 4, 2008, 21, 30, 0);
  const LocalClock c{"test", [=](double x) { return x >= spring && x < autumn ? 10800 : 7200; }};
  EXPECT_NEAR(c.DateStart(DayNumber(1, 2, 2008, 0, 0, 0)), DayNumber(31, 1, 2008, 22, 0, 0), 1e-9);
  EXPECT_NEAR(c.DateStart(DayNumber(2, 3, 2008, 0, 0, 0)), spring, 1e-6);
  EXPECT_NEAR(c.DateStart(DayNumber(2, 4, 2008, 0, 0, 0)), DayNumber(1, 4, 2008, 21, 0, 0), 1e-9);
  EXPECT_EQ(LocalClock{}.DateStart(spring), spring);
  EXPECT_EQ(OffsetText(-19800), "-05:30");
}
