// The lunar tab from the command line: the phase table, the lunar days of a
// lunar month and the description of one lunar day.
#include <iostream>
#include <string>

#include "commands.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"

namespace kvcli {

namespace {

std::int32_t Year(const Context& ctx) { return ParseInt(ctx.args[0], kv::kLunarYearInput, "year"); }
std::int32_t Month(const Context& ctx) {
  return ParseInt(ctx.args[1], {kv::NewMoon_Table.first(), kv::NewMoon_Table.last()},
                  "lunar month");
}

// The calculate button, then a choice in the lunar month group.
kv::LunarMonthChoice LunarDays(const Context& ctx) {
  const std::int32_t year = Year(ctx), month = Month(ctx);
  kv::WritePhaseListing(year);
  return kv::ChooseLunarMonth(month, year);
}

std::string Moment(double x) {
  std::string date, time;
  kv::DayNumberToStrings(x, date, time);
  return date + " " + time;
}

}  // namespace

int RunPhases(const Context& ctx) {
  kv::WritePhaseListing(Year(ctx));
  std::cout << kv::ReadCp1251Text(kv::LunDay_Name);
  return 0;
}

int RunLunarDays(const Context& ctx) {
  const kv::LunarMonthChoice m = LunarDays(ctx);
  std::cout << kv::FromCp1251(m.caption) << "\n";
  const bool times = ctx.HasFlag("--times");
  for (std::size_t i = 0; i < m.days.size(); ++i) {
    std::cout << m.days[i];
    if (times) {
      const int N = static_cast<int>(i) + 1;
      std::cout << '\t' << Moment(kv::LunarDay_Starts[N - 1]) << '\t'
                << Moment(kv::LunarDay_Starts[N]);
    }
    std::cout << "\n";
  }
  return 0;
}

int RunLunarDay(const Context& ctx) {
  const kv::LunarMonthChoice m = LunarDays(ctx);
  const std::int32_t N =
      ParseInt(ctx.args[2], {1, static_cast<std::int32_t>(m.days.size())}, "lunar day");
  kv::WriteLunarDayText(N, [](const std::string& message) {
    std::cerr << "kvlove: " << kv::FromCp1251(message) << "\n";
  });
  std::cout << kv::ReadCp1251Text(kv::TmpFile1_Name);
  return 0;
}

}  // namespace kvcli
