// Positions of the ten bodies through the Swiss Ephemeris, and the chart
// tables that hold them.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "table.h"

namespace kv {

// Body index: 1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter,
// 7 Saturn, 8 Uranus, 9 Neptune, 10 Pluto.
inline constexpr int kBodies = 10;

struct TPlanetData {
  double Lon = 0;    // tropical ecliptic longitude, degrees, 0..360
  double Decl = 0;   // declination, degrees
  double Speed = 0;  // daily motion in longitude, degrees per day
  std::int32_t Deg = 0, Min = 0, Sec = 0;
  std::int32_t Sign = 0;       // 1 Aries .. 12 Pisces
  std::int32_t DegInSign = 0;  // 0..29
  std::int32_t DegNum = 0;     // 1..30
  bool operator==(const TPlanetData&) const = default;
};

// Entries 1..10 hold the bodies; 11..53 travel along untouched.
using TChart = Table<TPlanetData, 53>;

// The years (as DayNumber takes them) whose every moment the ephemeris
// computes: its files, and its analytical theory beyond them.
inline constexpr std::int32_t kEphemerisFirstYear = -3000;
inline constexpr std::int32_t kEphemerisLastYear = 3000;

// A moment outside what the ephemeris computes; the message names the years.
struct EphemerisError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

extern TChart Natal_Chart;
extern TChart Partner_Chart;
extern TChart Horoscope_Chart;

// Position of body k (1..10) at day number x (universal time). Sign is
// written only when Lon lies inside one of the twelve signs. EphemerisError
// for a moment the ephemeris does not compute.
void PlanetPosition(int k, double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign);
void SunPosition(double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign);
void MoonPosition(double x, double& Lon, double& Decl, double& Speed, std::int32_t& Sign);

// Sign i (1..12) when (i - 1) * 30 <= lon < i * 30; otherwise sign is left
// as it was (a longitude of exactly 360).
void AssignSign(double lon, std::int32_t& sign);

// Fills entries 1..10 of a chart for day number x, bodies in ascending order.
void FillChart(TChart& chart, double x);

}  // namespace kv
