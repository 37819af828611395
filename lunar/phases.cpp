#include "phases.h"

#include <cmath>
#include <string>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/lunation.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"

namespace kv {

Table<double, 14> NewMoon_Table{};
double NewMoon_15 = 0.0;

namespace {
// Instant of phase j (0 new, 1 first quarter, 2 full, 3 last quarter) of
// lunation k: the leading terms of the 1900-epoch series, nothing more.
double PhaseInstant(std::int32_t k, int j) {
  const double s = Store(static_cast<long double>(k) + j / 4.0L);
  const long double sl = s;
  const LunationArguments a = MeanLunation(s);
  const long double t = a.T, t2 = t * t, t3 = t2 * t;
  const double m = Store(0.75933L + kSynodicMonth * sl + 0.0001178L * t2 - 0.000000155L * t3 +
                         0.00033L * std::sin((166.56L + 132.87L * t - 0.009173L * t2) * kDegToRad));
  const long double M = a.M, Mm = a.Mp, F = a.F;
  double delta;
  if (j == 0 || j == 2) {
    delta = Store((0.1734L - 0.000393L * t) * std::sin(M) + 0.0021L * std::sin(2 * M) -
                  0.4068L * std::sin(Mm) + 0.0161L * std::sin(2 * Mm) + 0.0104L * std::sin(2 * F) -
                  0.0051L * std::sin(M + Mm) - 0.0074L * std::sin(M - Mm));
  } else {
    delta = Store((0.1721L - 0.0004L * t) * std::sin(M) + 0.0021L * std::sin(2 * M) -
                  0.628L * std::sin(Mm) + 0.0089L * std::sin(2 * Mm) + 0.0079L * std::sin(2 * F) -
                  0.0119L * std::sin(M + Mm) - 0.0047L * std::sin(M - Mm) +
                  0.0021L * std::sin(2 * F - Mm));
    delta = Store(static_cast<long double>(delta) + (j == 1 ? 0.0028L : -0.0028L));
  }
  return Store(static_cast<long double>(m) + delta);
}

std::string DateText(double x) {
  std::string date, time;
  DayNumberToStrings(x, date, time);
  return date;
}
}  // namespace

void LunarPhases(double& D, double& FirstQuarter, double& FullMoon, double& LastQuarter) {
  std::int32_t k = Trunc(static_cast<long double>(D) / kSynodicMonth);
  if (D < 0) k = Sub(k, 1);
  D = PhaseInstant(k, 0);
  FirstQuarter = PhaseInstant(k, 1);
  FullMoon = PhaseInstant(k, 2);
  LastQuarter = PhaseInstant(k, 3);
}

std::vector<std::string> PhaseListing(const std::vector<TLunationPhases>& lunations,
                                      const LocalClock& clock) {
  std::vector<std::string> lines{
      "", "", ToCp1251(" Лун.месяц Новолуние    I четверть     Полнолуние     III четверть"), ""};
  const auto date = [&clock](double x) { return DateText(clock.Local(x)); };
  int i = 0;
  for (const TLunationPhases& l : lunations) {
    lines.push_back("   " + Field(++i, 2) + "     " + date(l.NewMoon) + "    " +
                    date(l.FirstQuarter) + "     " + date(l.FullMoon) + "     " +
                    date(l.LastQuarter));
  }
  lines.push_back("");
  if (clock.IsGmt()) {
    lines.push_back(ToCp1251("  Щелкните на нужном лунном месяце в списке"));
    lines.push_back(ToCp1251("  справа, а затем выберите нужную дату в "));
    lines.push_back(ToCp1251("  появившемся списке лунных дней."));
  } else {
    lines.push_back(ToCp1251("  Даты фаз по времени " + clock.Name + "."));
  }
  return lines;
}

TPhaseTable PhaseTable(std::int32_t year) {
  TPhaseTable table;
  double D = DayNumber(1, 1, year, 0, 0, 0);
  double q1, full, q3 = 0;
  for (int i = 1; i <= 15; ++i) {
    if (i > 1) D = Store(static_cast<long double>(q3) + 15.0L);
    LunarPhases(D, q1, full, q3);
    if (i == 15) {
      table.NewMoon_15 = D;  // closes month 14; not listed
      break;
    }
    table.Lunations.push_back({D, q1, full, q3});
  }
  for (const std::string& line : PhaseListing(table.Lunations)) table.Listing += line + "\r\n";
  return table;
}

TPhaseTable WritePhaseListing(std::int32_t year) {
  TPhaseTable table = PhaseTable(year);
  TextWriter out(LunDay_Name);
  out.Write(table.Listing);
  out.Close();
  for (int i = NewMoon_Table.first(); i <= NewMoon_Table.last(); ++i)
    NewMoon_Table[i] = table.Lunations[i - NewMoon_Table.first()].NewMoon;
  NewMoon_15 = table.NewMoon_15;
  return table;
}

}  // namespace kv
