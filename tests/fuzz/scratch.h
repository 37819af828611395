// Scratch files of a fuzz target: the readers under test take file names.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/textfile.h"

namespace kvfuzz {

// A folder of this process's own, ending in "/", made on first use.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* base = std::getenv("TMPDIR");
    const std::string d =
        std::string(base && *base ? base : "/tmp") + "/kv_fuzz_" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  kv::TextWriter w(path);
  w.Write(std::string_view(reinterpret_cast<const char*>(data), size));
  w.Close();
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
