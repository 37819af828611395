// The compatibility charts drawn with Qt, for the window and kvlove's
// pictures: a picture at a device pixel ratio, so that a chart keeps its
// geometry and stays sharp on a high-resolution screen.
#pragma once

#include <QImage>

#include <string>

#include "compat/charts.h"

namespace kvpaint {

class ChartPainter : public kv::ChartCanvas {
 public:
  // A white chart of width x height pixels, each drawn as ratio x ratio
  // pixels of the picture (a ratio below 1 counts as 1).
  explicit ChartPainter(int width = kv::kChartWidth, int height = kv::kChartHeight,
                        qreal ratio = 1);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Line(int x1, int y1, int x2, int y2) override;
  // Needs a QGuiApplication (fonts).
  void TextOut(int x, int y, const std::string& text) override;

  // The picture, of Width() x Height() pixels at ratio 1.
  const QImage& Image() const { return image_; }
  qreal Ratio() const { return ratio_; }
  // The colour of chart pixel (x, y): its top left pixel in the picture.
  QRgb Pixel(int x, int y) const;
  // A white picture at another ratio; pen, brush and font stay.
  void SetRatio(qreal ratio);

  // The font's height in pixels for its point size, rounded as the
  // toolkit does at 96 dots per inch: 10 pt is 13 px, 8 pt is 11 px.
  static int PixelSize(int points);

 private:
  // The first picture column (or row) of chart column x.
  int Device(int x) const;
  // Chart pixels x1..x2-1, y1..y2-1 in one colour, clipped to the chart.
  void Fill(int x1, int y1, int x2, int y2, kv::CanvasColor colour);

  int width_, height_;
  qreal ratio_ = 1;
  QImage image_;
};

}  // namespace kvpaint
