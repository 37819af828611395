#include <benchmark/benchmark.h>

#include "core/calendar.h"
#include "core/planets.h"

using namespace kv;

static void BM_TenBodyChart(benchmark::State& st) {
  TChart c{};
  double x = DayNumber(15, 6, 1985, 12, 0, 0);
  for (auto _ : st) {
    FillChart(c, x);
    benchmark::DoNotOptimize(c);
    x += 2;  // a new day each time, as the compatibility scan does
  }
}
BENCHMARK(BM_TenBodyChart);

static void BM_DayNumber(benchmark::State& st) {
  int d = 1;
  for (auto _ : st) {
    benchmark::DoNotOptimize(DayNumber(d, 6, 1985, 12, 15, 0));
    d = d % 28 + 1;
  }
}
BENCHMARK(BM_DayNumber);

static void BM_DayNumberToDate(benchmark::State& st) {
  double x = 31212.010416666668;
  for (auto _ : st) {
    benchmark::DoNotOptimize(DayNumberToDate(x));
    x += 1.37;
  }
}
BENCHMARK(BM_DayNumberToDate);

static void BM_DayNumberToStrings(benchmark::State& st) {
  std::string d, t;
  double x = 31212.010416666668;
  for (auto _ : st) {
    DayNumberToStrings(x, d, t);
    benchmark::DoNotOptimize(d);
    x += 1.37;
  }
}
BENCHMARK(BM_DayNumberToStrings);

static void BM_SiderealTime(benchmark::State& st) {
  double x = 36525.25;
  for (auto _ : st) {
    benchmark::DoNotOptimize(SiderealTime(x, 0.0));
    x += 0.01;
  }
}
BENCHMARK(BM_SiderealTime);
