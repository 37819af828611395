#include <nlohmann/json.hpp>

#include <algorithm>

#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"
#include "lunar_test_util.h"
#include "run.h"

using namespace kv;
using namespace lunartest;
using Json = nlohmann::json;

namespace {
class KvloveLunarTest : public MainDirTest {
 protected:
  RunResult Run(const std::string& args, const std::string& env = "") {
    return RunKvlove("--main-dir '" + dir_.string() + "' " + args, ".", env);
  }
};

std::vector<std::string> LfLines(const std::string& s) {
  std::vector<std::string> v;
  std::size_t b = 0;
  for (std::size_t e; (e = s.find('\n', b)) != std::string::npos; b = e + 1)
    v.push_back(s.substr(b, e - b));
  return v;
}

std::string Utf8Lines(const std::vector<std::string>& cp1251Lines) {
  std::string s;
  for (const auto& l : cp1251Lines) s += FromCp1251(l) + "\n";
  return s;
}
}  // namespace

TEST_F(KvloveLunarTest, PhasesWritesTheWindowsFileAndPrintsIt) {
  const RunResult r = Run("phases 2008");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string written = Bytes(Sys("F_LunDay.tmp"));
  WritePhaseListing(2008);  // what the window's button writes
  EXPECT_EQ(written, Bytes(LunDay_Name));
  EXPECT_EQ(r.out, Utf8Lines(CrLfLines(written)));
  EXPECT_NE(r.out.find("    1     09.12.2007    17.12.2007     24.12.2007     31.12.2007\n"),
            std::string::npos);
  EXPECT_NE(r.out.find(" Лун.месяц Новолуние"), std::string::npos);
}

TEST_F(KvloveLunarTest, LunarDaysPrintsCaptionAndList) {
  const RunResult r = Run("lunar-days 2008 2");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = LfLines(r.out);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[0], "   Лунные дни на 2 лунный месяц  2008г.");
  EXPECT_EQ(lines[1], "  1   09.01.2008");
  EXPECT_EQ(lines[27], " 27   05.02.2008");
  EXPECT_TRUE(fs::exists(Sys("F_LunDay.tmp")));

  const RunResult t = Run("lunar-days 2008 2 --times");
  ASSERT_EQ(t.status, 0) << t.err;
  const auto timed = LfLines(t.out);
  ASSERT_EQ(timed.size(), 28u);
  WritePhaseListing(2008);
  ResetLunarDays();
  BuildLunarDays(2);
  for (int N = 1; N <= 27; ++N)
    EXPECT_EQ(timed[N],
              lines[N] + "\t" + Moment(LunarDay_Starts[N - 1]) + "\t" + Moment(LunarDay_Starts[N]));
  EXPECT_EQ(timed[20].substr(16, 17), "\t29.01.2008 00:08");
}

TEST_F(KvloveLunarTest, LunarDayPrintsTimesAndDescription) {
  ShipDescriptions();
  const RunResult r = Run("lunar-day 2008 2 20");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = LfLines(r.out);
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[0], "");
  EXPECT_TRUE(lines[1].starts_with(" Начало лунного дня    29.01.2008  00:0")) << lines[1];
  EXPECT_TRUE(lines[1].ends_with(" GMT")) << lines[1];
  EXPECT_TRUE(lines[2].starts_with(" Конец лунного дня     30.01.2008  01:21")) << lines[2];
  EXPECT_EQ(lines[3], "");
  // The window's files, as its click leaves them.
  EXPECT_EQ(r.out, Utf8Lines(CrLfLines(Bytes(Sys("TmpFile1.tmp")))));
  EXPECT_NE(Bytes(Sys("TmpFile2.tmp")), "");
  EXPECT_FALSE(fs::exists(Sys("File_tmp_2.txt")));
}

