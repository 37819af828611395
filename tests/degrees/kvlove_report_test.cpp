#include <gtest/gtest.h>

#include "../cli/run.h"
#include "core/settings.h"
#include "core/text.h"
#include "degrees/degree_report.h"
#include "fixture.h"

namespace {

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

TEST(KvloveReportTest, WritesWhatTheWindowWrites) {
  TempDir dir;
  CopyShippedHtml(dir.path());
  const std::string name = "Анна & \"Ли\" 李 😀 <x>";
  const RunResult r = RunKvlove("--main-dir " + Quoted(dir.str()) + " report " + Quoted(name) +
                                " 01.01.2000 02:05");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = dir.str() + "/Html/Gradus_html.html";
  EXPECT_EQ(r.out, page + "\n");
  const std::string fromCli = ReadBytes(page);

  kv::UseMainDirectory(dir.str());
  kv::MakeDegreeReport(name, 1, 1, 2000, 2, 5);
  EXPECT_EQ(kv::Report_File_Name, page);
  EXPECT_EQ(ReadBytes(page), fromCli);

  // Run from the main directory itself, with an empty name.
  const RunResult cwd = RunKvlove("report '' 15.06.1985 12:15", dir.str());
  ASSERT_EQ(cwd.status, 0) << cwd.err;
  const std::string emptyName = ReadBytes(page);
  kv::MakeDegreeReport("", 15, 6, 1985, 12, 15);
  EXPECT_EQ(ReadBytes(page), emptyName);
}

TEST(KvloveReportTest, BadInputIsStatusTwo) {
  TempDir dir;
  CopyShippedHtml(dir.path());
  for (const char* args :
       {"report", "report A", "report A 15.06.1985", "report A 15.06.1985 12:15 extra",
        "report A 32.06.1985 12:15", "report A 15.13.1985 12:15", "report A 15.06.1899 12:15",
        "report A 15.06.2101 12:15", "report A 15.06.1985 24:00", "report A 15.06.1985 12:60",
        "report A 15.06.1985 12", "report A 15.06.1985 12:15:00", "report A 15/06/1985 12:15",
        "report A 15.06.1985 --png"}) {
    const RunResult r = RunKvlove("--main-dir " + Quoted(dir.str()) + " " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    EXPECT_FALSE(fs::exists(dir.path() / "Html" / "Gradus_html.html")) << args;
  }
  EXPECT_EQ(RunKvlove("report --help").status, 0);
}

TEST(KvloveReportTest, MissingFolderOrBaseIsStatusOne) {
  TempDir dir;
  const std::string args = "--main-dir " + Quoted(dir.str()) + " report A 15.06.1985 12:15";
  RunResult r = RunKvlove(args);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Gradus_html.html"), std::string::npos) << r.err;

  fs::create_directories(dir.path() / "Html");
  r = RunKvlove(args);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("gradus.txt"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.path() / "Html" / "Gradus_html.html"));  // no half page

  WriteBytes(dir.path() / "Html" / "gradus.txt", "*   0\r\nzero\r\n*\r\n");
  r = RunKvlove(args);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("'' is not a valid integer value"), std::string::npos) << r.err;
}

}  // namespace

// A birth at 12:15 in Moscow in July 1985 was at UTC+4: the bodies of 11:15
// Moscow time as the page without a place takes it (UTC+3), the date line
// naming the place and offset instead of МСК.
TEST(KvloveReportTest, ABirthPlacesClockGoesThroughItsZonesHistory) {
  TempDir dir;
  CopyShippedHtml(dir.path());
  const std::string page = dir.str() + "/Html/Gradus_html.html";
  const std::string args = "--main-dir " + Quoted(dir.str()) + " report Анна 01.07.1985 ";
  ASSERT_EQ(RunKvlove(args + "11:15").status, 0);
  const std::vector<std::string> moscow = Lines(ReadBytes(page));
  const RunResult r = RunKvlove(args + "12:15 --place Москва");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, page + "\nМосква — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время " +
                       "Europe/Moscow, UTC+04:00\n");
  const std::vector<std::string> placed = Lines(ReadBytes(page));
  ASSERT_EQ(placed.size(), moscow.size());
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (moscow[i].find("11:15") != std::string::npos) {
      EXPECT_NE(placed[i].find(kv::ToCp1251("12:15, Москва, UTC+04:00)")), std::string::npos)
          << placed[i];
    } else {
      EXPECT_EQ(placed[i], moscow[i]) << i;
    }
  }
}
