#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <sstream>
#include <vector>

#include "core/calendar.h"
#include "core/planets.h"
#include "run.h"

TEST(KvloveTest, HelpDescribesEveryCommand) {
  const RunResult r = RunKvlove("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("chart"), std::string::npos);
  EXPECT_NE(r.out.find("--main-dir"), std::string::npos);
  const RunResult c = RunKvlove("chart --help");
  EXPECT_EQ(c.status, 0);
  EXPECT_NE(c.out.find("DD.MM.YYYY"), std::string::npos);
  // Options close the help, their descriptions in one column.
  const std::string png = RunKvlove("compat --help").out;
  EXPECT_EQ(png.substr(png.find("\nOptions:\n")),
            "\nOptions:\n"
            "  --png PREFIX     also save the two charts as PREFIX1.png and PREFIX2.png\n"
            "                   (720 x 218 pixels), as the window draws them at 100 %\n"
            "  --pdf FILE       also save both charts with the birth date, the years and a\n"
            "                   legend as the PDF FILE (A4), as the window's Ctrl+S does\n"
            "  --extremes       print each year's 10 highest and 10 lowest points instead\n"
            "                   of every point\n"
            "  --lenient-dates  take day 1..31 of any month as the window does: counted on\n"
            "                   past the month's end (31.02.2020 is 02.03.2020), 05.10 to\n"
            "                   14.10.1582 read as Julian dates and year 0 as 1 BC, instead\n"
            "                   of refusing a date that does not exist\n"
            "  --format FORMAT  text (the default), json or csv: json is one object with\n"
            "                   the inputs and the results, times in ISO 8601 with their\n"
            "                   UTC offset; csv a header line, then a line per record.\n"
            "                   The files written are the same in every format\n");
}

TEST(KvloveTest, ChartPrintsDayNumberAndTenBodies) {
  const RunResult r = RunKvlove("chart 15.06.1985 12:15");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "31212.010416666668");
  kv::TChart c{};
  kv::FillChart(c, 31212.010416666668);
  char expected[200];
  std::snprintf(expected, sizeof expected, "1\t%.9f\t%.9f\t%.9f\t%d", c[1].Lon, c[1].Decl,
                c[1].Speed, c[1].Sign);
  EXPECT_EQ(lines[1], expected);
  EXPECT_EQ(lines[10].substr(0, 3), "10\t");
}

TEST(KvloveTest, ChartUnderRussianLocaleStillUsesPoints) {
  const RunResult c = RunKvlove("chart 01.01.2000 12:00:30");
  const RunResult ru =
      RunKvlove("chart 01.01.2000 12:00:30", ".", "LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8");
  ASSERT_EQ(ru.status, 0) << ru.err;
  EXPECT_EQ(ru.out, c.out);
  EXPECT_EQ(ru.out.find(','), std::string::npos);
}

TEST(KvloveTest, BadInputGetsOneLineAndStatusTwo) {
  for (const char* args :
       {"chart", "chart 32.01.2000", "chart 00.01.2000", "chart 15.13.2000", "chart 15.06",
        "chart 15-06-1985", "chart 15.06.19x5", "chart 15.06.1985 24:00", "chart 15.06.1985 12",
        "chart 15.06.1985 12:60", "chart 15.06.1985 12:00:00:00", "chart 1.1.1 1:1 extra", "nosuch",
        "chart 15.06.1985 --nosuch", "--main-dir"}) {
    const RunResult r = RunKvlove(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
}

TEST(KvloveTest, ConventionsOfTheCommandLine) {
  EXPECT_EQ(RunKvlove("--version").out, "kvlove " KV_VERSION "\n");
  const RunResult bare = RunKvlove("");
  EXPECT_EQ(bare.status, 2);
  EXPECT_TRUE(bare.out.empty() && bare.err.find("Usage: kvlove") == 0) << bare.err;
  // "--" ends the options; --main-dir=DIR is --main-dir DIR.
  EXPECT_EQ(RunKvlove("chart -- --help").err,
            "kvlove: malformed date '--help' (expected DD.MM.YYYY or YYYY-MM-DD)\n");
  const std::string chart = RunKvlove("chart 01.01.2000").out;
  EXPECT_EQ(RunKvlove("-- chart 01.01.2000").out, chart);
  EXPECT_EQ(RunKvlove("--main-dir=/ chart 01.01.2000").out, chart);
  EXPECT_EQ(RunKvlove("chart 01.01.2000 --main-dir=").status, 2);
}

TEST(KvloveTest, ChartRefusesMomentsBeyondTheEphemeris) {
  const RunResult r = RunKvlove("chart 15.06.5000");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("-3000..3000"), std::string::npos) << r.err;
}

TEST(KvloveTest, LinksInThePlacesOfItsFilesAreReplacedNotFollowed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kvlove_links_" + std::to_string(::getpid()));
  for (const char* shipped : {"Html/gradus.txt", "System/DayMoon.doc"}) {
    fs::create_directories((dir / shipped).parent_path());
    fs::copy_file(fs::path(KV_DIST_DIR) / shipped, dir / shipped);
  }
  std::ofstream(dir / "elsewhere") << "precious";
  const char* places[] = {"Html/Scan1.txt",       "Html/Scan2.txt",      "Html/Gradus_html.html",
                          "System/F_LunDay.tmp",  "System/TmpFile1.tmp", "System/TmpFile2.tmp",
                          "System/File_tmp_2.txt"};
  for (const char* p : places) fs::create_symlink(dir / "elsewhere", dir / p);
  for (const char* args :
       {"compat 15.06.1985 1980", "report N 15.06.1985 12:15", "lunar-day 2008 2 1"})
    EXPECT_EQ(RunKvlove("--main-dir '" + dir.string() + "' " + args).status, 0) << args;
  EXPECT_EQ(Slurp(dir / "elsewhere"), "precious");
  for (const char* p : places) EXPECT_FALSE(fs::is_symlink(dir / p)) << p;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(fs::status(dir / places[0]).permissions(), static_cast<fs::perms>(0666 & ~mask));
  fs::remove_all(dir);
}

// The installed kvlove names the window's working directory in the
// environment; a --main-dir of the user's own still wins, and the current
// directory is left alone either way.
TEST(KvloveTest, MainDirFromTheEnvironmentUnlessGiven) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("kvlove_env_" + std::to_string(::getpid()));
  for (const char* d : {"env/System", "own/System", "cwd"}) fs::create_directories(root / d);
  const std::string env = "KVLOVE_MAIN_DIR='" + (root / "env").string() + "'";
  const fs::path lunDay = "System/F_LunDay.tmp";

  RunResult r = RunKvlove("phases 2000", (root / "cwd").string(), env);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(root / "env" / lunDay));
  fs::remove(root / "env" / lunDay);

  r = RunKvlove("--main-dir ../own phases 2000", (root / "cwd").string(), env);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(root / "own" / lunDay));
  EXPECT_FALSE(fs::exists(root / "env" / lunDay));
  EXPECT_TRUE(fs::is_empty(root / "cwd"));
  fs::remove_all(root);
}

