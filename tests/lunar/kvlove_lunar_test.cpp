#include <algorithm>

#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"
#include "lunar_test_util.h"
#include "run.h"

using namespace kv;
using namespace lunartest;

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
    EXPECT_EQ(timed[N], lines[N] + "\t" + Moment(LunarDay_Starts[N - 1]) + "\t" +
                            Moment(LunarDay_Starts[N]));
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

TEST_F(KvloveLunarTest, BrokenDescriptionBlockGoesToStandardError) {
  WriteBytes(Sys("DayMoon.doc"), "*   0   1   0   0   0   0   0\r\nno terminator\r\nat all\r\n");
  const RunResult r = Run("lunar-day 2008 2 1");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "kvlove:  Ошибка в W_find3: " + Sys("DayMoon.doc").string() + "\n");
  EXPECT_EQ(LfLines(r.out).size(), 4u);  // the two time lines between empty lines
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
  EXPECT_EQ(r.err, "kvlove: 'not' is not a valid integer value в файле «" + Sys("DayMoon.doc").string() +
                       "», строка 2\n");  // columns 3-5
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
