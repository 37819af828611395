// kvlove's pictures of the compatibility charts and its PDFs: a module of
// their own, loaded only for --png and --pdf, so that no other command
// loads Qt's GUI libraries.
#pragma once

#include <memory>
#include <string>

#include "compat/charts.h"
#include "compat/scan.h"

namespace kvpaint {

class PngCharts {
 public:
  virtual ~PngCharts() = default;
  // The canvas of a pass: 1 upper, 2 lower; drawn at 100 %.
  virtual kv::ChartCanvas& Canvas(int pass) = 0;
  // Canvas(pass) as PNG bytes; empty when it could not be encoded.
  virtual std::string Png(int pass) = 0;
  // The PDFs the window saves (painter/documents.h): of the report page
  // written to pageFile, and of a finished run's points. Empty, or what
  // went wrong (UTF-8).
  virtual std::string ReportPdf(const std::string& pageFile, const std::string& pdfFile) = 0;
  virtual std::string CompatPdf(const kv::CompatInputs& in, const kv::TScanPoints& upper,
                                const kv::TScanPoints& lower, const std::string& pdfFile) = 0;
};

// The module's one entry point: two charts, with the offscreen GUI
// application their fonts need, alive as long as the object.
using MakePngChartsFn = PngCharts* (*)();
inline constexpr char kMakePngCharts[] = "kvlove_make_png_charts";
// Its file, beside kvlove.
inline constexpr char kPngChartsModule[] = "kvlove-png.so";

}  // namespace kvpaint
