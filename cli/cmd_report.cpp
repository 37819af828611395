#include <algorithm>
#include <iostream>

#include "commands.h"
#include "degrees/degree_report.h"

namespace kvcli {
namespace {

int RunReport(const Context& ctx) {
  const Date d = ParseDate(ctx.args[1]);
  const std::string& time = ctx.args[2];
  if (std::count(time.begin(), time.end(), ':') != 1)
    throw UsageError("malformed time '" + time + "' (expected HH:MM)");
  const Time t = ParseTime(time);
  // The window's spin edits go no further.
  if (d.year < 1900 || d.year > 2100)
    throw UsageError("year out of range 1900..2100: '" + ctx.args[1] + "'");
  std::cout << kv::MakeDegreeReport(ctx.args[0], d.day, d.month, d.year, t.hour, t.minute)
            << "\n";
  return 0;
}

const RegisterCommand kReport{{
    30, "report", "the planets of a horoscope as an HTML page",
    "Usage: kvlove report NAME DD.MM.YYYY HH:MM\n"
    "\n"
    "Writes Html/Gradus_html.html under the main directory, the page of the\n"
    "tab \"Планеты Вашего гороскопа\": the zodiac degree of each of the ten\n"
    "bodies with that degree's paragraph from Html/gradus.txt. The moment is\n"
    "Moscow time, taken as universal time + 3 hours all year round. NAME is\n"
    "UTF-8 text (may be \"\"); the page is Windows-1251 with CR LF line ends.\n"
    "Day 1..31 (counted on past a short month's end), month 1..12, year\n"
    "1900..2100, hour 0..23, minute 0..59. Prints the page's path. When the\n"
    "page cannot be completed (a missing or malformed gradus.txt), the\n"
    "previous page stays as it was.\n",
    {}, 3, 3, RunReport}};

}  // namespace
}  // namespace kvcli
