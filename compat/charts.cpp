#include "charts.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/text.h"

namespace kv {

ChartCanvas::ChartCanvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
  image_.fill(kChartWhite);
}

int ChartCanvas::PixelSize(int points) {
  // MulDiv(points, 96, 72): rounded, halves away from zero.
  const int n = points * 96;
  return n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
}

void ChartCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 == x1 || y2 == y1) return;
  const int w = image_.width(), h = image_.height();
  const int cx1 = std::max(x1, 0), cx2 = std::min(x2, w);
  if (cx1 >= cx2) return;
  for (int y = std::max(y1, 0); y < std::min(y2, h); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    const bool edgeRow = y == y1 || y == y2 - 1;
    std::fill(row + cx1, row + cx2, edgeRow ? Pen.Color : Brush.Color);
    if (x1 >= 0) row[x1] = Pen.Color;
    if (x2 - 1 < w) row[x2 - 1] = Pen.Color;
  }
}

void ChartCanvas::Line(int x1, int y1, int x2, int y2) {
  // Bresenham without the end point; exact for the horizontal and vertical
  // lines the charts draw.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  const int w = image_.width(), h = image_.height();
  uchar* bits = image_.bits();  // detached once, not per pixel
  const qsizetype stride = image_.bytesPerLine();
  while (x != x2 || y != y2) {
    if (x >= 0 && y >= 0 && x < w && y < h) reinterpret_cast<QRgb*>(bits + y * stride)[x] = Pen.Color;
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

void ChartCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(FromCp1251(text));
  QFont f(QString::fromStdString(Font.Name));
  f.setPixelSize(PixelSize(Font.Size));
  f.setBold(Font.Bold);
  const QFontMetrics fm(f, &image_);
  QPainter p(&image_);
  p.setFont(f);
  p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), QColor(Brush.Color));
  p.setPen(QColor(Font.Color));
  p.drawText(x, y + fm.ascent(), s);
}

const Table<std::string, 12> Month_Abbr = Cp1251Table(
    {"Янв", "Фев", "Мар", "Апр", "Май", "Июн", "Июл", "Авг", "Сен", "Окт", "Ноя", "Дек"});

namespace {
constexpr int X0 = 1;      // left margin, first grid line
constexpr int Step = 2;    // pixels from one point to the next
constexpr int Cell = 30;   // grid cell: 15 points, about a month
}  // namespace

void Chart_Frame(ChartCanvas& canvas) {
  const int W = canvas.Width(), H = canvas.Height(), Mid = H / 2;
  canvas.Brush.Color = kChartWhite;
  canvas.Pen.Color = kChartSilver;
  canvas.Rectangle(0, 0, W, H);

  canvas.Pen.Color = kChartBlack;
  canvas.Line(X0, Mid, W - 1, Mid);

  canvas.Pen.Color = kChartGrey;
  for (int F = 1; F <= 25; ++F) {
    const int x = X0 + (F - 1) * Cell;
    canvas.Line(x, 0, x, 2 * Mid);
    // The start of a year is two pixels wide.
    if (F == 13 || F == 25) canvas.Line(x + 1, 0, x + 1, 2 * Mid);
  }
}

void Chart_Bar(ChartCanvas& canvas, int K, std::int32_t L) {
  const int Mid = canvas.Height() / 2;
  const int x = X0 + Step * K;
  canvas.Pen.Color = L >= 0 ? kChartGreen : kChartRed;
  canvas.Line(x, Mid, x, Mid - 2 * L);
}

void Chart_Labels(ChartCanvas& canvas, const TScanPoints& points) {
  const int H = canvas.Height();
  CanvasFont year{"Arial", 10, true, kChartTeal};

  canvas.Brush.Color = kChartLightGrey;
  canvas.Pen.Color = kChartLightGrey;
  canvas.Rectangle(X0, H - 20, X0 + 180 * Step, H);
  canvas.Pen.Color = kChartBlack;
  canvas.Brush.Color = kChartLightGrey;
  canvas.Font = year;
  canvas.TextOut(X0 + 163, H - 18, std::to_string(points[50].Year));

  canvas.Brush.Color = kChartLightGrey;
  canvas.Pen.Color = kChartLightGrey;
  canvas.Rectangle(X0 + 180 * Step + 2, H - 20, X0 + 360 * Step, H);
  canvas.Pen.Color = kChartBlack;
  canvas.Brush.Color = kChartLightGrey;
  canvas.Font = year;
  canvas.TextOut(X0 + 180 * Step + 163, H - 18, std::to_string(points[200].Year));

  canvas.Font = CanvasFont{"Arial", 8, false, kChartGrey};
  canvas.Brush.Color = kChartWhite;
  for (int F = 1; F <= 12; ++F) canvas.TextOut(X0 + (F - 1) * Cell + 3, H - 38, Month_Abbr[F]);
  for (int F = 1; F <= 12; ++F) canvas.TextOut(X0 + 360 + (F - 1) * Cell + 3, H - 38, Month_Abbr[F]);
}

std::array<std::string, 3> ScanSumLines(std::int32_t Sum_Plus2, std::int32_t Sum_Minus2,
                                        std::int32_t Procent2) {
  return {"  Sum_Plus2 = " + Field(Sum_Plus2, 4), " Sum_Minus2 = " + Field(Sum_Minus2, 4),
          "   Procent2 = " + Field(Procent2, 4)};
}

std::string ScanPointLine(int K, const Scan_Point& p) {
  return Field(K, 5) + Field(p.Day, 5) + Field(p.Month, 3) + Field(p.Year, 5) + Field(p.Level, 4);
}

void WriteSumLines(TextWriter& scan, std::int32_t Sum_Plus2, std::int32_t Sum_Minus2,
                   std::int32_t Procent2) {
  for (const std::string& line : ScanSumLines(Sum_Plus2, Sum_Minus2, Procent2)) scan.WriteLine(line);
}

void WritePointLine(TextWriter& scan, int K, const Scan_Point& p) { scan.WriteLine(ScanPointLine(K, p)); }

}  // namespace kv
