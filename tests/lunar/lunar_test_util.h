// A fresh main directory per test, and small helpers of the lunar tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "tests/temp_dir.h"

namespace lunartest {

namespace fs = std::filesystem;

inline const fs::path kShippedDescriptions = fs::path(KV_SOURCE_DATA) / "System" / "DayMoon.doc";

// Main directory with an empty System/ folder; the settings point at it.
class MainDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "System");
    kv::UseMainDirectory(dir_.string());
  }

  fs::path Sys(const std::string& name = "") const { return dir_ / "System" / name; }
  void ShipDescriptions() const { fs::copy_file(kShippedDescriptions, Sys("DayMoon.doc")); }
  void WriteBytes(const fs::path& p, const std::string& bytes) const {
    kv::TextWriter w(p.string());
    w.Write(bytes);
    w.Close();
  }
  std::string Bytes(const fs::path& p) const { return kv::ReadFileBytes(p.string()); }

  kvtest::TempDir tmp_{"kv_lunar"};
  fs::path dir_ = tmp_.path();
};

inline std::string Cp(const std::string& utf8) { return kv::ToCp1251(utf8); }

inline std::string Moment(double x) {
  std::string d, t;
  kv::DayNumberToStrings(x, d, t);
  return d + " " + t;
}

inline std::string DateOf(double x) { return Moment(x).substr(0, 10); }

// Lines of a CR LF file (the line ends removed).
inline std::vector<std::string> CrLfLines(const std::string& s) {
  std::vector<std::string> v;
  std::size_t b = 0;
  for (std::size_t e; (e = s.find("\r\n", b)) != std::string::npos; b = e + 2)
    v.push_back(s.substr(b, e - b));
  if (b < s.size()) v.push_back(s.substr(b));
  return v;
}

}  // namespace lunartest
