#include "commands.h"

#include <algorithm>
#include <string_view>

namespace kvcli {

namespace {

const Command kCommands[] = {
    {.name = "chart",
     .synopsis = "the ten bodies at a moment (universal time)",
     .help = "Usage: kvlove chart DD.MM.YYYY [HH:MM[:SS]]\n"
             "\n"
             "Positions of the Sun, the Moon and the planets at the given moment of\n"
             "universal time (default 00:00:00). Years -3000..3000, the years the\n"
             "ephemeris computes; negative years are years BC (-1 is 1 BC). The first\n"
             "line is the day number (days since 1899-12-31 12:00 UT, 17 significant\n"
             "digits); then one line per body, tab-separated:\n"
             "  index (1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn,\n"
             "  8 Uranus, 9 Neptune, 10 Pluto), longitude, declination and daily speed\n"
             "  in degrees (9 decimals), zodiac sign (1 Aries .. 12 Pisces).\n",
     .minArgs = 1,
     .maxArgs = 2,
     .run = RunChart},

    {.name = "compat",
     .synopsis = "compatibility scan of four years: levels, scan files, charts",
     .help = "Usage: kvlove compat DD.MM.YYYY START_YEAR [--png PREFIX]\n"
             "\n"
             "The compatibility run of the window for a birth date (taken at 12:00;\n"
             "year -2000..3000) and the first year of the analysis (1900..2050), without\n"
             "its pauses. Pass 1 rates every second day of START_YEAR and the year after,\n"
             "pass 2 the two years that follow. Writes Html/Scan1.txt and Html/Scan2.txt\n"
             "under the main directory, as the window does, and prints one line per point,\n"
             "tab-separated:\n"
             "  pass (1, 2), point K (1..360), day, month and year of the partner's\n"
             "  birth date, level (-70..70).\n",
     .options = {{"--png", "PREFIX",
                  "also save the two charts as PREFIX1.png and PREFIX2.png\n"
                  "(720 x 218 pixels), as the window draws them at 100 %"}},
     .minArgs = 2,
     .maxArgs = 2,
     .run = RunCompat},

    {.name = "report",
     .synopsis = "the planets of a horoscope as an HTML page",
     .help = "Usage: kvlove report NAME DD.MM.YYYY HH:MM\n"
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
     .minArgs = 3,
     .maxArgs = 3,
     .run = RunReport},

    {.name = "phases",
     .synopsis = "the phases of fourteen lunar months from a year's start",
     .help = "Usage: kvlove phases YEAR\n"
             "\n"
             "The calculate button of the lunar tab for YEAR (0..3000): fourteen\n"
             "lunations from the one in progress on 1 January, with the dates (UT) of\n"
             "new moon, first quarter, full moon and last quarter. Writes the listing\n"
             "file System/F_LunDay.tmp (Windows-1251, CR LF) exactly as the window\n"
             "does and prints it in UTF-8 with LF line ends.\n",
     .minArgs = 1,
     .maxArgs = 1,
     .run = RunPhases},

    {.name = "lunar-days",
     .synopsis = "the lunar days of one lunar month of a year",
     .help = "Usage: kvlove lunar-days YEAR MONTH [--times]\n"
             "\n"
             "Computes the phase table of YEAR (0..3000) as 'kvlove phases' does\n"
             "(rewriting System/F_LunDay.tmp), then chooses lunar month MONTH (1..14)\n"
             "as the window's radio group does. Prints the caption of the list and one\n"
             "line per lunar day: its number and the date its moonrise falls on, for\n"
             "an observer at 0 deg E, 51.5 deg N. A lunar day runs from one moonrise to\n"
             "the next; dates with no moonrise are skipped.\n",
     .options = {{"--times", nullptr,
                  "add the start and end of each lunar day, tab-separated\n"
                  "(DD.MM.YYYY HH:MM:SS, universal time)"}},
     .minArgs = 2,
     .maxArgs = 2,
     .run = RunLunarDays},

    {.name = "lunar-day",
     .synopsis = "the start, end and description of one lunar day",
     .help = "Usage: kvlove lunar-day YEAR MONTH N\n"
             "\n"
             "As 'kvlove lunar-days YEAR MONTH', then a click on line N of the list:\n"
             "writes System/TmpFile1.tmp and System/TmpFile2.tmp as the window does\n"
             "and prints TmpFile1.tmp (UTF-8, LF): the start and end of lunar day N\n"
             "in universal time and its description from System/DayMoon.doc.\n"
             "N must be a line of that list. A description block that cannot be read\n"
             "is reported on standard error, as the window's error box does, and the\n"
             "lookup goes on.\n",
     .minArgs = 3,
     .maxArgs = 3,
     .run = RunLunarDay},

    {.name = "eclipses",
     .synopsis = "the solar and lunar eclipses of a year",
     .help = "Usage: kvlove eclipses YEAR [--details]\n"
             "\n"
             "The eclipse list of the eclipses tab for YEAR (1900..2050), line for line:\n"
             "title, column header, one line per eclipse from 1 January 00:00 to\n"
             "1 January 00:00 of the next year (number, date and time in universal\n"
             "time, zodiac degree of the Sun or the Moon, kind and type), closing note.\n",
     .options = {{"--details", nullptr,
                  "append to each eclipse line, tab-separated: the instant as a\n"
                  "day number (days since 1899-12-31 12:00 UT, 17 significant\n"
                  "digits), the magnitude (6 decimals), the hours of the partial\n"
                  "phase and of the central (solar) or total (lunar) phase\n"
                  "(4 decimals, 0 when there is none)"}},
     .minArgs = 1,
     .maxArgs = 1,
     .run = RunEclipses},
};

std::string Label(const Option& o) {
  return o.value ? std::string(o.name) + " " + o.value : o.name;
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

std::string HelpText(const Command& c) {
  std::string text = c.help;
  if (c.options.empty()) return text;
  std::size_t width = 0;
  for (const Option& o : c.options) width = std::max(width, Label(o).size());
  text += "\nOptions:\n";
  for (const Option& o : c.options) {
    std::string label = Label(o);
    label.resize(width, ' ');
    std::string_view lines = o.help;
    for (bool first = true;; first = false) {
      const std::size_t end = lines.find('\n');
      text += "  " + (first ? label : std::string(width, ' ')) + "  ";
      text += lines.substr(0, end);
      text += '\n';
      if (end == std::string_view::npos) break;
      lines.remove_prefix(end + 1);
    }
  }
  return text;
}

}  // namespace kvcli