// A chart for other programs; the ISO date is Gregorian also where the
// program's calendar is Julian.
TEST(KvloveTest, ChartAsJsonAndCsv) {
  const auto j = nlohmann::json::parse(RunKvlove("chart 15.06.1985 12:15 --format json").out);
  EXPECT_EQ(j["moment"], "1985-06-15T12:15:00+00:00");
  EXPECT_EQ(j["day_number"].get<double>(), 31212.010416666668);
  ASSERT_EQ(j["bodies"].size(), 10u);
  kv::TChart c{};
  kv::FillChart(c, 31212.010416666668);
  EXPECT_EQ(j["bodies"][1]["longitude"].get<double>(), c[2].Lon);
  EXPECT_EQ(j["bodies"][1]["sign"], c[2].Sign);
  const auto csv = Lines(RunKvlove("chart 15.06.1985 12:15 --format csv").out);
  ASSERT_EQ(csv.size(), 11u);
  EXPECT_EQ(csv[0], "body,longitude,declination,speed,sign");
  EXPECT_EQ(nlohmann::json::parse(RunKvlove("chart 04.10.1582 --format json").out)["moment"],
            "1582-10-14T00:00:00+00:00");
}

namespace {
// kvlove chart 01.01.2000 with its standard output on fd (closed when -1) and SIGPIPE
// ignored: its status and what it said on stderr.
RunResult ChartWithOutput(int fd) {
  char errName[] = "/tmp/kvlove_err_XXXXXX";
  const int err = ::mkstemp(errName);
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGPIPE, SIG_IGN);
    // The message in Russian, from a locale glibc need not have.
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::unsetenv("LANGUAGE");
    ::setenv("LANG", "ru_RU.UTF-8", 1);
    fd < 0 ? ::close(STDOUT_FILENO) : ::dup2(fd, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execl(KV_DIST_DIR "/kvlove", "kvlove", "chart", "01.01.2000", nullptr);
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  const RunResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", Slurp(errName)};
  ::close(err);
  ::unlink(errName);
  return r;
}
}  // namespace

TEST(KvloveTest, OutputThatCannotBeWrittenIsAFailure) {
  const int full = ::open("/dev/full", O_WRONLY);
  int gone[2];
  ASSERT_EQ(::pipe(gone), 0);
  ::close(gone[0]);  // no reader: EPIPE, SIGPIPE being ignored
  for (const auto& [fd, reason] : {std::pair{full, "No space left on device"},
                                   {-1, "Bad file descriptor"},
                                   {gone[1], "Broken pipe"}}) {
    const RunResult r = ChartWithOutput(fd);
    EXPECT_EQ(r.status, 1) << reason;
    EXPECT_EQ(r.err, std::string("kvlove: Не удаётся записать результат в стандартный вывод. ") +
                         reason + "\n");
  }
  ::close(full);
  ::close(gone[1]);
}
