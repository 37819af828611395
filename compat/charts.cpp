#include "charts.h"

#include "core/text.h"

namespace kv {

const Table<std::string, 12> Month_Abbr = Cp1251Table(
    {"Янв", "Фев", "Мар", "Апр", "Май", "Июн", "Июл", "Авг", "Сен", "Окт", "Ноя", "Дек"});

namespace {
constexpr int X0 = ChartBarX(0);  // left margin, first grid line
constexpr int Step = 2;           // pixels from one point to the next
constexpr int Cell = 30;          // grid cell: 15 points, about a month
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
  const int H = canvas.Height();
  const int x = ChartBarX(K);
  canvas.Pen.Color = L >= 0 ? kChartGreen : kChartRed;
  canvas.Line(x, ChartLevelRow(H, 0), x, ChartLevelRow(H, L));
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
  for (int F = 1; F <= 12; ++F)
    canvas.TextOut(X0 + 360 + (F - 1) * Cell + 3, H - 38, Month_Abbr[F]);
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
  for (const std::string& line : ScanSumLines(Sum_Plus2, Sum_Minus2, Procent2))
    scan.WriteLine(line);
}

void WritePointLine(TextWriter& scan, int K, const Scan_Point& p) {
  scan.WriteLine(ScanPointLine(K, p));
}

}  // namespace kv
