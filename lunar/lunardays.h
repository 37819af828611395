// The lunar days of a lunar month: consecutive moonrises after its new moon
// for the observer (Obs_Longitude, Obs_Latitude), one per calendar date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A choice in the lunar month group, after the listing file of a phase
// table was written: the lunar days start afresh, the listing is read again
// and month M gives its days; Y is the year the caption names.
struct LunarMonthChoice {
  std::string listing;            // the listing file's text, UTF-8 with LF line ends
  std::string caption;            // LunarDaysCaption(M, Y)
  std::vector<std::string> days;  // BuildLunarDays(M)
};
LunarMonthChoice ChooseLunarMonth(std::int32_t M, std::int32_t Y);

}  // namespace kv
