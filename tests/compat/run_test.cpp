#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "compat/charts.h"
#include "compat/scan.h"
#include "core/calendar.h"
#include "core/planets.h"
#include "core/text.h"
#include "helpers.h"

using namespace kv;
using namespace compat_test;

namespace {

struct Sums {
  int plus = 0, minus = 0;
};

// The sums of a point from the charts alone: each pair's aspect as the
// nearest exact angle within the wider orb.
Sums ReferenceSums(const TChart& natal, const TChart& partner) {
  Sums s;
  for (int i = 1; i <= 10; ++i)
    for (int j = 1; j <= 10; ++j) {
      if (i == 2 || j == 2) continue;
      const double orb = std::max(Orb_Table[i], Orb_Table[j]);
      const double sep = std::fabs(std::remainder(natal[i].Lon - partner[j].Lon, 360.0));
      for (int a = 1; a <= 5; ++a) {
        if (std::fabs(sep - Aspect_Codes[a]) > orb) continue;
        const int w = Aspect_Weights[a][i][j];
        (w > 0 ? s.plus : s.minus) += w;
      }
    }
  return s;
}

// The civil date d days after 1 January of year y, by std::chrono.
std::chrono::year_month_day DateAfter(int y, int d) {
  using namespace std::chrono;
  return year_month_day{sys_days{year{y} / January / 1} + days{d}};
}

class CompatRunTest : public ::testing::Test {
 protected:
  std::string Scan(int pass) const {
    return ReadBytes(dir.path() / "Html" / (pass == 1 ? "Scan1.txt" : "Scan2.txt"));
  }
  TempMainDir dir;
};

}  // namespace

TEST_F(CompatRunTest, DefaultsFrom1980) {
  RecordingHost host;
  host.inputs = {{15, 6, 1985, 1980}};
  // A step begins a pass, a step draws each point, a step ends the pass.
  CompatRun run(host);
  for (int pass = 1; pass <= 2; ++pass) {
    const RecordingCanvas& canvas = host.Canvas(pass);
    ASSERT_TRUE(run.Step());
    const std::size_t frame = canvas.drawings.size();
    EXPECT_GT(frame, 25u);
    for (int k = 1; k <= 360; ++k) {
      ASSERT_TRUE(run.Step());
      ASSERT_EQ(canvas.drawings.size(), frame + k) << k;  // its bar and nothing else
      ASSERT_NE(canvas.BarAt(2 * k + 1), nullptr) << k;
    }
    EXPECT_EQ(run.Step(), pass == 1);  // the labels; after pass 2 nothing is left
  }
  EXPECT_TRUE(run.Done());
  EXPECT_FALSE(run.Step());

  // Pass boundaries: 3.1.1980 .. 21.12.1981 and 3.1.1982 .. 22.12.1983.
  EXPECT_EQ(Scan1_Points[1], (Scan_Point{3, 1, 1980, Scan1_Points[1].Level}));
  EXPECT_EQ(Scan1_Points[360], (Scan_Point{21, 12, 1981, Scan1_Points[360].Level}));
  EXPECT_EQ(Scan2_Points[1], (Scan_Point{3, 1, 1982, Scan2_Points[1].Level}));
  EXPECT_EQ(Scan2_Points[360], (Scan_Point{22, 12, 1983, Scan2_Points[360].Level}));
  EXPECT_EQ(Scan1_Points[50].Year, 1980);
  EXPECT_EQ(Scan1_Points[200].Year, 1981);
  EXPECT_EQ(Scan2_Points[50].Year, 1982);
  EXPECT_EQ(Scan2_Points[200].Year, 1983);
  for (int k = 361; k <= 1000; ++k) {
    ASSERT_EQ(Scan1_Points[k], Scan_Point{});
    ASSERT_EQ(Scan2_Points[k], Scan_Point{});
  }

  TChart natal{};
  FillChart(natal, DayNumber(15, 6, 1985, 12, 0, 0));
  for (int pass = 1; pass <= 2; ++pass) {
    const TScanPoints& pts = pass == 1 ? Scan1_Points : Scan2_Points;
    const int y0 = pass == 1 ? 1980 : 1982;
    bool crlf = false;
    const auto lines = CrLfLines(Scan(pass), crlf);
    EXPECT_TRUE(crlf);
    ASSERT_EQ(lines.size(), 1440u);
    const RecordingCanvas& canvas = host.Canvas(pass);
    for (int k = 1; k <= 360; ++k) {
      const Scan_Point& p = pts[k];
      const auto civil = DateAfter(y0, 2 * k);
      ASSERT_EQ(p.Day, static_cast<int>(unsigned(civil.day())));
      ASSERT_EQ(p.Month, static_cast<int>(unsigned(civil.month())));
      ASSERT_EQ(p.Year, static_cast<int>(civil.year()));

      TChart partner{};
      FillChart(partner, DayNumber(p.Day, p.Month, p.Year, 12, 0, 0));
      const Sums ref = ReferenceSums(natal, partner);
      const int procent = Procent2Of(ref.plus, ref.minus);
      const auto sums = ScanSumLines(ref.plus, ref.minus, procent);
      const std::size_t at = 4 * (k - 1);
      ASSERT_EQ(lines[at], sums[0]) << pass << " " << k;
      ASSERT_EQ(lines[at + 1], sums[1]) << pass << " " << k;
      ASSERT_EQ(lines[at + 2], sums[2]) << pass << " " << k;
      ASSERT_EQ(p.Level, LevelOf(procent));
      ASSERT_EQ(lines[at + 3], ScanPointLine(k, p));
      ASSERT_GE(p.Level, -70);
      ASSERT_LE(p.Level, 70);

      // The bar of the point, from the axis, green upward, red downward.
      const Drawing* bar = canvas.BarAt(2 * k + 1);
      ASSERT_NE(bar, nullptr) << k;
      EXPECT_EQ(bar->y2, 109 - 2 * p.Level) << k;
      EXPECT_EQ(bar->pen, p.Level >= 0 ? kChartGreen : kChartRed) << k;
    }
    // Labelled: the strips are there.
    EXPECT_TRUE(canvas.Has({'R', 1, 198, 361, 218, kChartLightGrey, kChartLightGrey, {}}));
    EXPECT_TRUE(canvas.Has({'R', 363, 198, 721, 218, kChartLightGrey, kChartLightGrey, {}}));
  }

  // What the host saw: panels, inputs, the frame, a bar per point, the
  // labels; then the same for pass 2.
  std::vector<std::string> want;
  for (const std::string pass : {"1", "2"}) {
    want.insert(want.end(), {"panels" + pass, "read"});
    want.insert(want.end(), 1 + 360 + 1, "drawn" + pass);
  }
  EXPECT_EQ(host.log, want);
}