TEST_F(KvloveLunarTest, DayWithoutDescriptionPrintsItsTimesAndFails) {
  // A broken block: its error, then no description for the day.
  WriteBytes(Sys("DayMoon.doc"), "*   0   1   0   0   0   0   0\r\nno terminator\r\nat all\r\n");
  const std::string missing = "kvlove: Нет описания лунного дня 1 в файле «" +
                              Sys("DayMoon.doc").string() + "»: нет строки «*   0   1   0   0 ";
  RunResult r = Run("lunar-day 2008 2 1");
  EXPECT_EQ(r.status, 1);
  const auto err = LfLines(r.err);
  ASSERT_EQ(err.size(), 2u) << r.err;
  EXPECT_EQ(err[0], "kvlove:  Ошибка в W_find3: " + Sys("DayMoon.doc").string());
  EXPECT_TRUE(err[1].starts_with(missing)) << err[1];
  EXPECT_EQ(LfLines(r.out).size(), 4u);  // the two time lines between empty lines
  // No marker at all, for a place and as JSON: the same.
  WriteBytes(Sys("DayMoon.doc"), "");
  for (const char* args :
       {"lunar-day 2008 2 1 --place Москва", "lunar-day 2008 2 1 --format json"}) {
    r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_TRUE(r.err.starts_with(missing)) << args << ": " << r.err;
    EXPECT_NE(r.out.find("2008"), std::string::npos) << args;
  }
}

// kvlove beside kvlove in one main directory, as a script beside another:
// every run prints its own result, and every file kept is whole.
TEST_F(KvloveLunarTest, RunsSideBySideInOneMainDirectoryEachPrintTheirOwn) {
  ShipDescriptions();
  const std::vector<std::string> commands = {"lunar-day 2026 2 3", "lunar-day 2027 5 9",
                                             "phases 2027"};
  std::vector<std::string> alone, blocks, listings;
  for (const std::string& c : commands) {
    const RunResult r = Run(c);
    ASSERT_EQ(r.status, 0) << c << ": " << r.err;
    alone.push_back(r.out);
    blocks.push_back(Bytes(Sys("TmpFile2.tmp")));
    listings.push_back(Bytes(Sys("F_LunDay.tmp")));
  }
  ASSERT_NE(alone[0], alone[1]);
  ASSERT_NE(listings[0], listings[1]);

  const kvtest::TempDir out("kvlove_side");
  constexpr int kRounds = 6;
  std::string script;
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const std::string o =
          (out.path() / (std::to_string(round) + "_" + std::to_string(i))).string();
      script += "(" KV_DIST_DIR "/kvlove --main-dir '" + dir_.string() + "' " + commands[i] +
                " >'" + o + ".out' 2>&1; echo $? >'" + o + ".status') &\n";
    }
    script += "wait\n";
  }
  ASSERT_EQ(std::system(script.c_str()), 0);
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const fs::path o = out.path() / (std::to_string(round) + "_" + std::to_string(i));
      SCOPED_TRACE(commands[i] + ", round " + std::to_string(round));
      EXPECT_EQ(Slurp(o.string() + ".status"), "0\n");
      EXPECT_EQ(Slurp(o.string() + ".out"), alone[i]);
    }
  }
  // The files kept are each one run's, whole; no part or scratch file stays.
  const std::string shown = Utf8Lines(CrLfLines(Bytes(Sys("TmpFile1.tmp"))));
  EXPECT_TRUE(shown == alone[0] || shown == alone[1]) << shown;
  const std::string block = Bytes(Sys("TmpFile2.tmp"));
  EXPECT_TRUE(block == blocks[0] || block == blocks[1]) << block;
  const std::string listing = Bytes(Sys("F_LunDay.tmp"));
  EXPECT_TRUE(listing == listings[0] || listing == listings[2]) << listing;
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(Sys())) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"DayMoon.doc", "F_LunDay.tmp", "TmpFile1.tmp",
                                            "TmpFile2.tmp"}));
}

