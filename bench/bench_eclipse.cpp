#include <benchmark/benchmark.h>

#include "core/calendar.h"
#include "eclipse/eclipse_list.h"
#include "eclipse/eclipses.h"

using namespace kv;

// One year, as the eclipses tab asks for it: about 25 new and 25 full
// moons and one ephemeris position per eclipse found.
static void BM_FindEclipsesYear(benchmark::State& st) {
  const double start = DayNumber(1, 1, 1999, 0, 0, 0), end = DayNumber(1, 1, 2000, 0, 0, 0);
  for (auto _ : st) {
    FindEclipses(start, end);
    benchmark::DoNotOptimize(Eclipse_Table);
  }
}
BENCHMARK(BM_FindEclipsesYear);

// Every year the tab offers, one search per year.
static void BM_FindEclipses1900To2050(benchmark::State& st) {
  for (auto _ : st) {
    for (int year = 1900; year <= 2050; ++year) {
      FindEclipses(DayNumber(1, 1, year, 0, 0, 0), DayNumber(1, 1, year + 1, 0, 0, 0));
      benchmark::DoNotOptimize(Eclipse_Table);
    }
  }
}
BENCHMARK(BM_FindEclipses1900To2050)->Unit(benchmark::kMillisecond);

// The whole list of one year, lines and all.
static void BM_EclipseListLines(benchmark::State& st) {
  for (auto _ : st) benchmark::DoNotOptimize(EclipseListLines(1999));
}
BENCHMARK(BM_EclipseListLines);
