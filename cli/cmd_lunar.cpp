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

// The spin edit of the lunar tab takes these years.
constexpr std::int32_t kMinYear = 0, kMaxYear = 3000;

// A Windows-1251 text file as UTF-8 with LF line ends.
void PrintFile(const std::string& path) {
  std::string text = kv::FromCp1251(kv::ReadFileBytes(path));
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  std::cout << out;
}

std::int32_t Year(const Context& ctx) { return ParseInt(ctx.args[0], kMinYear, kMaxYear, "year"); }
std::int32_t Month(const Context& ctx) { return ParseInt(ctx.args[1], 1, 14, "lunar month"); }

// The calculate button, then a choice in the lunar month group.
std::vector<std::string> LunarDays(std::int32_t year, std::int32_t month) {
  kv::WritePhaseListing(year);
  kv::ResetLunarDays();
  kv::ReadFileBytes(kv::LunDay_Name);  // the window reloads the listing here
  return kv::BuildLunarDays(month);
}

std::string Moment(double x) {
  std::string date, time;
  kv::DayNumberToStrings(x, date, time);
  return date + " " + time;
}

int RunPhases(const Context& ctx) {
  kv::WritePhaseListing(Year(ctx));
  PrintFile(kv::LunDay_Name);
  return 0;
}

int RunLunarDays(const Context& ctx) {
  const std::int32_t year = Year(ctx), month = Month(ctx);
  const auto lines = LunarDays(year, month);
  std::cout << kv::FromCp1251(kv::LunarDaysCaption(month, year)) << "\n";
  const bool times = ctx.HasFlag("--times");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::cout << lines[i];
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
  const std::int32_t year = Year(ctx), month = Month(ctx);
  const auto lines = LunarDays(year, month);
  const std::int32_t N =
      ParseInt(ctx.args[2], 1, static_cast<std::int32_t>(lines.size()), "lunar day");
  kv::WriteLunarDayText(N, [](const std::string& message) {
    std::cerr << "kvlove: " << kv::FromCp1251(message) << "\n";
  });
  PrintFile(kv::TmpFile1_Name);
  return 0;
}

const RegisterCommand kPhases{{
    40, "phases", "the phases of fourteen lunar months from a year's start",
    "Usage: kvlove phases YEAR\n"
    "\n"
    "The calculate button of the lunar tab for YEAR (0..3000): fourteen\n"
    "lunations from the one in progress on 1 January, with the dates (UT) of\n"
    "new moon, first quarter, full moon and last quarter. Writes the listing\n"
    "file System/F_LunDay.tmp (Windows-1251, CR LF) exactly as the window\n"
    "does and prints it in UTF-8 with LF line ends.\n",
    {}, 1, 1, RunPhases}};

const RegisterCommand kLunarDays{{
    41, "lunar-days", "the lunar days of one lunar month of a year",
    "Usage: kvlove lunar-days YEAR MONTH [--times]\n"
    "\n"
    "Computes the phase table of YEAR (0..3000) as 'kvlove phases' does\n"
    "(rewriting System/F_LunDay.tmp), then chooses lunar month MONTH (1..14)\n"
    "as the window's radio group does. Prints the caption of the list and one\n"
    "line per lunar day: its number and the date its moonrise falls on, for\n"
    "an observer at 0 deg E, 51.5 deg N. A lunar day runs from one moonrise to\n"
    "the next; dates with no moonrise are skipped.\n"
    "\n"
    "Options:\n"
    "  --times  add the start and end of each lunar day, tab-separated\n"
    "           (DD.MM.YYYY HH:MM:SS, universal time)\n",
    {{"--times", false}}, 2, 2, RunLunarDays}};

const RegisterCommand kLunarDay{{
    42, "lunar-day", "the start, end and description of one lunar day",
    "Usage: kvlove lunar-day YEAR MONTH N\n"
    "\n"
    "As 'kvlove lunar-days YEAR MONTH', then a click on line N of the list:\n"
    "writes System/TmpFile1.tmp and System/TmpFile2.tmp as the window does\n"
    "and prints TmpFile1.tmp (UTF-8, LF): the start and end of lunar day N\n"
    "in universal time and its description from System/DayMoon.doc.\n"
    "N must be a line of that list. A description block that cannot be read\n"
    "is reported on standard error, as the window's error box does, and the\n"
    "lookup goes on.\n",
    {}, 3, 3, RunLunarDay}};

}  // namespace
}  // namespace kvcli
