// A run straight through, for kvlove and the benchmarks: fixed inputs, no
// panels; the charts drawn on the canvases given, or on none.
#pragma once

#include "compat/charts.h"
#include "compat/scan.h"

namespace kv {

// A chart that keeps nothing, for a run whose charts nobody sees.
class NullCanvas : public ChartCanvas {
 public:
  int Width() const override { return kChartWidth; }
  int Height() const override { return kChartHeight; }
  void Rectangle(int, int, int, int) override {}
  void Line(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
};

class StraightHost : public CompatHost {
 public:
  explicit StraightHost(const CompatInputs& in = {}) : in_(in) {}
  StraightHost(const CompatInputs& in, ChartCanvas& upper, ChartCanvas& lower)
      : in_(in), upper_(&upper), lower_(&lower) {}
  StraightHost(const StraightHost&) = delete;
  StraightHost& operator=(const StraightHost&) = delete;
  CompatInputs ReadInputs() override { return in_; }
  void ShowPanels(int) override {}
  ChartCanvas& Canvas(int pass) override { return pass == 1 ? *upper_ : *lower_; }
  void Drawn(int) override {}

 private:
  CompatInputs in_;
  NullCanvas none_;
  ChartCanvas* upper_ = &none_;
  ChartCanvas* lower_ = &none_;
};

}  // namespace kv
