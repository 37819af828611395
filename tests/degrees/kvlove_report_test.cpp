#include <gtest/gtest.h>

#include "../cli/run.h"
#include "core/settings.h"
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
