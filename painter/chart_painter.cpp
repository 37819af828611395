#include "chart_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/text.h"

namespace kvpaint {

namespace {
// Beyond this the picture would only cost memory: Qt scales it up.
constexpr qreal kMaxRatio = 8;
}  // namespace

ChartPainter::ChartPainter(int width, int height, qreal ratio) : width_(width), height_(height) {
  SetRatio(ratio);
}

void ChartPainter::SetRatio(qreal ratio) {
  ratio_ = ratio > 1 ? std::min(ratio, kMaxRatio) : 1;  // NaN too counts as 1
  image_ = QImage(Device(width_), Device(height_), QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio_);
  image_.fill(kv::kChartWhite);
}

int ChartPainter::Device(int x) const { return static_cast<int>(std::lround(x * ratio_)); }

QRgb ChartPainter::Pixel(int x, int y) const {
  return image_.pixel(Device(x), Device(y)) | 0xff000000u;
}

int ChartPainter::PixelSize(int points) {
  // MulDiv(points, 96, 72): rounded, halves away from zero.
  const int n = points * 96;
  return n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
}

void ChartPainter::Fill(int x1, int y1, int x2, int y2, kv::CanvasColor colour) {
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, width_);
  y2 = std::min(y2, height_);
  if (x1 >= x2 || y1 >= y2) return;
  const int left = Device(x1), right = Device(x2);
  for (int y = Device(y1), bottom = Device(y2); y < bottom; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(row + left, row + right, colour);
  }
}

void ChartPainter::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 == x1 || y2 == y1) return;
  Fill(x1, y1, x2, y2, Brush.Color);
  Fill(x1, y1, x2, y1 + 1, Pen.Color);
  Fill(x1, y2 - 1, x2, y2, Pen.Color);
  Fill(x1, y1, x1 + 1, y2, Pen.Color);
  Fill(x2 - 1, y1, x2, y2, Pen.Color);
}

void ChartPainter::Line(int x1, int y1, int x2, int y2) {
  // Bresenham without the end point; exact for the horizontal and vertical
  // lines the charts draw.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    Fill(x, y, x + 1, y + 1, Pen.Color);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void ChartPainter::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(kv::FromCp1251(text));
  QFont f(QString::fromStdString(Font.Name));
  f.setPixelSize(PixelSize(Font.Size));
  f.setBold(Font.Bold);
  // Chart pixels whatever the ratio: the painter scales to the picture.
  const QFontMetrics fm(f, &image_);
  Fill(x, y, x + fm.horizontalAdvance(s), y + fm.height(), Brush.Color);
  QPainter p(&image_);
  p.setFont(f);
  p.setPen(QColor(Font.Color));
  p.drawText(x, y + fm.ascent(), s);
}

}  // namespace kvpaint