TEST_F(CompatRunTest, Pass2ReadsTheInputsAgain) {
  // A month changed during pass 1 gives pass 2 the natal chart of July.
  RecordingHost changed;
  changed.inputs = {{15, 6, 1985, 1980}, {15, 7, 1985, 1990}};
  RunCompatibility(changed);
  const std::string scan1 = Scan(1), scan2 = Scan(2);
  const TScanPoints pts2 = Scan2_Points;
  EXPECT_EQ(pts2[1], (Scan_Point{3, 1, 1992, pts2[1].Level}));

  RecordingHost june, july;
  june.inputs = {{15, 6, 1985, 1980}};
  RunCompatibility(june);
  EXPECT_EQ(Scan(1), scan1);
  july.inputs = {{15, 7, 1985, 1990}};
  RunCompatibility(july);
  EXPECT_EQ(Scan(2), scan2);
  EXPECT_EQ(Scan2_Points, pts2);
  EXPECT_EQ(changed.reads, 2);
}

TEST_F(CompatRunTest, ImpossibleDateCountsOn) {
  RecordingHost feb31, mar3;
  feb31.inputs = {{31, 2, 1985, 2000}};
  RunCompatibility(feb31);
  const std::string a = Scan(1) + Scan(2);
  mar3.inputs = {{3, 3, 1985, 2000}};
  RunCompatibility(mar3);
  EXPECT_EQ(Scan(1) + Scan(2), a);
}

