// kvlove in the user's language, and the dates it takes: DD.MM.YYYY and
// ISO 8601, refused when they do not exist unless --lenient-dates.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/calendar.h"
#include "run.h"

namespace {

constexpr const char* kRussian = "LANG=ru_RU.UTF-8";

std::string FirstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

}  // namespace

// glibc's ru_RU locale need not exist (CI has none): kvlove reads the
// variables itself, as the C library would choose among them.
TEST(KvloveLanguageTest, HelpFollowsTheLocaleOfMessages) {
  const std::string english = RunKvlove("--help").out;
  ASSERT_EQ(english.rfind("Usage: kvlove", 0), 0u) << english;
  const struct {
    const char* env;
    bool russian;
  } cases[] = {
      {kRussian, true},
      {"LANG=ru_RU.KOI8-R", true},
      {"LANG=C LC_MESSAGES=ru_RU.UTF-8", true},
      {"LANG=ru_RU.UTF-8 LC_MESSAGES=en_GB.UTF-8", false},
      {"LANG=ru_RU.UTF-8 LC_ALL=C", false},
      {"LANG=de_DE.UTF-8", false},
      {"LANG=de_DE.UTF-8 LANGUAGE=ru:en", true},
      {"LANG=de_DE.UTF-8 LANGUAGE=fr:en:ru", false},  // English comes first
      {"LANG=C LANGUAGE=ru", false},                  // as gettext: not under C
  };
  for (const auto& c : cases) {
    const RunResult r = RunKvlove("--help", ".", c.env);
    EXPECT_EQ(r.status, 0) << c.env;
    if (c.russian) {
      EXPECT_EQ(r.out.rfind("Использование: kvlove", 0), 0u) << c.env << ": " << r.out;
      EXPECT_NE(r.out.find("\nКоманды:\n"), std::string::npos) << c.env;
      EXPECT_NE(r.out.find("\nКод возврата: 0 — готово"), std::string::npos) << c.env;
    } else {
      EXPECT_EQ(r.out, english) << c.env;
    }
  }
  // Every command's help is translated whole; results do not change.
  for (const char* command :
       {"chart", "compat", "report", "phases", "lunar-days", "lunar-day", "eclipses", "today"}) {
    const std::string ru = RunKvlove(std::string(command) + " --help", ".", kRussian).out;
    const std::string en = RunKvlove(std::string(command) + " --help").out;
    EXPECT_EQ(ru.rfind(std::string("Использование: kvlove ") + command, 0), 0u) << ru;
    EXPECT_NE(ru.find("\nПараметры:\n  --"), std::string::npos) << command;
    EXPECT_EQ(ru.find("\nOptions:"), std::string::npos) << command;
    // The option column keeps its names.
    EXPECT_NE(ru.find("--format FORMAT  "), std::string::npos) << command;
    EXPECT_NE(en.find("--format FORMAT  "), std::string::npos) << command;
  }
  EXPECT_EQ(RunKvlove("eclipses 1999", ".", kRussian).out, RunKvlove("eclipses 1999").out);
}

TEST(KvloveLanguageTest, MessagesInRussianNameWhatIsWrong) {
  const RunResult date = RunKvlove("chart 31.02.2020", ".", kRussian);
  EXPECT_EQ(date.status, 2);
  EXPECT_EQ(date.err,
            "kvlove: дата «31.02.2020» не существует: в месяце 02 года 2020 всего 29 дней; "
            "с --lenient-dates счёт идёт дальше, до 02.03.2020\n");
  const RunResult option = RunKvlove("today --at '30.02.2021 12:00'", ".", kRussian);
  EXPECT_EQ(option.status, 2);
  EXPECT_EQ(option.err.rfind("kvlove: --at «30.02.2021» не существует", 0), 0u) << option.err;
  EXPECT_EQ(RunKvlove("nosuch", ".", kRussian).err,
            "kvlove: неизвестная команда «nosuch» (см. kvlove --help)\n");
  EXPECT_EQ(RunKvlove("nosuch").err, "kvlove: unknown command 'nosuch' (see kvlove --help)\n");
  EXPECT_EQ(RunKvlove("phases 2000 --format xml", ".", kRussian).err,
            "kvlove: неизвестный формат «xml» (text, json или csv)\n");
}

