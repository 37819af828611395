#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <swephexp.h>
#include <unistd.h>

#include <filesystem>

#include "painter/chart_painter.h"
#include "compat/scan.h"
#include "compat/straight_host.h"
#include "core/calendar.h"
#include "core/settings.h"

namespace {

void EnsureGui() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kv_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

// Both passes in a fresh main directory, drawn on the canvases given.
void RunInTempDir(benchmark::State& st, kv::StraightHost& host) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("kv_bench_compat_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Html");
  kv::UseMainDirectory(dir.string());
  for (auto _ : st) {
    kv::RunCompatibility(host);
    benchmark::DoNotOptimize(kv::Scan2_Points);
  }
  std::filesystem::remove_all(dir);
}

// The window's run without its 10 ms a point, the charts drawn.
void BM_CompatRunWithoutPauses(benchmark::State& st) {
  EnsureGui();
  kvpaint::ChartPainter upper, lower;
  kv::StraightHost host({15, 6, 1985, 1980}, upper, lower);
  RunInTempDir(st, host);
}
BENCHMARK(BM_CompatRunWithoutPauses)->Unit(benchmark::kMillisecond);

// kvlove's run without --png: no charts.
void BM_CompatRunWithoutCharts(benchmark::State& st) {
  kv::StraightHost host({15, 6, 1985, 1980});
  RunInTempDir(st, host);
}
BENCHMARK(BM_CompatRunWithoutCharts)->Unit(benchmark::kMillisecond);

// The ephemeris calls alone that one run makes: per pass one natal and 360
// partner charts, each body one swe_deltat and two swe_calc at the same
// moments as the run.
void BM_CompatBareEphemerisCalls(benchmark::State& st) {
  const double natal = kv::DayNumber(15, 6, 1985, 12, 0, 0);
  double xx[6];
  char serr[AS_MAXCH];
  const int bodies[] = {SE_SUN,     SE_MOON,   SE_MERCURY, SE_VENUS,   SE_MARS,
                        SE_JUPITER, SE_SATURN, SE_URANUS,  SE_NEPTUNE, SE_PLUTO};
  const auto chart = [&](double x) {
    const double tUT = static_cast<double>(static_cast<long double>(x) + 2415020.0L);
    for (int p : bodies) {
      const double tET = static_cast<double>(static_cast<long double>(tUT) + swe_deltat(tUT));
      swe_calc(tET, p, SEFLG_SPEED, xx, serr);
      swe_calc(tET, p, SEFLG_EQUATORIAL, xx, serr);
      benchmark::DoNotOptimize(xx);
    }
  };
  for (auto _ : st) {
    for (int pass = 1; pass <= 2; ++pass) {
      chart(natal);
      const double base = kv::DayNumber(1, 1, pass == 1 ? 1980 : 1982, 12, 0, 0);
      for (int k = 1; k <= 360; ++k) chart(base + 2.0 * k);
    }
  }
}
BENCHMARK(BM_CompatBareEphemerisCalls)->Unit(benchmark::kMillisecond);

}  // namespace
