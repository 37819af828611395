#include <iostream>

#include "commands.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"

namespace kvcli {
namespace {

int RunEclipses(const Context& ctx) {
  const std::int32_t year = ParseInt(ctx.args[0], 1900, 2050, "year");
  const bool details = ctx.HasFlag("--details");
  const std::vector<std::string> lines = kv::EclipseListLines(year);
  std::size_t eclipses = 0;
  for (const auto& r : kv::Eclipse_Table) eclipses += r.Used ? 1 : 0;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::cout << kv::FromCp1251(lines[n]);
    if (details && n >= kv::kEclipseListHeadLines && n < kv::kEclipseListHeadLines + eclipses) {
      const auto& r = kv::Eclipse_Table[static_cast<int>(n - kv::kEclipseListHeadLines) + 1];
      std::cout << '\t' << FormatGeneral(r.Instant, 17) << '\t' << FormatFixed(r.Magnitude, 6)
                << '\t' << FormatFixed(r.Partial_Hours, 4) << '\t'
                << FormatFixed(r.Central_Hours, 4);
    }
    std::cout << "\n";
  }
  return 0;
}

const RegisterCommand kEclipses{{
    50, "eclipses", "the solar and lunar eclipses of a year",
    "Usage: kvlove eclipses YEAR [--details]\n"
    "\n"
    "The eclipse list of the eclipses tab for YEAR (1900..2050), line for line:\n"
    "title, column header, one line per eclipse from 1 January 00:00 to\n"
    "1 January 00:00 of the next year (number, date and time in universal\n"
    "time, zodiac degree of the Sun or the Moon, kind and type), closing note.\n"
    "\n"
    "Options:\n"
    "  --details  append to each eclipse line, tab-separated: the instant as a\n"
    "             day number (days since 1899-12-31 12:00 UT, 17 significant\n"
    "             digits), the magnitude (6 decimals), the hours of the partial\n"
    "             phase and of the central (solar) or total (lunar) phase\n"
    "             (4 decimals, 0 when there is none)\n",
    {{"--details", false}}, 1, 1, RunEclipses}};

}  // namespace
}  // namespace kvcli