TEST_F(KvloveLunarTest, FailuresOfTheComputationExitWithOne) {
  // Descriptions missing.
  RunResult r = Run("lunar-day 2008 2 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("DayMoon.doc"), std::string::npos) << r.err;
  // A marker line that is not numeric before day 1's.
  WriteBytes(Sys("DayMoon.doc"), "\r\n* notes\r\n*   0   1   0   0   0   0   0\r\na\r\nb\r\n@\r\n");
  r = Run("lunar-day 2008 2 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "kvlove: 'not' is not a valid integer value в файле «" +
                       Sys("DayMoon.doc").string() + "», строка 2\n");  // columns 3-5
  // No system directory.
  fs::remove_all(Sys());
  for (const char* args : {"phases 2008", "lunar-days 2008 3", "lunar-day 2008 3 1"}) {
    r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find("F_LunDay.tmp"), std::string::npos) << args << ": " << r.err;
  }
}

TEST_F(KvloveLunarTest, BadInputExitsWithTwo) {
  ShipDescriptions();
  for (const char* args :
       {"phases", "phases x", "phases 20O8", "phases 3001", "phases -1", "phases 2008 1",
        "lunar-days 2008", "lunar-days 2008 0", "lunar-days 2008 15", "lunar-days 2008 2x",
        "lunar-days 2008 2 --nosuch", "lunar-day 2008 2", "lunar-day 2008 2 0",
        "lunar-day 2008 2 28", "lunar-day 2008 2 -1", "lunar-day 2008 2 1 --times"}) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    EXPECT_EQ(r.out, "") << args;
  }
}

TEST_F(KvloveLunarTest, HelpAndLocale) {
  const RunResult all = Run("--help");
  for (const char* name : {"phases", "lunar-days", "lunar-day"}) {
    EXPECT_NE(all.out.find(name), std::string::npos) << name;
    const RunResult h = Run(std::string(name) + " --help");
    EXPECT_EQ(h.status, 0);
    EXPECT_NE(h.out.find(std::string("Usage: kvlove ") + name + " YEAR"), std::string::npos);
  }
  EXPECT_EQ(Run("lunar-days 2008 2 --times", "LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8").out,
            Run("lunar-days 2008 2 --times").out);
}

// Moscow's lunar days in Moscow time, by name or by coordinates and zone,
// as text, JSON and CSV.
TEST_F(KvloveLunarTest, MoscowInMoscowTime) {
  const RunResult r = Run("lunar-days 2008 2 --place Москва --times");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = LfLines(r.out);
  ASSERT_EQ(lines.size(), 29u);
  EXPECT_EQ(lines[1], "   Москва — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow");
  EXPECT_EQ(lines[2], "  1   09.01.2008\t09.01.2008 09:54:00 +03:00\t10.01.2008 10:08:59 +03:00");
  const auto named =
      LfLines(Run("lunar-days 2008 2 --times --place=55.75,37.62 --tz Europe/Moscow").out);
  EXPECT_EQ(std::vector(named.begin() + 2, named.end()),
            std::vector(lines.begin() + 2, lines.end()));

  const Json j = Json::parse(Run("lunar-days 2008 2 --place Москва --format json").out);
  EXPECT_EQ(j["place"]["city"], "Москва");
  EXPECT_EQ(j["place"]["country"], "Россия");
  EXPECT_NEAR(j["place"]["latitude"].get<double>(), 55.75, 0.01);
  EXPECT_NEAR(j["place"]["longitude"].get<double>(), 37.62, 0.01);
  EXPECT_EQ(j["time_zone"], "Europe/Moscow");
  const Json& days = j["lunar_days"];
  ASSERT_EQ(days.size(), 27u);
  EXPECT_EQ(days[0], Json::parse(R"({"day": 1, "start": "2008-01-09T09:54:00+03:00",
                                     "end": "2008-01-10T10:09:00+03:00"})"));
  for (std::size_t i = 1; i < days.size(); ++i) EXPECT_EQ(days[i]["start"], days[i - 1]["end"]);
  const auto csv = LfLines(Run("lunar-days 2008 2 --place Москва --format csv").out);
  ASSERT_EQ(csv.size(), 28u);
  EXPECT_EQ(csv[0], "day,start,end");
  EXPECT_EQ(csv[27], "27,2008-02-05T07:59:00+03:00,2008-02-06T08:16:00+03:00");
}

