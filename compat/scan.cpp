#include "scan.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "charts.h"
#include "core/calendar.h"
#include "core/checked.h"
#include "core/planets.h"
#include "core/settings.h"
#include "core/textfile.h"

namespace kv {

TScanPoints Scan1_Points{};
TScanPoints Scan2_Points{};

std::int32_t AspectWeight(std::int32_t code, int i, int j) {
  for (int a = Aspect_Codes.first(); a <= Aspect_Codes.last(); ++a)
    if (Aspect_Codes[a] == code) return Aspect_Weights[a][i][j];
  return 0;
}

void ScoreMatrix(const TAspectMatrix& m, std::int32_t& Sum_Plus2, std::int32_t& Sum_Minus2) {
  Sum_Plus2 = 0;
  Sum_Minus2 = 0;
  for (int i = 1; i <= kBodies; ++i) {
    for (int j = 1; j <= kBodies; ++j) {
      const std::int32_t w = AspectWeight(m[i][j], i, j);
      if (w > 0) Sum_Plus2 = Add(Sum_Plus2, w);
      if (w < 0) Sum_Minus2 = Add(Sum_Minus2, w);
    }
  }
}

std::int32_t Procent2Of(std::int32_t Sum_Plus2, std::int32_t Sum_Minus2) {
  const std::int32_t total = Add(Sum_Minus2 < 0 ? Sub(0, Sum_Minus2) : Sum_Minus2, Sum_Plus2);
  if (total == 0) return 50;  // no weight applies: neither side wins
  // Quotient and product each rounded to a 64-bit significand; a double
  // evaluation would truncate several shares (0.29, 0.57) one lower.
  const long double share = static_cast<long double>(Sum_Plus2) / static_cast<long double>(total);
  const long double percent = share * 100.0L;
  return Trunc(percent);
}

std::int32_t LevelOf(std::int32_t Procent2) {
  return Trunc(static_cast<long double>(Sub(Procent2, 50)) * 1.4L);
}

std::string ScanFileName(int pass) {
  return MainDir + (pass == 1 ? "Html/Scan1.txt" : "Html/Scan2.txt");
}

bool CompatRun::Step() {
  try {
    switch (stage_) {
      case Stage::Begin:
        BeginPass();
        stage_ = Stage::Point;
        break;
      case Stage::Point:
        NextPoint();
        if (k_ == kScanPoints) stage_ = Stage::End;
        break;
      case Stage::End:
        EndPass();
        if (pass_ == 1) {
          pass_ = 2;
          k_ = 0;
          stage_ = Stage::Begin;
        } else {
          stage_ = Stage::Done;
        }
        break;
      case Stage::Done: break;
    }
  } catch (...) {
    stage_ = Stage::Done;
    scan_.reset();
    throw;
  }
  return stage_ != Stage::Done;
}

void CompatRun::BeginPass() {
  host_.ShowPanels(pass_);
  // Inputs first: a refused number leaves the previous scan file alone.
  const CompatInputs in = host_.ReadInputs();
  scan_.emplace(ScanFileName(pass_));
  const std::int32_t y0 = pass_ == 1 ? in.StartYear : Add(in.StartYear, 2);

  const double natal = DayNumber(in.Day, in.Month, in.Year, 12, 0, 0);
  FillChart(Natal_Chart, natal);
  base_ = DayNumber(1, 1, y0, 12, 0, 0);
  k_ = 0;

  canvas_ = &host_.Canvas(pass_);
  Chart_Frame(*canvas_);
  host_.Drawn(pass_);
}

void CompatRun::NextPoint() {
  const int k = k_ + 1;
  const double t = Store(static_cast<long double>(base_) + 2.0L * k);
  const CalendarDate date = DayNumberToDate(t);
  FillChart(Partner_Chart, t);
  Cross_Aspects(Natal_Chart, Partner_Chart, Aspect_Matrix);

  std::int32_t plus = 0, minus = 0;
  ScoreMatrix(Aspect_Matrix, plus, minus);
  const std::int32_t procent = Procent2Of(plus, minus);
  WriteSumLines(*scan_, plus, minus, procent);

  Scan_Point& p = (pass_ == 1 ? Scan1_Points : Scan2_Points)[k];
  p.Day = date.Day;
  p.Month = date.Month;
  p.Year = date.Year;
  p.Level = LevelOf(procent);
  WritePointLine(*scan_, k, p);

  Chart_Bar(*canvas_, k, p.Level);
  host_.Drawn(pass_);
  k_ = k;
}

void CompatRun::EndPass() {
  Chart_Labels(*canvas_, pass_ == 1 ? Scan1_Points : Scan2_Points);
  host_.Drawn(pass_);
  scan_->Close();
  scan_.reset();
}

void RunCompatibility(CompatHost& host) {
  CompatRun run(host);
  while (run.Step()) {
  }
}

namespace {
bool Earlier(const Scan_Point& a, const Scan_Point& b) {
  return std::tie(a.Year, a.Month, a.Day) < std::tie(b.Year, b.Month, b.Day);
}
}  // namespace

std::vector<TYearExtremes> ExtremeDays(const std::vector<Scan_Point>& points, std::size_t count) {
  std::map<std::int32_t, std::vector<Scan_Point>> years;
  for (const Scan_Point& p : points) years[p.Year].push_back(p);
  std::vector<TYearExtremes> out;
  for (auto& [year, days] : years) {
    TYearExtremes e{year, {}, {}};
    const std::size_t n = std::min(count, days.size());
    std::stable_sort(days.begin(), days.end(), [](const Scan_Point& a, const Scan_Point& b) {
      return a.Level != b.Level ? a.Level > b.Level : Earlier(a, b);
    });
    e.Highest.assign(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(n));
    std::stable_sort(days.begin(), days.end(), [](const Scan_Point& a, const Scan_Point& b) {
      return a.Level != b.Level ? a.Level < b.Level : Earlier(a, b);
    });
    e.Lowest.assign(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(n));
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<Scan_Point> ScannedPoints(int n1, int n2) {
  std::vector<Scan_Point> all;
  for (int k = 1; k <= std::clamp(n1, 0, kScanPoints); ++k) all.push_back(Scan1_Points[k]);
  for (int k = 1; k <= std::clamp(n2, 0, kScanPoints); ++k) all.push_back(Scan2_Points[k]);
  return all;
}

}  // namespace kv
