#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/settings.h"
#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"

namespace {
namespace fs = std::filesystem;

// A scratch main directory with the shipped descriptions, for the session.
const fs::path& ScratchMainDir() {
  static const fs::path dir = [] {
    const fs::path d = fs::temp_directory_path() / ("kv_bench_lunar_" + std::to_string(::getpid()));
    fs::create_directories(d / "System");
    const fs::path shipped =
        fs::path(__FILE__).parent_path().parent_path() / "data/System/DayMoon.doc";
    fs::copy_file(shipped, d / "System/DayMoon.doc", fs::copy_options::overwrite_existing);
    std::atexit([] {
      fs::remove_all(fs::temp_directory_path() / ("kv_bench_lunar_" + std::to_string(::getpid())));
    });
    return d;
  }();
  kv::UseMainDirectory(dir.string());
  return dir;
}
}  // namespace

// The calculate button: fifteen lunations and the listing file.
static void BM_PhaseTableOfOneYear(benchmark::State& st) {
  ScratchMainDir();
  std::int32_t year = 1990;
  for (auto _ : st) {
    kv::WritePhaseListing(year);
    year = year == 2030 ? 1990 : year + 1;
  }
}
BENCHMARK(BM_PhaseTableOfOneYear)->Unit(benchmark::kMicrosecond);

// The four phases of one lunation, without the file.
static void BM_LunarPhases(benchmark::State& st) {
  double x = 39000.0;
  for (auto _ : st) {
    double D = x, q1, full, q3;
    kv::LunarPhases(D, q1, full, q3);
    benchmark::DoNotOptimize(q3);
    x += 7.3;
  }
}
BENCHMARK(BM_LunarPhases);

// A choice in the lunar month group: some 30 moonrise searches.
static void BM_LunarDaysOfOneMonth(benchmark::State& st) {
  ScratchMainDir();
  kv::WritePhaseListing(2008);
  std::int32_t M = 1;
  for (auto _ : st) {
    kv::ResetLunarDays();
    benchmark::DoNotOptimize(kv::BuildLunarDays(M));
    M = M % 14 + 1;
  }
}
BENCHMARK(BM_LunarDaysOfOneMonth)->Unit(benchmark::kMicrosecond);

// A click on a lunar day: time lines, lookup in DayMoon.doc, line ends
// mended through the scratch file, the block appended.
static void BM_LunarDayDescription(benchmark::State& st) {
  ScratchMainDir();
  kv::WritePhaseListing(2008);
  kv::ResetLunarDays();
  kv::BuildLunarDays(2);
  std::int32_t N = 1;
  for (auto _ : st) {
    kv::WriteLunarDayText(N, nullptr);
    N = N % 27 + 1;
  }
}
BENCHMARK(BM_LunarDayDescription)->Unit(benchmark::kMicrosecond);
