#include <algorithm>
#include <iostream>

#include "commands.h"
#include "degrees/degree_report.h"
#include "output.h"

namespace kvcli {

int RunReport(const Context& ctx) {
  const Date d = ParseDate(ctx.args[1]);
  const std::string& time = ctx.args[2];
  if (std::count(time.begin(), time.end(), ':') != 1)
    throw UsageError("malformed time '" + time + "' (expected HH:MM)");
  const Time t = ParseTime(time);
  CheckRange(d.year, kv::kReportYearInput, "year", ctx.args[1]);
  const Format format = ReadFormat(ctx);
  const std::string page =
      kv::MakeDegreeReport(ctx.args[0], d.day, d.month, d.year, t.hour, t.minute);
  if (format == Format::Text) {
    std::cout << page << "\n";
    return 0;
  }
  Records record{{"page"}};
  record.Add({page});
  const Json inputs{
      {"command", "report"}, {"name", ctx.args[0]}, {"date", ctx.args[1]}, {"time", time}};
  PrintResult(format, inputs, nullptr, record);
  return 0;
}

}  // namespace kvcli
