#include <iostream>
#include <string>

#include "commands.h"
#include "core/calendar.h"
#include "core/planets.h"

namespace kvcli {
namespace {

int RunChart(const Context& ctx) {
  const Date d = ParseDate(ctx.args[0]);
  const Time t = ctx.args.size() > 1 ? ParseTime(ctx.args[1]) : Time{};
  if (d.year < kv::kEphemerisFirstYear || d.year > kv::kEphemerisLastYear)
    throw UsageError("year out of range " + std::to_string(kv::kEphemerisFirstYear) + ".." +
                     std::to_string(kv::kEphemerisLastYear) +
                     " (the ephemeris computes no other years): '" + ctx.args[0] + "'");
  const double x = kv::DayNumber(d.day, d.month, d.year, t.hour, t.minute, t.second);
  kv::TChart chart{};
  kv::FillChart(chart, x);
  std::cout << FormatGeneral(x, 17) << "\n";
  for (int k = 1; k <= kv::kBodies; ++k) {
    const auto& p = chart[k];
    std::cout << k << '\t' << FormatFixed(p.Lon, 9) << '\t' << FormatFixed(p.Decl, 9) << '\t'
              << FormatFixed(p.Speed, 9) << '\t' << p.Sign << "\n";
  }
  return 0;
}

const RegisterCommand kChart{{
    10, "chart", "the ten bodies at a moment (universal time)",
    "Usage: kvlove chart DD.MM.YYYY [HH:MM[:SS]]\n"
    "\n"
    "Positions of the Sun, the Moon and the planets at the given moment of\n"
    "universal time (default 00:00:00). Years -3000..3000, the years the\n"
    "ephemeris computes; negative years are years BC (-1 is 1 BC). The first\n"
    "line is the day number (days since 1899-12-31 12:00 UT, 17 significant\n"
    "digits); then one line per body, tab-separated:\n"
    "  index (1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn,\n"
    "  8 Uranus, 9 Neptune, 10 Pluto), longitude, declination and daily speed\n"
    "  in degrees (9 decimals), zodiac sign (1 Aries .. 12 Pisces).\n",
    {}, 1, 2, RunChart}};

}  // namespace
}  // namespace kvcli
