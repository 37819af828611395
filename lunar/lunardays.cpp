#include "lunardays.h"

#include "core/calendar.h"
#include "core/checked.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "moonrise.h"
#include "phases.h"

namespace kv {

double LunarMonth_Start = 0.0;
double LunarMonth_End = 0.0;
Table<double, 33, 0> LunarDay_Starts{};
std::int32_t LunarDay_Count = 0;

namespace {
struct Date {
  std::int32_t d, m, y;
};

// The date of x as DayNumber takes it again.
Date DateOf(double x) {
  const CalendarDate c = DayNumberToDate(x);
  return {c.Day, c.Month, HistoricalYear(c.Year)};
}

double RiseOn(const Date& t) {
  double rise, set;
  MoonRiseSet(t.d, t.m, t.y, Obs_Longitude, Obs_Latitude, rise, set);
  return rise;
}

// The moonrise cut to the whole minute; no rise (-1) gives 23:00 of the day before.
double StartAt(const Date& t, double R) {
  const std::int32_t h = Trunc(R);
  const std::int32_t n = Trunc((static_cast<long double>(R) - h) * 60.0L);
  return DayNumber(t.d, t.m, t.y, h, n, 0);
}
}  // namespace

void ResetLunarDays() {
  LunarDay_Count = 0;
  for (double& s : LunarDay_Starts) s = 0.0;
}

std::string LunarDaysCaption(std::int32_t M, std::int32_t Y) {
  return ToCp1251("   Лунные дни на " + std::to_string(M) + " лунный месяц  " +
                  std::to_string(Y) + "г.");
}

std::vector<std::string> BuildLunarDays(std::int32_t M) {
  LunarMonth_Start = NewMoon_Table[M];
  LunarMonth_End = M == NewMoon_Table.last() ? NewMoon_15 : NewMoon_Table[M + 1];

  Date t = DateOf(LunarMonth_Start);
  double T = StartAt(t, RiseOn(t));
  if (T < LunarMonth_Start) {
    // That date's moonrise comes before the new moon, or there is none.
    T = Store(static_cast<long double>(T) + 1.0L);
    t = DateOf(T);
    T = StartAt(t, RiseOn(t));
  }
  LunarDay_Starts[0] = T;
  LunarDay_Count = 1;

  for (int k = 0; k <= 28; ++k) {
    double X = Store(static_cast<long double>(LunarDay_Starts[k]) + 1.0L);
    if (X > LunarMonth_End) break;
    LunarDay_Count = Add(LunarDay_Count, 1);
    t = DateOf(X);
    double R = RiseOn(t);
    if (R < 0) {  // the Moon does not rise on that date
      X = Store(static_cast<long double>(X) + 1.0L);
      t = DateOf(X);
      R = RiseOn(t);
    }
    LunarDay_Starts[k + 1] = StartAt(t, R);
  }

  std::vector<std::string> lines;
  for (std::int32_t N = 1; N <= LunarDay_Count - 1; ++N) {
    std::string date, time;
    DayNumberToStrings(LunarDay_Starts[N - 1], date, time);
    lines.push_back((N < 10 ? "  " : " ") + std::to_string(N) + "   " + date);
  }
  return lines;
}

LunarMonthChoice ChooseLunarMonth(std::int32_t M, std::int32_t Y) {
  ResetLunarDays();
  LunarMonthChoice c;
  c.listing = ReadCp1251Text(LunDay_Name);
  c.caption = LunarDaysCaption(M, Y);
  c.days = BuildLunarDays(M);
  return c;
}

}  // namespace kv
