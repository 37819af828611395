#include <iostream>
#include <map>

#include "commands.h"
#include "core/calendar.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"
#include "eclipse/visibility.h"
#include "output.h"
#include "tr.h"
#include "places.h"

namespace kvcli {

namespace {
// Leading and trailing blanks off: "18°21’Льва     " -> "18°21’Льва".
std::string TrimmedUtf8(const std::string& cp1251) {
  const std::size_t b = cp1251.find_first_not_of(' '), e = cp1251.find_last_not_of(' ');
  return b == std::string::npos ? "" : kv::FromCp1251(cp1251.substr(b, e - b + 1));
}

}  // namespace

int RunEclipses(const Context& ctx) {
  const std::int32_t year = ParseInt(ctx.args[0], kv::kEclipseYearInput, Kvlove::tr("year"));
  const bool details = ctx.HasFlag("--details");
  const Format format = ReadFormat(ctx);
  const Whereabouts where = ReadWhereabouts(ctx);
  const kv::LocalClock& clock = where.place.Clock;
  const bool seen = where.placeGiven;
  const std::vector<kv::EclipseListLine> lines = kv::EclipseList(year, clock);
  // Each eclipse as seen from the place, by its record.
  std::map<int, kv::LocalEclipse> local;
  if (seen)
    for (const kv::EclipseListLine& line : lines)
      if (line.record != 0)
        local[line.record] = kv::SeenFrom(kv::Eclipse_Table[line.record], where.place.Latitude,
                                          where.place.Longitude);
  if (format == Format::Text) {
    for (const kv::EclipseListLine& line : lines) {
      std::cout << kv::FromCp1251(line.text);
      if (details && line.record != 0) {
        const kv::TEclipseData& r = line.eclipse;
        std::cout << '\t' << FormatGeneral(r.Instant, 17) << '\t' << FormatFixed(r.Magnitude, 6)
                  << '\t' << FormatFixed(r.Partial_Hours, 4) << '\t'
                  << FormatFixed(r.Central_Hours, 4);
      }
      if (seen && line.record != 0) {
        const kv::LocalEclipse& l = local[line.record];
        std::cout << '\t' << (l.Visible ? "видно" : "не видно") << '\t'
                  << (l.MaximumVisible ? "максимум виден" : "максимум не виден") << '\t'
                  << (l.Visible ? ClockMoment(l.LocalMaximum, clock) : "-");
      }
      std::cout << "\n";
    }
    if (seen) std::cout << "   Видимость: " << Describe(where) << "\n";
    return 0;
  }
  Records eclipses{
      {"number", "instant", "kind", "kind_ru", "type", "type_ru", "zodiac_degree", "longitude"}};
  if (details)
    eclipses.names.insert(eclipses.names.end(),
                          {"day_number", "magnitude", "partial_hours", "central_hours"});
  if (seen)
    eclipses.names.insert(eclipses.names.end(),
                          {"visible", "maximum_visible", "local_maximum", "local_magnitude"});
  for (const kv::EclipseListLine& line : lines) {
    if (line.record == 0) continue;
    const kv::TEclipseData& r = line.eclipse;
    std::vector<Json> values{line.record,
                             IsoMoment(r.Instant, clock),
                             kv::EclipseKindCode(r),
                             TrimmedUtf8(kv::Eclipse_Kind[r.Lunar ? 1 : 0]),
                             kv::EclipseTypeCode(r),
                             TrimmedUtf8(kv::Eclipse_Type[r.Kind]),
                             TrimmedUtf8(kv::FormatEclipseDegree(r.Lon)),
                             r.Lon};
    if (details)
      values.insert(values.end(), {r.Instant, r.Magnitude, r.Partial_Hours, r.Central_Hours});
    if (seen) {
      const kv::LocalEclipse& l = local[line.record];
      values.insert(values.end(),
                    {l.Visible, l.MaximumVisible,
                     l.Visible ? Json(IsoMoment(l.LocalMaximum, clock)) : Json(nullptr),
                     l.Visible ? Json(l.Magnitude) : Json(nullptr)});
    }
    eclipses.Add(std::move(values));
  }
  Json inputs{
      {"command", "eclipses"}, {"year", year}, {"time_zone", clock.IsGmt() ? "GMT" : clock.Name}};
  if (seen) inputs["place"] = PlaceJson(where);
  PrintResult(format, inputs, "eclipses", eclipses);
  return 0;
}

}  // namespace kvcli
