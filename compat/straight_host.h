// A run straight through, for kvlove and the benchmarks: fixed inputs, no
// panels, no pauses, no messages; the charts drawn on its own canvases.
#pragma once

#include "compat/charts.h"
#include "compat/scan.h"

namespace kv {

class StraightHost : public CompatHost {
 public:
  explicit StraightHost(const CompatInputs& in = {}) : in_(in) {}
  CompatInputs ReadInputs() override { return in_; }
  void ShowPanels(int) override {}
  ChartCanvas& Canvas(int pass) override { return pass == 1 ? upper_ : lower_; }
  void Drawn(int) override {}
  void ProcessMessages() override {}
  void Pause() override {}

 private:
  CompatInputs in_;
  ChartCanvas upper_, lower_;
};

}  // namespace kv