TEST_F(CompatRunTest, BadSpinEditInPass2StopsTheRun) {
  RecordingHost host;
  host.onRead = [](RecordingHost& h) {
    if (h.reads == 2) throw ConvertError("");
  };
  CompatRun run(host);
  try {
    while (run.Step()) {
    }
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  bool crlf = false;
  EXPECT_EQ(CrLfLines(Scan(1), crlf).size(), 1440u);
  // Read before the file is made: an earlier second scan would survive.
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Html" / "Scan2.txt"));
  EXPECT_EQ(host.log.back(), "read");
  EXPECT_EQ(host.upper.drawings.back().kind, 'T');  // pass 1 complete
  EXPECT_TRUE(host.lower.drawings.empty());         // pass 2 never began
  EXPECT_TRUE(run.Done());
  EXPECT_FALSE(run.Step());
  EXPECT_EQ(host.reads, 2);
}

TEST_F(CompatRunTest, MissingHtmlFolderNamesTheFile) {
  TempMainDir bare(false);
  RecordingHost host;
  CompatRun run(host);
  try {
    run.Step();
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(bare.path().string() + "/Html/Scan1.txt"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(host.reads, 1);  // the inputs come before the file
  EXPECT_TRUE(host.upper.drawings.empty());
  EXPECT_TRUE(run.Done());
}

TEST_F(CompatRunTest, SecondScanFileFailingKeepsTheFirstChart) {
  std::filesystem::create_directory(dir.path() / "Html" / "Scan2.txt");  // cannot be created
  RecordingHost host;
  try {
    RunCompatibility(host);
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("Html/Scan2.txt"), std::string::npos) << e.what();
  }
  bool crlf = false;
  EXPECT_EQ(CrLfLines(Scan(1), crlf).size(), 1440u);
  EXPECT_EQ(host.log.back(), "read");
  EXPECT_EQ(host.log[host.log.size() - 2], "panels2");
  EXPECT_EQ(host.upper.drawings.back().kind, 'T');
}

TEST_F(CompatRunTest, RunStoppedMidwayEndsCleanly) {
  const auto html = dir.path() / "Html";
  std::ofstream(html / "Scan1.txt", std::ios::binary) << "earlier run\r\n";
  RecordingHost host;
  {
    CompatRun run(host);
    EXPECT_EQ(run.PointsDone(1), 0);
    for (int step = 0; step <= 99; ++step) ASSERT_TRUE(run.Step());  // the start and points 1..99
    EXPECT_EQ(run.PointsDone(1), 99);
    EXPECT_EQ(run.PointsDone(2), 0);
  }
  // The stopped pass leaves the previous file whole, and nothing beside it.
  EXPECT_EQ(Scan(1), "earlier run\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(html), {}), 1);
  // Bar 100 was not drawn; bar 99 was.
  EXPECT_NE(host.upper.BarAt(199), nullptr);
  EXPECT_EQ(host.upper.BarAt(201), nullptr);

  // A later run starts afresh.
  RecordingHost again;
  RunCompatibility(again);
  bool crlf = false;
  EXPECT_EQ(CrLfLines(Scan(1), crlf).size(), 1440u);
}

// Each calendar year's extremes: ranked by level, ties by date, short years
// give what they have, and a year split between the passes is one year.
TEST(ExtremeDaysTest, RankedPerYearTiesByDate) {
  const std::vector<Scan_Point> points{{5, 1, 1981, 3},   {3, 1, 1980, 7},  {9, 1, 1980, -2},
                                       {7, 1, 1980, 7},   {1, 1, 1980, -2}, {11, 1, 1980, 0},
                                       {29, 12, 1981, -9}};
  const std::vector<TYearExtremes> e = ExtremeDays(points, 3);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].Year, 1980);
  EXPECT_EQ(e[0].Highest,
            (std::vector<Scan_Point>{{3, 1, 1980, 7}, {7, 1, 1980, 7}, {11, 1, 1980, 0}}));
  EXPECT_EQ(e[0].Lowest,
            (std::vector<Scan_Point>{{1, 1, 1980, -2}, {9, 1, 1980, -2}, {11, 1, 1980, 0}}));
  EXPECT_EQ(e[1].Year, 1981);
  EXPECT_EQ(e[1].Highest, (std::vector<Scan_Point>{{5, 1, 1981, 3}, {29, 12, 1981, -9}}));
  EXPECT_EQ(e[1].Lowest, (std::vector<Scan_Point>{{29, 12, 1981, -9}, {5, 1, 1981, 3}}));
  EXPECT_TRUE(ExtremeDays({}).empty());
}