// ISO 8601 is read as kvlove's json writes it: proleptic Gregorian, 0000
// for 1 BC; the day is the same day of the program's calendar.
TEST(KvloveLanguageTest, IsoDatesAreTheDaysJsonWrites) {
  EXPECT_EQ(RunKvlove("chart 1985-06-15 12:15").out, RunKvlove("chart 15.06.1985 12:15").out);
  // Before 15.10.1582 the lists are Julian: 1582-10-14 is 04.10.1582.
  EXPECT_EQ(RunKvlove("chart 1582-10-14").out, RunKvlove("chart 04.10.1582").out);
  for (const char* iso : {"1985-06-15", "2000-02-29", "1582-10-15", "1582-10-10", "1582-10-04",
                          "1600-02-29", "0000-02-29", "-0100-03-01", "+1500-02-28"}) {
    const RunResult r = RunKvlove(std::string("chart ") + iso + " --format json");
    ASSERT_EQ(r.status, 0) << iso << ": " << r.err;
    const std::string moment = nlohmann::json::parse(r.out)["moment"];
    EXPECT_EQ(moment, std::string(iso[0] == '+' ? iso + 1 : iso) + "T00:00:00+00:00");
  }
  const std::string page = RunKvlove("report Анна 1990-01-31 07:30").out;
  EXPECT_EQ(page, RunKvlove("report Анна 31.01.1990 07:30").out);
}

TEST(KvloveLanguageTest, DatesThatDoNotExistAreRefused) {
  const struct {
    const char* args;
    const char* said;
  } cases[] = {
      {"chart 31.02.2020", "date '31.02.2020' does not exist: month 02 of 2020 has 29 days"},
      {"chart 29.02.1900", "month 02 of 1900 has 28 days; --lenient-dates counts on to 01.03.1900"},
      {"chart 31.04.1985", "has 30 days"},
      {"chart 10.10.1582", "04.10.1582 (Julian) was followed by 15.10.1582"},
      {"chart 05.10.1582 12:00", "Julian date, 15.10.1582"},
      {"chart 01.01.0000", "there is no year 0"},
      {"chart 2021-02-29",
       "date '2021-02-29' does not exist: month 02 of 2021 has 28 days; "
       "--lenient-dates counts on to 2021-03-01"},
      {"chart 1900-02-29", "has 28 days"},
      {"chart 1985-6-15", "malformed date '1985-6-15' (expected DD.MM.YYYY or YYYY-MM-DD)"},
      {"chart 1985-06-15-", "malformed"},
      {"chart 85-06-15", "malformed"},
      {"chart 1985-13-01", "month out of range 1..12"},
      {"compat 30.02.1985 2026", "'30.02.1985' does not exist"},
      {"report Анна 31.06.1990 12:00", "'31.06.1990' does not exist"},
      {"today --at '29.02.2023 10:00'", "--at '29.02.2023' does not exist"},
  };
  for (const auto& c : cases) {
    const RunResult r = RunKvlove(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.args;
  }
  // The days around them are days: the Julian 29 February, the calendar's seam.
  for (const char* day : {"29.02.1500", "04.10.1582", "15.10.1582", "29.02.2000", "29.02.-1"})
    EXPECT_EQ(RunKvlove(std::string("chart ") + day).status, 0) << day;
}

// The window takes day 1..31 of any month and lets the calendar count on:
// --lenient-dates gives the same day number, so its results can be redone.
TEST(KvloveLanguageTest, LenientDatesKeepTheWindowsArithmetic) {
  const struct {
    const char* date;
    int day, month, year;
  } cases[] = {{"31.02.1985", 31, 2, 1985},  {"29.02.1900", 29, 2, 1900},
               {"10.10.1582", 10, 10, 1582}, {"01.03.0000", 1, 3, 0},
               {"31.11.2049", 31, 11, 2049}, {"2021-02-31", 3, 3, 2021}};
  for (const auto& c : cases) {
    const RunResult r = RunKvlove(std::string("chart ") + c.date + " 06:30 --lenient-dates");
    ASSERT_EQ(r.status, 0) << c.date << ": " << r.err;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.17g",
                  kv::DayNumber(c.day, c.month, c.year, 6, 30, 0));
    EXPECT_EQ(FirstLine(r.out), expected) << c.date;
  }
  const kvtest::TempDir dir("kvlove_lenient");
  std::filesystem::create_directories(dir.path() / "Html");
  const std::string compat = "--main-dir '" + dir.str() + "' compat ";
  const RunResult lenient = RunKvlove(compat + "31.02.1985 2026 --lenient-dates");
  ASSERT_EQ(lenient.status, 0) << lenient.err;
  EXPECT_EQ(lenient.out, RunKvlove(compat + "03.03.1985 2026").out);
  const std::string today = "--main-dir '" KV_DIST_DIR "' today --place Москва --at ";
  const RunResult at = RunKvlove(today + "'31.04.2020 12:00' --lenient-dates");
  ASSERT_EQ(at.status, 0) << at.err;
  EXPECT_EQ(at.out, RunKvlove(today + "'01.05.2020 12:00'").out);
}
