// The day-number time scale: days of universal time since 1899-12-31 12:00
// (Julian day minus 2415020). Julian calendar before 1582-10-15, Gregorian on.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace kv {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the arithmetic needs 80-bit extended precision long double");

// The Julian day of day number 0.
inline constexpr double kJulianDayOfZero = 2415020.0;

struct CalendarDate {
  std::int32_t Day = 0, Month = 0, Year = 0;
  std::int32_t Hour = 0, Minute = 0, Second = 0;
  bool operator==(const CalendarDate&) const = default;
};

// Historical years: -1 is 1 BC and counts as astronomical year 0; year 0
// is taken as astronomical 0 too. Fields are not validated: day 31 of
// February counts on into March.
double DayNumber(std::int32_t day, std::int32_t month, std::int32_t year, std::int32_t hour,
                 std::int32_t minute, std::int32_t second);

// Whether the day is one of the calendar's: not 31.02, not 10.10.1582 in
// the gap between the Julian and the Gregorian calendar. Historical years
// as DayNumber takes them.
bool DateExists(std::int32_t day, std::int32_t month, std::int32_t year);

// Astronomical years (0 is 1 BC). Minutes and seconds are truncated.
void DayNumberToDate(double x, std::int32_t& day, std::int32_t& month, std::int32_t& year,
                     std::int32_t& hour, std::int32_t& minute, std::int32_t& second);
CalendarDate DayNumberToDate(double x);

// The year DayNumber reads for an astronomical year of DayNumberToDate: 0 is
// 1 BC (-1) and -1 is 2 BC (-2); years from 1 on are the same.
std::int32_t HistoricalYear(std::int32_t astronomical);

// Date string "dd.mm.yyyy" (at most 10 characters) and time "hh:mm:ss".
void DayNumberToStrings(double x, std::string& date, std::string& time);

// Local sidereal time in hours, -24 < result < 24.
double SiderealTime(double d, double lonHours);

// Degrees to radians, as every series of the program rounds it.
inline constexpr long double kDegToRad = 0.01745329252L;

double Modulo(double x, double m);  // m * Frac(x / m): keeps the sign of x
// An angle in degrees reduced with Modulo to (-360, 360), in radians.
double ReducedRadians(long double degrees);
double Normalize360(double a);  // 0 <= result <= 360
double Tan(double a);
double ArcSin(double x);                    // needs -1 < x < 1
double QuadrantArcTan(double y, double x);  // direction of (x, y), 0..2pi

// Two-digit form of a calendar field: "0" before values below 10.
std::string TwoDigits(std::int32_t v);

}  // namespace kv
