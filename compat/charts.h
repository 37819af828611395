// The output side of the compatibility run: the bar charts of the two passes
// on a small drawing surface of our own, and the lines of the scan files.
#pragma once

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <string>

#include "core/table.h"
#include "core/textfile.h"
#include "scan.h"

namespace kv {

inline constexpr QRgb kChartWhite = qRgb(255, 255, 255);
inline constexpr QRgb kChartSilver = qRgb(192, 192, 192);
inline constexpr QRgb kChartBlack = qRgb(0, 0, 0);
inline constexpr QRgb kChartGrey = qRgb(128, 128, 128);
inline constexpr QRgb kChartGreen = qRgb(0, 128, 0);
inline constexpr QRgb kChartRed = qRgb(255, 0, 0);
inline constexpr QRgb kChartLightGrey = qRgb(238, 238, 238);
inline constexpr QRgb kChartTeal = qRgb(0, 128, 128);

struct CanvasFont {
  std::string Name = "Arial";
  int Size = 10;  // points at 96 dots per inch
  bool Bold = false;
  QRgb Color = kChartBlack;
  bool operator==(const CanvasFont&) const = default;
};

// A picture with pen, brush and font that keep their settings between
// drawings, drawing pixel-exact as the classic window toolkits do. Pens are
// one pixel wide, the brush is solid; everything is clipped to the image.
// Text needs a QGuiApplication (fonts).
class ChartCanvas {
 public:
  explicit ChartCanvas(int width = 720, int height = 218);

  struct {
    QRgb Color = kChartBlack;
  } Pen;
  struct {
    QRgb Color = kChartWhite;
  } Brush;
  CanvasFont Font;

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }
  QRgb Pixel(int x, int y) const { return image_.pixel(x, y) | 0xff000000u; }

  // Columns x1..x2-1, rows y1..y2-1: outline in the pen colour, the inside
  // in the brush colour.
  void Rectangle(int x1, int y1, int x2, int y2);
  // From (x1, y1) up to but not including (x2, y2).
  void Line(int x1, int y1, int x2, int y2);
  // Windows-1251 text whose cell has its top left corner at (x, y); the cell
  // is filled with the brush colour, the letters in the font colour.
  void TextOut(int x, int y, const std::string& text);

  // The font's height in pixels for its point size, rounded as the
  // toolkit does at 96 dots per inch: 10 pt is 13 px, 8 pt is 11 px.
  static int PixelSize(int points);

 private:
  QImage image_;
};

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
