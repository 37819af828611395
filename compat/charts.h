// The output side of the compatibility run: the bar charts of the two passes
// on a small drawing surface of our own, and the lines of the scan files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/table.h"
#include "core/textfile.h"
#include "scan.h"

namespace kv {

// An opaque colour as 0xFFRRGGBB.
using CanvasColor = std::uint32_t;
constexpr CanvasColor Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return 0xFF000000u | r << 16 | g << 8 | b;
}

inline constexpr CanvasColor kChartWhite = Rgb(255, 255, 255);
inline constexpr CanvasColor kChartSilver = Rgb(192, 192, 192);
inline constexpr CanvasColor kChartBlack = Rgb(0, 0, 0);
inline constexpr CanvasColor kChartGrey = Rgb(128, 128, 128);
inline constexpr CanvasColor kChartGreen = Rgb(0, 128, 0);
inline constexpr CanvasColor kChartRed = Rgb(255, 0, 0);
inline constexpr CanvasColor kChartLightGrey = Rgb(238, 238, 238);
inline constexpr CanvasColor kChartTeal = Rgb(0, 128, 128);

struct CanvasFont {
  std::string Name = "Arial";
  int Size = 10;  // points at 96 dots per inch
  bool Bold = false;
  CanvasColor Color = kChartBlack;
  bool operator==(const CanvasFont&) const = default;
};

// What the charts are drawn on: a picture with pen, brush and font that
// keep their settings between drawings, drawing pixel-exact as the classic
// window toolkits do. Coordinates are pixels from the top left corner; pens
// are one pixel wide, the brush is solid; everything is clipped to the picture.
class ChartCanvas {
 public:
  virtual ~ChartCanvas() = default;

  struct {
    CanvasColor Color = kChartBlack;
  } Pen;
  struct {
    CanvasColor Color = kChartWhite;
  } Brush;
  CanvasFont Font;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Columns x1..x2-1, rows y1..y2-1: outline in the pen colour, the inside
  // in the brush colour.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // From (x1, y1) up to but not including (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  // Windows-1251 text whose cell has its top left corner at (x, y); the cell
  // is filled with the brush colour, the letters in the font colour.
  virtual void TextOut(int x, int y, const std::string& text) = 0;

 protected:
  ChartCanvas() = default;
  ChartCanvas(const ChartCanvas&) = default;
  ChartCanvas& operator=(const ChartCanvas&) = default;
};

// The size of the two chart pictures.
inline constexpr int kChartWidth = 720;
inline constexpr int kChartHeight = 218;

// The column of the bar of point K (1..360) and the row a level L reaches
// on a chart of height H: whoever reads a chart finds its days by these.
constexpr int ChartBarX(int K) { return 1 + 2 * K; }
constexpr int ChartLevelRow(int H, std::int32_t L) { return H / 2 - 2 * L; }

// "Янв" .. "Дек" in Windows-1251, indexed 1..12.
extern const Table<std::string, 12> Month_Abbr;

// White ground, silver border, the zero axis and the month grid.
void Chart_Frame(ChartCanvas& canvas);
// The bar of point K (1..360) for level L: green upward, red downward.
void Chart_Bar(ChartCanvas& canvas, int K, std::int32_t L);
// Year strips, years (entries 50 and 200 of the points) and month names.
void Chart_Labels(ChartCanvas& canvas, const TScanPoints& points);

// The three sum lines and the point line of the scan file, without line ends.
std::array<std::string, 3> ScanSumLines(std::int32_t Sum_Plus2, std::int32_t Sum_Minus2,
                                        std::int32_t Procent2);
std::string ScanPointLine(int K, const Scan_Point& p);
void WriteSumLines(TextWriter& scan, std::int32_t Sum_Plus2, std::int32_t Sum_Minus2,
                   std::int32_t Procent2);
void WritePointLine(TextWriter& scan, int K, const Scan_Point& p);

}  // namespace kv
