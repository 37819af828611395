// The lunar days of a lunar month: consecutive moonrises after its new moon
// for the observer (Obs_Longitude, Obs_Latitude), one per calendar date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/table.h"

namespace kv {

extern double LunarMonth_Start;  // new moon that opens the chosen month
extern double LunarMonth_End;    // new moon that closes it
// Entry N-1 starts lunar day N, entry N ends it.
extern Table<double, 33, 0> LunarDay_Starts;
extern std::int32_t LunarDay_Count;  // filled entries; Count - 1 days listed

// Clears LunarDay_Starts and LunarDay_Count.
void ResetLunarDays();

// Caption of the lunar days list for month M of year Y (Windows-1251).
std::string LunarDaysCaption(std::int32_t M, std::int32_t Y);

// Lunar days of lunar month M (1..14) of the last phase table computed:
// fills LunarMonth_Start/End, LunarDay_Starts and LunarDay_Count, and gives
// the list lines ("  1   09.01.2008"). Month 14 closes on NewMoon_15.
std::vector<std::string> BuildLunarDays(std::int32_t M);

// The list line of lunar day N that starts at start, dated by the clock:
// "  1   09.01.2008" (Windows-1251).
std::string LunarDayLine(std::int32_t N, double start, const LocalClock& clock = {});

// Where and by which clock lunar days are reckoned.
struct LunarPlace {
  double Longitude = 0, Latitude = 0;  // degrees east, north
  LocalClock Clock;
};

// The lunar days of lunar month M (1..14) of the last phase table for a
// place: the first moonrise after the new moon and every one after it, cut
// to the whole minute, each found by the moonrise search of its local date
// (from the clock's midnight). Every date without a moonrise is skipped,
// however many follow one another where the Moon stays below or above the
// horizon for days, so a lunar day may last several dates; a second
// moonrise on one date starts a lunar day of its own. As in the window's
// list, the first start less than a day before the closing new moon ends
// the last day; no moonrise within kRiselessDates dates ends the list.
struct TLunarDays {
  double MonthStart = 0, MonthEnd = 0;  // the new moons that open and close the month
  std::vector<double> Starts;           // entry N-1 starts lunar day N, entry N ends it
};
inline constexpr int kRiselessDates = 35;  // longer than the Moon's 27.3 days north and south
TLunarDays LunarDaysAt(std::int32_t M, const LunarPlace& place);
// The same for the lunar month between two new moons of any year.
TLunarDays LunarDaysBetween(double monthStart, double monthEnd, const LunarPlace& place);

// A choice in the lunar month group: the lunar days start afresh and month
// M of the last phase table gives its days; Y is the year the caption names.
struct LunarMonthChoice {
  std::string caption;            // LunarDaysCaption(M, Y)
  std::vector<std::string> days;  // BuildLunarDays(M)
};
LunarMonthChoice ChooseLunarMonth(std::int32_t M, std::int32_t Y);

}  // namespace kv
