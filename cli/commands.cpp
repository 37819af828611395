#include "commands.h"

#include <algorithm>
#include <string_view>

#include "places.h"
#include "tr.h"

namespace kvcli {

namespace {

const Option kFormat{"--format", "FORMAT",
                     QT_TRANSLATE_NOOP("Kvlove",
                                       "text (the default), json or csv: json is one object with\n"
                                       "the inputs and the results, times in ISO 8601 with their\n"
                                       "UTC offset; csv a header line, then a line per record.\n"
                                       "The files written are the same in every format")};

const Option kZone{"--tz", "ZONE",
                   QT_TRANSLATE_NOOP("Kvlove",
                                     "the time zone of the dates and times: an IANA zone of the\n"
                                     "system (Europe/Moscow) or an offset east of Greenwich\n"
                                     "(+03:00, +3, UTC+3 and GMT+3 alike; the database's\n"
                                     "Etc/GMT+3, of reversed sign, is refused); default GMT,\n"
                                     "or the zone of the --place city")};

const Option kPlace{"--place", "PLACE",
                    QT_TRANSLATE_NOOP("Kvlove",
                                      "the observer: a city of the atlas (libgeonames, 24,361\n"
                                      "cities) by its Russian or Latin name, with its region or\n"
                                      "country after commas when the name is not enough\n"
                                      "(--place Москва, --place \"Moscow, Idaho\"): a name alone\n"
                                      "means its most populous city, and the city's zone is used\n"
                                      "unless --tz is given; or LAT,LON in degrees, north and\n"
                                      "east positive (--place 55.75,37.62), in GMT unless --tz is\n"
                                      "given; default 51.5,0, the window's observer")};

const Option kBirthPlace{
    "--place", "PLACE",
    QT_TRANSLATE_NOOP("Kvlove",
                      "the place of birth: DATE and TIME are its clock's, turned\n"
                      "into universal time through its zone's history (daylight\n"
                      "saving, every change of offset). A city of the atlas by its\n"
                      "Russian or Latin name, with region or country after commas\n"
                      "(--place \"Москва, Россия\"), or LAT,LON with --tz. A time\n"
                      "the clock skipped is refused; one it showed twice is taken\n"
                      "the first time, and the output says so")};

const Option kLunarZone{
    "--tz", "ZONE",
    QT_TRANSLATE_NOOP("Kvlove",
                      "the time zone of the dates and times, whose calendar days\n"
                      "the moonrise search runs in (from the zone's midnight): an\n"
                      "IANA zone (Europe/Moscow) or an offset east of Greenwich\n"
                      "(+03:00, UTC+3, GMT+3 alike); default GMT, or the zone of\n"
                      "the --place city")};

// Said by every command that prints moonrises in text, before its example.
const char* const kClockDigits =
    QT_TRANSLATE_NOOP("Kvlove",
                      "Text output tells times as the window does, by the clock digits of a\n"
                      "moment cut to the minute, so a moonrise of 09:38 can print as\n"
                      "09:37:59; json and csv give the exact minute.\n");

const Option kLenientDates{
    "--lenient-dates", nullptr,
    QT_TRANSLATE_NOOP("Kvlove",
                      "take day 1..31 of any month as the window does: counted on\n"
                      "past the month's end (31.02.2020 is 02.03.2020), 05.10 to\n"
                      "14.10.1582 read as Julian dates and year 0 as 1 BC, instead\n"
                      "of refusing a date that does not exist")};

const Command kCommands[] = {
    {.name = "chart",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the ten bodies at a moment (universal time)"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove chart DATE [HH:MM[:SS]] [--place PLACE] [--tz ZONE]\n"
         "\n"
         "Positions of the Sun, the Moon and the planets at the given moment of\n"
         "universal time (default 00:00:00). DATE is DD.MM.YYYY or YYYY-MM-DD\n"
         "(see kvlove --help). Years -3000..3000, the years the ephemeris\n"
         "computes; negative years are years BC (-1 is 1 BC). The first\n"
         "line is the day number (days since 1899-12-31 12:00 UT, 17 significant\n"
         "digits); then one line per body, tab-separated:\n"
         "  index (1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn,\n"
         "  8 Uranus, 9 Neptune, 10 Pluto), longitude, declination and daily speed\n"
         "  in degrees (9 decimals), zodiac sign (1 Aries .. 12 Pisces).\n"
         "With --place the date and time are the clock's of the place of birth;\n"
         "a last line names the place, the zone and the offset used (json:\n"
         "place, offset and moment).\n"
         "\n"
         "Example, born in Moscow at 12:15 on 1 July 1985 (UTC+04:00 then):\n"
         "  kvlove chart 01.07.1985 12:15 --place Москва\n"),
     .options = {kBirthPlace, kZone, kLenientDates, kFormat},
     .minArgs = 1,
     .maxArgs = 2,
     .run = RunChart},

