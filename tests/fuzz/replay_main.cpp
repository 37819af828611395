// A fuzz target as an ordinary test: every input of the directories and
// files named on the command line (and the empty input, as the fuzzer's
// first) goes through LLVMFuzzerTestOneInput once. A target's check that
// fails aborts, an input that crashes crashes: the test fails either way.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {
std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (fs::is_directory(argv[i])) {
      for (const auto& e : fs::directory_iterator(argv[i]))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  // The targets write their scratch files under TMPDIR: a folder of this
  // run's own, removed after it.
  const char* base = std::getenv("TMPDIR");
  std::string scratch = std::string(base && *base ? base : "/tmp") + "/kv_replay_XXXXXX";
  if (!::mkdtemp(scratch.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  ::setenv("TMPDIR", scratch.c_str(), 1);

  const std::uint8_t none = 0;
  LLVMFuzzerTestOneInput(&none, 0);
  for (const fs::path& p : inputs) {
    std::printf("%s\n", p.filename().c_str());
    std::fflush(stdout);  // names the input that ends the run
    const std::string bytes = Read(p);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  fs::remove_all(scratch);
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}
