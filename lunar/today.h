// The lunar day a moment falls in at a place, with the Moon's phase then:
// what "today" means for the lunar calendar.
#pragma once

#include <optional>

#include "lunardays.h"

namespace kv {

// The eight phases, by the Moon's elongation from the Sun in sectors of
// 45 degrees centred on 0, 90, 180 and 270.
enum class MoonPhase {
  NewMoon,
  WaxingCrescent,
  FirstQuarter,
  WaxingGibbous,
  FullMoon,
  WaningGibbous,
  LastQuarter,
  WaningCrescent
};
const char* PhaseCode(MoonPhase p);   // "waxing_crescent": stable, for programs
const char* PhaseWords(MoonPhase p);  // "растущий серп" (UTF-8)

struct LunarDayNow {
  int Day = 0;                // the lunar day, 1 from the first moonrise after the new moon
  double Start = 0, End = 0;  // its moonrises, day numbers
  double MonthStart = 0, MonthEnd = 0;  // the new moons around it
  double Illumination = 0;              // lit fraction of the Moon's disc at the moment, 0..1
  MoonPhase Phase = MoonPhase::NewMoon;
};

// The lunar day at x for the place: its lunar days are those LunarDaysBetween
// gives between the new moons around x (the last one of the month before
// lasting until the first moonrise after the new moon). Nothing where no
// moonrise comes near x (far beyond the polar circles).
std::optional<LunarDayNow> LunarDayAt(double x, const LunarPlace& place);

}  // namespace kv