// Without a place or a zone every command prints and writes what it did;
// with them the window's day files are left alone.
TEST_F(KvloveLunarTest, WithoutPlaceTheWindowsOutputWithPlaceNoDayFiles) {
  ShipDescriptions();
  const RunResult plain = Run("lunar-day 2008 2 20");
  const std::string t1 = Bytes(Sys("TmpFile1.tmp")), t2 = Bytes(Sys("TmpFile2.tmp"));
  EXPECT_EQ(Run("lunar-day 2008 2 20 --format text").out, plain.out);
  EXPECT_EQ(Run("phases 2008 --format text").out, Run("phases 2008").out);
  // The window's observer named: the window's list.
  const auto window = LfLines(Run("lunar-days 2008 2 --times").out);
  const auto named = LfLines(Run("lunar-days 2008 2 --times --place 51.5,0").out);
  EXPECT_EQ(std::vector(named.begin() + 2, named.end()),
            std::vector(window.begin() + 1, window.end()));

  const RunResult moscow = Run("lunar-day 2008 2 20 --place Москва");
  ASSERT_EQ(moscow.status, 0) << moscow.err;
  const auto lines = LfLines(moscow.out);
  EXPECT_EQ(lines[0], "Москва — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow");
  EXPECT_EQ(lines[2], " Начало лунного дня    29.01.2008  00:43:00 UTC+03:00");
  const std::string day = moscow.out.substr(lines[0].size() + 1);
  EXPECT_EQ(day.substr(day.find("\n\n", 1)), plain.out.substr(plain.out.find("\n\n", 1)));
  EXPECT_EQ(Bytes(Sys("TmpFile1.tmp")), t1);
  EXPECT_EQ(Bytes(Sys("TmpFile2.tmp")), t2);

  const Json j = Json::parse(Run("lunar-day 2008 2 20 --format json").out);
  EXPECT_EQ(j["time_zone"], "GMT");
  EXPECT_EQ(j["end"], "2008-01-30T01:22:00+00:00");  // the window's 01:21:59
  EXPECT_TRUE(j["description"].get<std::string>().starts_with(LfLines(plain.out)[4])) << j;
}

TEST_F(KvloveLunarTest, CsvQuotesAsRfc4180) {
  WriteBytes(Sys("DayMoon.doc"),
             Cp("*   0   1   0   0   0   0   0\r\nОн сказал: \"да\", и всё.\r\nВторая\r\n@\r\n"));
  const RunResult r = Run("lunar-day 2008 2 1 --format csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "day,start,end,description\n1,2008-01-09T09:01:00+00:00,2008-01-10T09:22:00+00:00,"
            "\"Он сказал: \"\"да\"\", и всё.\n Вторая\"\n");
}

TEST_F(KvloveLunarTest, BadPlaceZoneOrFormatExitWithTwoBeforeAnyFile) {
  for (const char* args :
       {"lunar-days 2008 2 --place 90.5,0", "lunar-days 2008 2 --place -91,0",
        "lunar-days 2008 2 --place 0,180.01", "lunar-days 2008 2 --place 0,-181",
        "lunar-days 2008 2 --place 55.75", "lunar-days 2008 2 --place 55,75,37,62",
        "lunar-days 2008 2 --place inf,0", "lunar-day 2008 2 1 --place Атлантидабад",
        "lunar-days 2008 2 --tz Mars/Olympus", "lunar-days 2008 2 --tz Moscow",
        "lunar-days 2008 2 --tz ../zoneinfo/UTC", "lunar-days 2008 2 --tz +15:00",
        "phases 2008 --tz Europe/Moskva", "phases 2008 --tz Etc/GMT+3", "phases 2008 --format xml",
        "lunar-days 2008 2 --format JSON", "eclipses 1999 --tz 3"}) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    EXPECT_EQ(r.out, "") << args;
  }
  EXPECT_FALSE(fs::exists(Sys("F_LunDay.tmp")));
}
