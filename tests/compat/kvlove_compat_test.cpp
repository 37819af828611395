#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QImage>
#include <csignal>

#include "../cli/run.h"
#include "painter/chart_painter.h"
#include "compat/scan.h"
#include "compat/straight_host.h"
#include "gui.h"
#include "helpers.h"

using namespace compat_test;

namespace {
std::vector<std::string> LfLines(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}
}  // namespace

TEST(KvloveCompatTest, WritesWhatTheRunWrites) {
  EnsureGui();
  TempMainDir dir;
  const RunResult r = RunKvlove("compat 15.06.1985 1980 --png " + (dir.path() / "chart").string(),
                                dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string scan1 = ReadBytes(dir.path() / "Html" / "Scan1.txt");
  const std::string scan2 = ReadBytes(dir.path() / "Html" / "Scan2.txt");
  for (const std::string* s : {&scan1, &scan2}) {
    bool crlf = false;
    EXPECT_EQ(CrLfLines(*s, crlf).size(), 1440u);
    EXPECT_TRUE(crlf);
  }

  // The same run in this process, drawn as the window draws it.
  kvpaint::ChartPainter upper, lower;
  kv::StraightHost host({15, 6, 1985, 1980}, upper, lower);
  kv::RunCompatibility(host);
  EXPECT_EQ(ReadBytes(dir.path() / "Html" / "Scan1.txt"), scan1);
  EXPECT_EQ(ReadBytes(dir.path() / "Html" / "Scan2.txt"), scan2);

  const auto out = LfLines(r.out);
  ASSERT_EQ(out.size(), 720u);
  EXPECT_EQ(out[0], "1\t1\t3\t1\t1980\t" + std::to_string(kv::Scan1_Points[1].Level));
  EXPECT_EQ(out[359], "1\t360\t21\t12\t1981\t" + std::to_string(kv::Scan1_Points[360].Level));
  EXPECT_EQ(out[719], "2\t360\t22\t12\t1983\t" + std::to_string(kv::Scan2_Points[360].Level));

  for (int pass = 1; pass <= 2; ++pass) {
    QImage png((dir.path() / ("chart" + std::to_string(pass) + ".png")).c_str());
    ASSERT_FALSE(png.isNull()) << pass;
    EXPECT_EQ(png.size(), QSize(720, 218));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), (pass == 1 ? upper : lower).Image())
        << pass;
  }
}

TEST(KvloveCompatTest, WithoutPicturesNoDisplayIsNeeded) {
  // No GUI application is made: a platform that cannot start is never tried.
  TempMainDir dir;
  const RunResult r =
      RunKvlove("compat 15.06.1985 1980", dir.path().string(), "QT_QPA_PLATFORM=nosuch");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(LfLines(r.out).size(), 720u);
}

TEST(KvloveCompatTest, BadInputGetsStatusTwo) {
  TempMainDir dir;
  for (const char* args :
       {"compat", "compat 15.06.1985", "compat 15.06.1985 1899", "compat 15.06.1985 2051",
        "compat 15.06.-2001 1980", "compat 15.06.3001 1980", "compat 32.06.1985 1980",
        "compat 15.13.1985 1980", "compat 15.06.1985 19x0", "compat 15.06.1985 1980 --png",
        "compat 15.06.1985 1980 1981", "compat 15.06.1985 1980 --nosuch"}) {
    const RunResult r = RunKvlove(args, dir.path().string());
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Html" / "Scan1.txt"));
  const RunResult help = RunKvlove("compat --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("START_YEAR"), std::string::npos);
}

TEST(KvloveCompatTest, EdgesOfTheRangesAreAccepted) {
  TempMainDir dir;
  for (const char* args : {"compat 01.01.-2000 1900", "compat 31.12.3000 2050"}) {
    const RunResult r = RunKvlove(args, dir.path().string());
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    EXPECT_EQ(LfLines(r.out).size(), 720u) << args;
  }
}

TEST(KvloveCompatTest, MissingHtmlFolderIsAnError) {
  TempMainDir dir(false);
  const RunResult r = RunKvlove("compat 15.06.1985 1980", dir.path().string());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Html/Scan1.txt"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST(KvloveCompatTest, ASignalMidRunLeavesThePreviousScanFile) {
  TempMainDir dir;
  const auto html = dir.path() / "Html";
  std::ofstream(html / "Scan1.txt", std::ios::binary) << "earlier run\r\n";
  const int watch = ::inotify_init1(IN_CLOEXEC);
  ASSERT_GE(::inotify_add_watch(watch, html.c_str(), IN_CREATE | IN_OPEN), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open("/dev/null", O_WRONLY), 1);
    ::execl(KV_DIST_DIR "/kvlove", "kvlove", "--main-dir", dir.path().c_str(), "compat",
            "15.06.1985", "1980", nullptr);
    ::_exit(127);
  }
  char event[4096];
  ASSERT_GT(::read(watch, event, sizeof event), 0);  // pass 1 opens its file
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  ::close(watch);
  // Killed as pass 1 began (if not, later): whole files and nothing else.
  for (const auto& e : std::filesystem::directory_iterator(html)) {
    const std::string s = ReadBytes(e.path());
    bool crlf = false;
    EXPECT_TRUE(s == "earlier run\r\n" || CrLfLines(s, crlf).size() == 1440u)
        << e.path() << ": " << s.size();
  }
}

TEST(KvloveCompatTest, ExtremesOfEachYear) {
  TempMainDir dir;
  const RunResult r = RunKvlove("compat 15.06.1985 1980 --extremes", dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto out = LfLines(r.out);
  ASSERT_EQ(out.size(), 80u);  // four years, ten highest and ten lowest each
  EXPECT_EQ(out[0].rfind("1980\thighest\t1\t", 0), 0u) << out[0];
  EXPECT_EQ(out[10].rfind("1980\tlowest\t1\t", 0), 0u) << out[10];
  EXPECT_EQ(out[79].rfind("1983\tlowest\t10\t", 0), 0u) << out[79];
  // The first is the highest level of 1980 in the same run here.
  kv::StraightHost host({15, 6, 1985, 1980});
  kv::RunCompatibility(host);
  int best = -100;
  for (int k = 1; k <= kv::kScanPoints; ++k)
    if (kv::Scan1_Points[k].Year == 1980) best = std::max(best, kv::Scan1_Points[k].Level);
  EXPECT_EQ(out[0].substr(out[0].rfind('\t') + 1), std::to_string(best));
  const RunResult csv =
      RunKvlove("compat 15.06.1985 1980 --extremes --format csv", dir.path().string());
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto lines = LfLines(csv.out);
  ASSERT_EQ(lines.size(), 81u);
  EXPECT_EQ(lines[0], "year,kind,rank,date,level");
  EXPECT_EQ(lines[1].rfind("1980,highest,1,1980-", 0), 0u) << lines[1];
}
