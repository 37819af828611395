// The atlas as the user types into a city field: every keystroke a search
// by the beginning of the name typed so far (wanted: well under 20 ms), and
// the atlas's opening, paid once at its first use.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/atlas.h"

namespace {

// A keystroke of a user typing one of these names: the search of each
// growing beginning in turn, in both scripts.
void BM_AtlasSearchPerKeystroke(benchmark::State& state) {
  const kv::Atlas& atlas = kv::Atlas::Get();
  std::vector<std::string> typed;
  for (const std::u32string name : {U"Новосибирск", U"Санкт-Петербург", U"Moscow", U"ахтубинск"})
    for (std::size_t n = 1; n <= name.size(); ++n) {
      std::string s;
      for (char32_t c : name.substr(0, n)) {
        if (c < 0x80)
          s += static_cast<char>(c);
        else {  // two bytes cover Cyrillic
          s += static_cast<char>(0xC0 | (c >> 6));
          s += static_cast<char>(0x80 | (c & 0x3F));
        }
      }
      typed.push_back(s);
    }
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(atlas.Search(typed[i++ % typed.size()], 20));
}
BENCHMARK(BM_AtlasSearchPerKeystroke)->Unit(benchmark::kMicrosecond);

// A name not in the atlas: the nearest names by edit distance.
void BM_AtlasNearestNames(benchmark::State& state) {
  const kv::Atlas& atlas = kv::Atlas::Get();
  for (auto _ : state) benchmark::DoNotOptimize(atlas.NearestNames("Масквабад"));
}
BENCHMARK(BM_AtlasNearestNames)->Unit(benchmark::kMillisecond);

}  // namespace
