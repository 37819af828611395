// Shared pieces of the compatibility tests: fresh main directories, and a
// host that records what the run asks of it and draws.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "compat/charts.h"
#include "compat/scan.h"
#include "core/settings.h"
#include "tests/temp_dir.h"

namespace compat_test {

// A main directory of its own, removed afterwards; with Html/ unless asked.
class TempMainDir {
 public:
  explicit TempMainDir(bool withHtml = true) {
    std::filesystem::create_directories(dir_.path() / "System");
    if (withHtml) std::filesystem::create_directories(dir_.path() / "Html");
    kv::UseMainDirectory(dir_.str());
  }
  const std::filesystem::path& path() const { return dir_.path(); }

 private:
  kvtest::TempDir dir_{"kv_compat"};
};

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Lines of a CR LF file; false in ok when a line end is anything else.
inline std::vector<std::string> CrLfLines(const std::string& bytes, bool& ok) {
  std::vector<std::string> lines;
  ok = true;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    if (lf == std::string::npos || lf == start || bytes[lf - 1] != '\r') {
      ok = false;
      break;
    }
    std::string line = bytes.substr(start, lf - 1 - start);
    if (line.find('\r') != std::string::npos) ok = false;
    lines.push_back(std::move(line));
    start = lf + 1;
  }
  return lines;
}

// One drawing on a chart: a rectangle (R), a line (L) or a text (T) with
// the colours it was drawn in (for a text, the font's as pen).
struct Drawing {
  char kind;
  int x1, y1, x2, y2;  // a text has its corner in x1, y1
  kv::CanvasColor pen, brush;
  std::string text;
  bool operator==(const Drawing&) const = default;
};

class RecordingCanvas : public kv::ChartCanvas {
 public:
  std::vector<Drawing> drawings;
  int Width() const override { return kv::kChartWidth; }
  int Height() const override { return kv::kChartHeight; }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    drawings.push_back({'R', x1, y1, x2, y2, Pen.Color, Brush.Color, {}});
  }
  void Line(int x1, int y1, int x2, int y2) override {
    drawings.push_back({'L', x1, y1, x2, y2, Pen.Color, Brush.Color, {}});
  }
  void TextOut(int x, int y, const std::string& text) override {
    drawings.push_back({'T', x, y, x, y, Font.Color, Brush.Color, text});
  }
  // The bars so far: vertical lines from the axis; the last at x, or null.
  const Drawing* BarAt(int x) const {
    for (auto d = drawings.rbegin(); d != drawings.rend(); ++d)
      if (d->kind == 'L' && d->x1 == x && d->x2 == x && d->y1 == kv::kChartHeight / 2) return &*d;
    return nullptr;
  }
  bool Has(const Drawing& d) const {
    return std::find(drawings.begin(), drawings.end(), d) != drawings.end();
  }
};

class RecordingHost : public kv::CompatHost {
 public:
  std::vector<kv::CompatInputs> inputs{kv::CompatInputs{}};  // the last repeats
  std::vector<std::string> log;
  std::function<void(RecordingHost&)> onRead;  // at every ReadInputs
  RecordingCanvas upper, lower;
  int reads = 0;

  kv::CompatInputs ReadInputs() override {
    log.push_back("read");
    ++reads;
    if (onRead) onRead(*this);
    return inputs[std::min<std::size_t>(reads - 1, inputs.size() - 1)];
  }
  void ShowPanels(int pass) override { log.push_back("panels" + std::to_string(pass)); }
  RecordingCanvas& Canvas(int pass) override { return pass == 1 ? upper : lower; }
  void Drawn(int pass) override { log.push_back("drawn" + std::to_string(pass)); }
};

}  // namespace compat_test
