// Shared by the degree tests: a fresh directory per test, the shipped data
// read independently of the unit's reader, and page lines.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

namespace fs = std::filesystem;

class TempDir : public kvtest::TempDir {
 public:
  TempDir() : kvtest::TempDir("kv_degrees") {}
};

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline const fs::path kShippedHtml = fs::path(KV_SOURCE_DATA) / "Html";

// Lines of a CR LF file; fails the split (returns false) on a bare LF or a
// missing final line end.
inline bool SplitCrLf(const std::string& bytes, std::vector<std::string>& lines) {
  lines.clear();
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t nl = bytes.find('\n', start);
    if (nl == std::string::npos || nl == start || bytes[nl - 1] != '\r') return false;
    lines.push_back(bytes.substr(start, nl - 1 - start));
    start = nl + 1;
  }
  return true;
}

// The shipped base as key -> paragraph, read by plain splitting: a line
// starting with "*" is a header whose columns 3..5 are the key.
inline std::map<int, std::string> ShippedParagraphs(std::vector<int>* keysInOrder = nullptr) {
  std::vector<std::string> lines;
  if (!SplitCrLf(ReadBytes(kShippedHtml / "gradus.txt"), lines))
    throw std::runtime_error("gradus.txt is not CR LF throughout");
  std::map<int, std::string> m;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i][0] != '*') continue;
    const int key = std::stoi(lines[i].substr(2, 3));
    if (keysInOrder) keysInOrder->push_back(key);
    m[key] = i + 1 < lines.size() ? lines[i + 1] : "";
    ++i;
  }
  return m;
}

// A main directory holding Html/ with the shipped base and pictures.
inline void CopyShippedHtml(const fs::path& mainDir) {
  fs::create_directories(mainDir / "Html" / "images");
  fs::copy_file(kShippedHtml / "gradus.txt", mainDir / "Html" / "gradus.txt");
  for (int n = 1; n <= 12; ++n) {
    const std::string f = (n < 10 ? "0" : "") + std::to_string(n) + ".gif";
    fs::copy_file(kShippedHtml / "images" / f, mainDir / "Html" / "images" / f);
  }
}

inline int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}
