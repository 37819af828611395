// Scratch files of a fuzz target: the readers under test take file names.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kvfuzz {

// A folder of this process's own, ending in "/", made on first use.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* base = std::getenv("TMPDIR");
    std::string d = std::string(base && *base ? base : "/tmp") + "/kv_fuzz_" + std::to_string(::getpid()) + "/";
    std::string cmd = "mkdir -p '" + d + "'";
    if (std::system(cmd.c_str()) != 0) std::abort();
    return d;
  }();
  return dir;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

inline std::string ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) std::abort();
  std::string s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

// Reads little integers off the front of the input.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::int32_t Take(std::int32_t modulo, std::int32_t offset) {
    if (size == 0) return offset;
    const std::int32_t v = data[0] % modulo + offset;
    ++data;
    --size;
    return v;
  }
};

}  // namespace kvfuzz
