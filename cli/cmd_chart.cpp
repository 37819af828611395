#include <iostream>
#include <string>

#include "commands.h"
#include "core/calendar.h"
#include "core/planets.h"
#include "output.h"
#include "tr.h"
#include "places.h"

namespace kvcli {

int RunChart(const Context& ctx) {
  const Date d = ReadDate(ctx, ctx.args[0]);
  const Time t = ctx.args.size() > 1 ? ParseTime(ctx.args[1]) : Time{};
  const Format format = ReadFormat(ctx);
  if (d.year < kv::kEphemerisFirstYear || d.year > kv::kEphemerisLastYear)
    throw UsageError(
        Kvlove::tr("year out of range %1..%2 (the ephemeris computes no other years): '%3'",
                   {std::to_string(kv::kEphemerisFirstYear), std::to_string(kv::kEphemerisLastYear),
                    ctx.args[0]}));
  const Whereabouts w = ReadWhereabouts(ctx);
  // Without a place the moment is universal time, as it always was.
  const kv::ClockReading birth =
      w.given() ? BirthMoment(w, d, t)
                : kv::ClockReading{
                      .X = kv::DayNumber(d.day, d.month, d.year, t.hour, t.minute, t.second)};
  const double x = birth.X;
  kv::TChart chart{};
  kv::FillChart(chart, x);
  if (format == Format::Text) {
    std::cout << FormatGeneral(x, 17) << "\n";
    for (int k = 1; k <= kv::kBodies; ++k) {
      const auto& p = chart[k];
      std::cout << k << '\t' << FormatFixed(p.Lon, 9) << '\t' << FormatFixed(p.Decl, 9) << '\t'
                << FormatFixed(p.Speed, 9) << '\t' << p.Sign << "\n";
    }
    if (w.given()) std::cout << BirthLine(w, birth, d, t) << "\n";
    return 0;
  }
  Records bodies{{"body", "longitude", "declination", "speed", "sign"}};
  for (int k = 1; k <= kv::kBodies; ++k)
    bodies.Add({k, chart[k].Lon, chart[k].Decl, chart[k].Speed, chart[k].Sign});
  Json inputs{{"command", "chart"}, {"moment", IsoMoment(x, {})}, {"day_number", x}};
  if (w.given()) {
    inputs["local_moment"] = IsoMoment(x, w.place.Clock);
    AddBirth(inputs, w, birth, d, t);
  }
  PrintResult(format, inputs, "bodies", bodies);
  return 0;
}

}  // namespace kvcli