    {.name = "compat",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove",
                                   "compatibility scan of four years: levels, scan files, charts"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove compat DATE START_YEAR [--png PREFIX] [--pdf FILE] [--extremes]\n"
         "\n"
         "The compatibility run of the window for a birth date DATE (DD.MM.YYYY or\n"
         "YYYY-MM-DD, taken at 12:00; year -2000..3000) and the first year of the\n"
         "analysis (1900..2050), without its pauses. Pass 1 rates every second day\n"
         "of START_YEAR and the year after, pass 2 the two years that follow.\n"
         "Writes Html/Scan1.txt and Html/Scan2.txt under the main directory, as\n"
         "the window does, and prints one line per point, tab-separated:\n"
         "  pass (1, 2), point K (1..360), day, month and year of the partner's\n"
         "  birth date, level (-70..70).\n"
         "With --extremes it prints instead, for each calendar year, the 10 points\n"
         "of the highest level and the 10 of the lowest, as the window's list beside\n"
         "the charts shows them, one line per point, tab-separated:\n"
         "  year, highest or lowest, rank (1..10), day, month, year, level.\n"
         "Of equal levels the earlier date ranks first.\n"),
     .options = {{"--png", "PREFIX",
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "also save the two charts as PREFIX1.png and PREFIX2.png\n"
                                    "(720 x 218 pixels), as the window draws them at 100 %")},
                 {"--pdf", "FILE",
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "also save both charts with the birth date, the years and a\n"
                                    "legend as the PDF FILE (A4), as the window's Ctrl+S does")},
                 {"--extremes", nullptr,
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "print each year's 10 highest and 10 lowest points instead\n"
                                    "of every point")},
                 kLenientDates,
                 kFormat},
     .minArgs = 2,
     .maxArgs = 2,
     .run = RunCompat},

    {.name = "report",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the planets of a horoscope as an HTML page"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove report NAME DATE HH:MM [--place PLACE] [--tz ZONE]\n"
         "                     [--pdf FILE]\n"
         "\n"
         "Writes Html/Gradus_html.html under the main directory, the page of the\n"
         "tab \"Планеты Вашего гороскопа\": the zodiac degree of each of the ten\n"
         "bodies with that degree's paragraph from Html/gradus.txt. The moment is\n"
         "Moscow time, taken as universal time + 3 hours all year round; with\n"
         "--place or --tz, the clock of the place of birth through its zone's\n"
         "history, and the page and a second printed line name the place and the\n"
         "offset used. NAME is UTF-8 text (may be \"\"); the page is Windows-1251\n"
         "with CR LF line ends.\n"
         "DATE is DD.MM.YYYY or YYYY-MM-DD of the years 1900..2100 (with\n"
         "--lenient-dates day 1..31 of any month, counted on past a short month's\n"
         "end as the window does), hour 0..23, minute 0..59. Prints the page's\n"
         "path. When the page cannot be completed (a missing or malformed\n"
         "gradus.txt), the previous page stays as it was.\n"
         "\n"
         "Example: kvlove report Анна 12.06.1988 07:30 --place \"Новосибирск\"\n"),
     .options = {kBirthPlace,
                 kZone,
                 {"--pdf", "FILE",
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "also save the page as the PDF FILE (A4), as the window's\n"
                                    "Ctrl+S does")},
                 kLenientDates,
                 kFormat},
     .minArgs = 3,
     .maxArgs = 3,
     .run = RunReport},

    {.name = "phases",
     .synopsis =
         QT_TRANSLATE_NOOP("Kvlove", "the phases of fourteen lunar months from a year's start"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove phases YEAR [--place PLACE] [--tz ZONE]\n"
         "\n"
         "The calculate button of the lunar tab for YEAR (0..3000): fourteen\n"
         "lunations from the one in progress on 1 January, with the dates (UT) of\n"
         "new moon, first quarter, full moon and last quarter. Writes the listing\n"
         "file System/F_LunDay.tmp (Windows-1251, CR LF) exactly as the window\n"
         "does and prints it in UTF-8 with LF line ends. With --tz the dates\n"
         "printed are those of the zone (the file keeps the window's); json and\n"
         "csv give the moments of the phases, a list months of new_moon,\n"
         "first_quarter, full_moon and last_quarter. --place gives the zone of\n"
         "its city (the phases are the same everywhere).\n"
         "\n"
         "Example: kvlove phases 2008 --tz Europe/Moscow --format json\n"),
     .options = {kPlace, kZone, kFormat},
     .minArgs = 1,
     .maxArgs = 1,
     .run = RunPhases},

    {.name = "lunar-days",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the lunar days of one lunar month of a year"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove lunar-days YEAR MONTH [--times] [--place PLACE] [--tz ZONE]\n"
         "\n"
         "Computes the phase table of YEAR (0..3000) as 'kvlove phases' does\n"
         "(rewriting System/F_LunDay.tmp), then chooses lunar month MONTH (1..14)\n"
         "as the window's radio group does. Prints the caption of the list and one\n"
         "line per lunar day: its number and the date its moonrise falls on, for\n"
         "an observer at 0 deg E, 51.5 deg N. A lunar day runs from one moonrise to\n"
         "the next; dates with no moonrise are skipped.\n"
         "\n"
         "With --place or --tz the lunar days are those of that place, dated in\n"
         "that zone (a line under the caption names both): each date's moonrise\n"
         "is searched from the zone's midnight, and dates without a moonrise are\n"
         "skipped however many follow one another. Near and beyond the polar\n"
         "circles the Moon stays below or above the horizon for days: a lunar day\n"
         "there lasts from one moonrise to the next however many dates that takes,\n"
         "two moonrises on one date start two lunar days, and a month may have\n"
         "far fewer lunar days than 29. json and csv give a list lunar_days of\n"
         "day, start and end, and the place.\n"
         "\n"),
     .clockDigits = true,
     .example = QT_TRANSLATE_NOOP("Kvlove",
                                  "Example, the lunar days of Moscow in Moscow time:\n"
                                  "  kvlove lunar-days 2008 2 --place Москва --times\n"),
     .options = {{"--times", nullptr,
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "add the start and end of each lunar day, tab-separated\n"
                                    "(DD.MM.YYYY HH:MM:SS: universal time, or with a zone its\n"
                                    "time and offset, 09.01.2008 09:54:00 +03:00)")},
                 kPlace,
                 kLunarZone,
                 kFormat},
     .minArgs = 2,
     .maxArgs = 2,
     .run = RunLunarDays},

    {.name = "lunar-day",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the start, end and description of one lunar day"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove lunar-day YEAR MONTH N [--place PLACE] [--tz ZONE]\n"
         "\n"
         "As 'kvlove lunar-days YEAR MONTH', then a click on line N of the list:\n"
         "prints the start and end of lunar day N in universal time and its\n"
         "description from System/DayMoon.doc (UTF-8, LF), and writes\n"
         "System/TmpFile1.tmp (what is printed) and System/TmpFile2.tmp as the\n"
         "window does. N must be a line of that list. A description block that\n"
         "cannot be read is reported on standard error, as the window's error\n"
         "box does, and the lookup goes on. A day without a description prints\n"
         "its start and end, names the day and the file on standard error and\n"
         "exits with 1.\n"
         "\n"
         "With --place or --tz, N is a line of the list of that place (see\n"
         "'kvlove lunar-days --help'); the start and end are given in the zone,\n"
         "labelled with its offset (UTC+03:00) instead of GMT, and the temporary\n"
         "files are not written: they keep the window's lunar day. json and csv\n"
         "give day, start, end and description.\n"
         "\n"),
     .clockDigits = true,
     .example = QT_TRANSLATE_NOOP("Kvlove", "Example: kvlove lunar-day 2008 2 1 --place Москва\n"),
     .options = {kPlace, kLunarZone, kFormat},
     .minArgs = 3,
     .maxArgs = 3,
     .run = RunLunarDay},

    {.name = "eclipses",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the solar and lunar eclipses of a year"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove eclipses YEAR [--details] [--place PLACE] [--tz ZONE]\n"
         "\n"
         "The eclipse list of the eclipses tab for YEAR (1900..2050), line for line:\n"
         "title, column header, one line per eclipse from 1 January 00:00 to\n"
         "1 January 00:00 of the next year (number, date and time in universal\n"
         "time, zodiac degree of the Sun or the Moon, kind and type), closing note.\n"
         "With --tz the year, the dates and the times are the zone's, and the\n"
         "note names it. json and csv give a list eclipses of number, instant,\n"
         "kind (solar, lunar) and type (total, annular, partial, hybrid,\n"
         "penumbral) with kind_ru and type_ru (the list's words), zodiac_degree\n"
         "and longitude (of the Sun or the Moon, degrees), with --details also\n"
         "day_number, magnitude, partial_hours and central_hours.\n"
         "\n"
         "With --place, the times are the zone's of the place, and each eclipse\n"
         "is seen from there (the Swiss Ephemeris' local circumstances; the list's\n"
         "instants stay those of the program's search): visible (some phase with\n"
         "the Sun or the Moon above the horizon), maximum_visible (the greatest\n"
         "phase so), local_maximum (the greatest phase there, ISO 8601 with the\n"
         "zone's offset; none when not visible) and local_magnitude. Text adds\n"
         "them to each line, tab-separated (\"видно\" or \"не видно\", \"максимум\n"
         "виден\" or \"максимум не виден\", the local maximum or \"-\") and a last\n"
         "line naming the place.\n"
         "\n"
         "Examples:\n"
         "  kvlove eclipses 1999 --tz Europe/Moscow\n"
         "  kvlove eclipses 2026 --place Мадрид --format json\n"),
     .options = {{"--details", nullptr,
                  QT_TRANSLATE_NOOP(
                      "Kvlove",
                      "append to each eclipse line, tab-separated: the instant as a\n"
                      "day number (days since 1899-12-31 12:00 UT, 17 significant\n"
                      "digits), the magnitude (6 decimals), the hours of the partial\n"
                      "phase and of the central (solar) or total (lunar) phase\n"
                      "(4 decimals, 0 when there is none)")},
                 kPlace,
                 kZone,
                 kFormat},
     .minArgs = 1,
     .maxArgs = 1,
     .run = RunEclipses},

    {.name = "today",
     .synopsis = QT_TRANSLATE_NOOP("Kvlove", "the lunar day of today (or of --at) at a place"),
     .help = QT_TRANSLATE_NOOP(
         "Kvlove",
         "Usage: kvlove today [--place PLACE] [--tz ZONE] [--at 'DATE HH:MM']\n"
         "\n"
         "The lunar day now, or at the moment --at gives by the clock of the\n"
         "place, for the observer and zone of --place and --tz (default the\n"
         "window's observer in GMT): its number, start and end (the moonrises of\n"
         "the place, as 'kvlove lunar-days' finds them), the Moon's phase and lit\n"
         "fraction at the moment, and the day's description from\n"
         "System/DayMoon.doc. Writes no file. json gives lunar_day, start, end,\n"
         "description, illumination (0..1), phase (new_moon, waxing_crescent,\n"
         "first_quarter, waxing_gibbous, full_moon, waning_gibbous, last_quarter,\n"
         "waning_crescent) and phase_ru, with the place.\n"
         "\n"),
     .clockDigits = true,
     .example =
         QT_TRANSLATE_NOOP("Kvlove",
                           "Examples:\n"
                           "  kvlove today --place Новосибирск\n"
                           "  kvlove today --place Москва --at '01.01.2027 12:00' --format json\n"),
     .options = {kPlace,
                 kLunarZone,
                 {"--at", "'DATE HH:MM'",
                  QT_TRANSLATE_NOOP("Kvlove",
                                    "the moment by the clock of the place (of --tz), the date\n"
                                    "DD.MM.YYYY or YYYY-MM-DD; a time the clock skipped is\n"
                                    "refused, one it showed twice is taken the first time;\n"
                                    "default now")},
                 kLenientDates,
                 kFormat},
     .minArgs = 0,
     .maxArgs = 0,
     .run = RunToday},
};

std::string Label(const Option& o) {
  return o.value ? std::string(o.name) + " " + o.value : o.name;
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

std::string HelpText(const Command& c) {
  std::string text = Kvlove::tr(c.help);
  if (c.clockDigits) text += Kvlove::tr(kClockDigits);
  if (c.example) text += "\n" + Kvlove::tr(c.example);
  if (c.options.empty()) return text;
  std::size_t width = 0;
  for (const Option& o : c.options) width = std::max(width, Label(o).size());
  text += "\n" + Kvlove::tr("Options:") + "\n";
  for (const Option& o : c.options) {
    std::string label = Label(o);
    label.resize(width, ' ');
    const std::string help = Kvlove::tr(o.help);
    std::string_view lines = help;
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
