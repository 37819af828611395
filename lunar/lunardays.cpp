#include "lunardays.h"

#include <optional>
#include <tuple>
#include <utility>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/settings.h"
#include "core/text.h"
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

// The new moons that open and close lunar month M.
std::pair<double, double> MonthBounds(std::int32_t M) {
  return {NewMoon_Table[M], M == NewMoon_Table.last() ? NewMoon_15 : NewMoon_Table[M + 1]};
}

// The day number of 0 h of the clock's date at x.
double LocalDate(double x, const LocalClock& clock) {
  const Date t = DateOf(clock.Local(x));
  return DayNumber(t.d, t.m, t.y, 0, 0, 0);
}

// The first moonrise not before `after`, as its start, on the local dates
// from the one that begins at 0 h = first on, at most `dates` of them. Each
// search starts at the date's midnight; a date longer than 24 hours (the
// clock going back) gets a second one, and after a rise too early the
// search goes on half a day later: the Moon never rises twice within that.
std::optional<double> FirstStart(double after, double first, int dates, const LunarPlace& p) {
  for (int i = 0; i < dates; ++i) {
    const double date = Store(first + static_cast<long double>(i));
    const double b = p.Clock.DateStart(date), next = p.Clock.DateStart(Store(date + 1.0L));
    for (double base = b; base < next;) {
      double R, S;
      MoonRiseFrom(base, p.Longitude, p.Latitude, R, S);
      if (R == kNoEvent) {
        base = Store(base + 1.0L);
        continue;
      }
      const double rise = Store(base + R / 24.0L);
      if (rise >= next) break;  // the next date's
      // Hours after the date's midnight, told as the window tells them.
      const double hours = Store((static_cast<long double>(base) - b) * 24 + R);
      const double T = Store(StartAt(DateOf(date), hours) - (static_cast<long double>(date) - b));
      if (T >= after) return T;
      base = Store(rise + 0.5L);
    }
  }
  return std::nullopt;
}
}  // namespace

void ResetLunarDays() {
  LunarDay_Count = 0;
  for (double& s : LunarDay_Starts) s = 0.0;
}

std::string LunarDaysCaption(std::int32_t M, std::int32_t Y) {
  return ToCp1251("   Лунные дни на " + std::to_string(M) + " лунный месяц  " + std::to_string(Y) +
                  "г.");
}

std::string LunarDayLine(std::int32_t N, double start, const LocalClock& clock) {
  std::string date, time;
  DayNumberToStrings(clock.Local(start), date, time);
  return (N < 10 ? "  " : " ") + std::to_string(N) + "   " + date;
}

std::vector<std::string> BuildLunarDays(std::int32_t M) {
  std::tie(LunarMonth_Start, LunarMonth_End) = MonthBounds(M);

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
  for (std::int32_t N = 1; N <= LunarDay_Count - 1; ++N)
    lines.push_back(LunarDayLine(N, LunarDay_Starts[N - 1]));
  return lines;
}

TLunarDays LunarDaysAt(std::int32_t M, const LunarPlace& place) {
  const auto [start, end] = MonthBounds(M);
  return LunarDaysBetween(start, end, place);
}

TLunarDays LunarDaysBetween(double monthStart, double monthEnd, const LunarPlace& place) {
  TLunarDays r;
  r.MonthStart = monthStart;
  r.MonthEnd = monthEnd;
  const double first = LocalDate(r.MonthStart, place.Clock);
  const int dates = Trunc(LocalDate(r.MonthEnd, place.Clock) - first) + 1;
  std::optional<double> T = FirstStart(r.MonthStart, first, dates, place);
  if (!T || *T >= r.MonthEnd) return r;  // no moonrise between the two new moons
  r.Starts.push_back(*T);
  while (r.Starts.size() < LunarDay_Starts.size() && Store(r.Starts.back() + 1.0L) <= r.MonthEnd) {
    const double last = r.Starts.back();
    T = FirstStart(Store(last + 0.5L), LocalDate(last, place.Clock), kRiselessDates, place);
    if (!T) break;
    r.Starts.push_back(*T);
  }
  return r;
}

LunarMonthChoice ChooseLunarMonth(std::int32_t M, std::int32_t Y) {
  ResetLunarDays();
  LunarMonthChoice c;
  c.caption = LunarDaysCaption(M, Y);
  c.days = BuildLunarDays(M);
  return c;
}

}  // namespace kv
