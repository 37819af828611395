#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/settings.h"
#include "degrees/degree_report.h"
#include "degrees/degree_text.h"

namespace fs = std::filesystem;

namespace {

// The shipped base beside this file's source tree.
const fs::path kShippedBase =
    fs::path(__FILE__).parent_path().parent_path() / "data" / "Html" / "gradus.txt";

struct ReportDir {
  fs::path dir = fs::temp_directory_path() / ("kv_bench_degrees_" + std::to_string(::getpid()));
  ReportDir() {
    fs::create_directories(dir / "Html");
    fs::copy_file(kShippedBase, dir / "Html" / "gradus.txt", fs::copy_options::overwrite_existing);
    kv::UseMainDirectory(dir.string());
  }
  ~ReportDir() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

}  // namespace

// One click: ten positions, ten passes over the base, the page written.
static void BM_WriteDegreeReport(benchmark::State& st) {
  ReportDir d;
  int day = 1;
  for (auto _ : st) {
    kv::MakeDegreeReport("Анна", day, 6, 1985, 12, 15);
    day = day % 28 + 1;
  }
}
BENCHMARK(BM_WriteDegreeReport)->Unit(benchmark::kMicrosecond);

// One pass over the base.
static void BM_FindDegreeText(benchmark::State& st) {
  const std::string base = kShippedBase.string();
  int key = 0;
  for (auto _ : st) {
    std::string t;
    kv::FindDegreeText(base, key, t);
    benchmark::DoNotOptimize(t);
    key = (key + 37) % 360;
  }
}
BENCHMARK(BM_FindDegreeText)->Unit(benchmark::kMicrosecond);
