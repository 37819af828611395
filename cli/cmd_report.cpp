#include <algorithm>
#include <iostream>

#include "commands.h"
#include "degrees/degree_report.h"

namespace kvcli {

int RunReport(const Context& ctx) {
  const Date d = ParseDate(ctx.args[1]);
  const std::string& time = ctx.args[2];
  if (std::count(time.begin(), time.end(), ':') != 1)
    throw UsageError("malformed time '" + time + "' (expected HH:MM)");
  const Time t = ParseTime(time);
  CheckRange(d.year, kv::kReportYearInput, "year", ctx.args[1]);
  std::cout << kv::MakeDegreeReport(ctx.args[0], d.day, d.month, d.year, t.hour, t.minute)
            << "\n";
  return 0;
}

}  // namespace kvcli
