#include <iostream>

#include "commands.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"
#include "output.h"
#include "places.h"

namespace kvcli {

namespace {
// Leading and trailing blanks off: "18°21’Льва     " -> "18°21’Льва".
std::string Trimmed(const std::string& cp1251) {
  const std::size_t b = cp1251.find_first_not_of(' '), e = cp1251.find_last_not_of(' ');
  return b == std::string::npos ? "" : kv::FromCp1251(cp1251.substr(b, e - b + 1));
}
}  // namespace

int RunEclipses(const Context& ctx) {
  const std::int32_t year = ParseInt(ctx.args[0], kv::kEclipseYearInput, "year");
  const bool details = ctx.HasFlag("--details");
  const Format format = ReadFormat(ctx);
  const kv::LocalClock clock = ReadClock(ctx);
  const std::vector<kv::EclipseListLine> lines = kv::EclipseList(year, clock);
  if (format == Format::Text) {
    for (const kv::EclipseListLine& line : lines) {
      std::cout << kv::FromCp1251(line.text);
      if (details && line.record != 0) {
        const kv::TEclipseData& r = line.eclipse;
        std::cout << '\t' << FormatGeneral(r.Instant, 17) << '\t' << FormatFixed(r.Magnitude, 6)
                  << '\t' << FormatFixed(r.Partial_Hours, 4) << '\t'
                  << FormatFixed(r.Central_Hours, 4);
      }
      std::cout << "\n";
    }
    return 0;
  }
  Records eclipses{{"number", "instant", "kind", "type", "zodiac_degree", "longitude"}};
  if (details)
    eclipses.names.insert(eclipses.names.end(),
                          {"day_number", "magnitude", "partial_hours", "central_hours"});
  for (const kv::EclipseListLine& line : lines) {
    if (line.record == 0) continue;
    const kv::TEclipseData& r = line.eclipse;
    std::vector<Json> values{line.record,
                             IsoMoment(r.Instant, clock),
                             Trimmed(kv::Eclipse_Kind[r.Lunar ? 1 : 0]),
                             Trimmed(kv::Eclipse_Type[r.Kind]),
                             Trimmed(kv::FormatEclipseDegree(r.Lon)),
                             r.Lon};
    if (details)
      values.insert(values.end(), {r.Instant, r.Magnitude, r.Partial_Hours, r.Central_Hours});
    eclipses.Add(std::move(values));
  }
  const Json inputs{
      {"command", "eclipses"}, {"year", year}, {"time_zone", clock.IsGmt() ? "GMT" : clock.Name}};
  PrintResult(format, inputs, "eclipses", eclipses);
  return 0;
}

}  // namespace kvcli
