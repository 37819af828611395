// kvlove's pictures of the compatibility charts: a module of their own,
// loaded only for --png, so that no other command loads Qt's GUI libraries.
#pragma once

#include <memory>
#include <string>

#include "compat/charts.h"

namespace kvpaint {

class PngCharts {
 public:
  virtual ~PngCharts() = default;
  // The canvas of a pass: 1 upper, 2 lower; drawn at 100 %.
  virtual kv::ChartCanvas& Canvas(int pass) = 0;
  // Canvas(pass) as PNG bytes; empty when it could not be encoded.
  virtual std::string Png(int pass) = 0;
};

// The module's one entry point: two charts, with the offscreen GUI
// application their fonts need, alive as long as the object.
using MakePngChartsFn = PngCharts* (*)();
inline constexpr char kMakePngCharts[] = "kvlove_make_png_charts";
// Its file, beside kvlove.
inline constexpr char kPngChartsModule[] = "kvlove-png.so";

}  // namespace kvpaint
