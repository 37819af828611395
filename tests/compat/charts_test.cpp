#include <gtest/gtest.h>

#include <algorithm>

#include "painter/chart_painter.h"
#include "compat/charts.h"
#include "core/text.h"
#include "gui.h"
#include "helpers.h"

using namespace kv;
using compat_test::EnsureGui;
using kvpaint::ChartPainter;

namespace {

// Points whose years are those of a pass starting in y0.
TScanPoints PointsOfYears(int y0) {
  TScanPoints pts{};
  for (int k = 1; k <= 360; ++k) pts[k].Year = k <= 182 ? y0 : y0 + 1;
  return pts;
}

bool IsGridColumn(int x) { return (x >= 1 && x <= 691 && (x - 1) % 30 == 0) || x == 362; }

int CountColour(const ChartPainter& c, int x1, int y1, int x2, int y2, QRgb colour) {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) n += c.Pixel(x, y) == colour;
  return n;
}

// Pixels of the area that are none of the given colours: the letters.
int CountOther(const ChartPainter& c, int x1, int y1, int x2, int y2,
               std::initializer_list<QRgb> ground) {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x)
      n += std::find(ground.begin(), ground.end(), c.Pixel(x, y)) == ground.end();
  return n;
}

}  // namespace

TEST(ChartPainterTest, RectangleCoversUpToButNotIncludingTheCorner) {
  ChartPainter c(10, 8);
  c.Pen.Color = kChartRed;
  c.Brush.Color = kChartGreen;
  c.Rectangle(2, 1, 6, 5);  // columns 2..5, rows 1..4
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x <= 5 && y >= 1 && y <= 4;
      const bool edge = inside && (x == 2 || x == 5 || y == 1 || y == 4);
      EXPECT_EQ(c.Pixel(x, y), edge     ? kChartRed
                               : inside ? kChartGreen
                                        : kChartWhite)
          << x << "," << y;
    }
  // Clipped at every side, without touching memory outside the picture.
  c.Brush.Color = kChartTeal;
  c.Rectangle(-5, -5, 20, 20);
  EXPECT_EQ(c.Pixel(0, 0), kChartTeal);
  EXPECT_EQ(c.Pixel(9, 7), kChartTeal);
  c.Rectangle(4, 4, 4, 7);  // empty
  EXPECT_EQ(c.Pixel(4, 4), kChartTeal);
}

TEST(ChartPainterTest, LineLeavesOutItsEndPoint) {
  ChartPainter c(10, 10);
  c.Pen.Color = kChartBlack;
  c.Line(1, 2, 5, 2);
  c.Line(7, 8, 7, 4);  // upward
  c.Line(3, 3, 3, 3);  // nothing
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(c.Pixel(x, 2), x >= 1 && x <= 4 ? kChartBlack : kChartWhite) << x;
  for (int y = 0; y < 10; ++y)
    EXPECT_EQ(c.Pixel(7, y), y >= 5 && y <= 8 ? kChartBlack : kChartWhite) << y;
  EXPECT_EQ(c.Pixel(3, 3), kChartWhite);
  c.Line(8, -100, 8, 100);  // clipped both ends
  EXPECT_EQ(CountColour(c, 8, 0, 9, 10, kChartBlack), 10);
}

TEST(ChartPainterTest, PointSizesAsAt96Dpi) {
  EXPECT_EQ(ChartPainter::PixelSize(10), 13);
  EXPECT_EQ(ChartPainter::PixelSize(8), 11);
  EXPECT_EQ(ChartPainter::PixelSize(9), 12);
  EXPECT_EQ(ChartPainter::PixelSize(12), 16);
  EXPECT_EQ(ChartPainter::PixelSize(11), 15);  // 14.67
}

TEST(ChartPainterTest, TextCellIsOpaqueInTheBrushColour) {
  EnsureGui();
  ChartPainter c(60, 30);
  c.Brush.Color = kChartRed;
  c.Rectangle(0, 0, 60, 30);
  c.Font = CanvasFont{"Arial", 10, true, kChartTeal};
  c.Brush.Color = kChartLightGrey;
  c.TextOut(5, 4, "1980");
  EXPECT_EQ(c.Pixel(5, 4), kChartLightGrey);  // the cell's top left corner
  EXPECT_EQ(c.Pixel(4, 4), kChartRed);
  EXPECT_EQ(c.Pixel(5, 3), kChartRed);
  EXPECT_GT(CountOther(c, 5, 4, 60, 30, {kChartLightGrey, kChartRed}), 20);
  // A cell about 13 pixels high and 4 digits wide.
  int bottom = 4, right = 5;
  while (c.Pixel(5, bottom + 1) != kChartRed) ++bottom;
  while (c.Pixel(right + 1, 4) != kChartRed) ++right;
  EXPECT_GE(bottom - 4 + 1, 13);
  EXPECT_LE(bottom - 4 + 1, 17);
  EXPECT_GE(right - 5 + 1, 24);
  EXPECT_LE(right - 5 + 1, 40);
  EXPECT_EQ(c.Pixel(5, bottom), kChartLightGrey);
  // Nothing outside the picture: text that runs off the edge is clipped.
  c.TextOut(50, 25, Month_Abbr[12]);
  EXPECT_EQ(c.Pixel(50, 25), kChartLightGrey);
}

TEST(ChartPainterTest, TwiceTheRatioDrawsTheSameChartSharper) {
  EnsureGui();
  ChartPainter one, two(kChartWidth, kChartHeight, 2);
  for (ChartPainter* c : {&one, &two}) {
    Chart_Frame(*c);
    Chart_Bar(*c, 10, 70);
    Chart_Bar(*c, 11, -70);
    Chart_Bar(*c, 13, 1);
    c->Pen.Color = kChartLightGrey;
    c->Brush.Color = kChartLightGrey;
    c->Rectangle(1, 198, 361, 218);
    c->Font = CanvasFont{"Arial", 10, true, kChartTeal};
    c->Brush.Color = kChartWhite;  // the cell stands out from the strip
    c->TextOut(164, 200, "1980");
  }
  const QImage& big = two.Image();
  ASSERT_EQ(big.size(), QSize(1440, 436));
  EXPECT_EQ(big.deviceIndependentSize(), QSizeF(720, 218));
  bool sharper = false;
  for (int y = 0; y < kChartHeight; ++y)
    for (int x = 0; x < kChartWidth; ++x) {
      const QRgb block[] = {big.pixel(2 * x, 2 * y), big.pixel(2 * x + 1, 2 * y),
                            big.pixel(2 * x, 2 * y + 1), big.pixel(2 * x + 1, 2 * y + 1)};
      const bool uniform = std::all_of(block, block + 4, [&](QRgb p) { return p == block[0]; });
      if (y >= 200 && x >= 164 && x < 224) {
        // The text: the same cell, its letters drawn finer than at ratio 1.
        EXPECT_EQ(one.Pixel(x, y) == kChartLightGrey,
                  uniform && (block[0] | 0xff000000u) == kChartLightGrey)
            << x << "," << y;
        sharper |= !uniform;
      } else {
        ASSERT_TRUE(uniform) << x << "," << y;  // rectangles and lines: a 2 x 2 block a pixel
        ASSERT_EQ(block[0] | 0xff000000u, one.Pixel(x, y)) << x << "," << y;
      }
    }
  EXPECT_TRUE(sharper);
}

TEST(ChartsTest, MonthAbbreviations) {
  const char* expected[] = {"Янв", "Фев", "Мар", "Апр", "Май", "Июн",
                            "Июл", "Авг", "Сен", "Окт", "Ноя", "Дек"};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(Month_Abbr[m].size(), 3u) << m;  // one byte a letter in 1251
    EXPECT_EQ(FromCp1251(Month_Abbr[m]), expected[m - 1]);
  }
  EXPECT_EQ(Month_Abbr[1], "\xDF\xED\xE2");
}

TEST(ChartsTest, Frame) {
  ChartPainter c;
  c.Brush.Color = kChartRed;  // an earlier drawing, wiped by the frame
  c.Rectangle(0, 0, 720, 218);
  Chart_Frame(c);
  ASSERT_EQ(c.Width(), 720);
  ASSERT_EQ(c.Height(), 218);
  for (int y = 0; y < 218; ++y)
    for (int x = 0; x < 720; ++x) {
      QRgb want = kChartWhite;
      if (x == 0 || x == 719 || y == 0 || y == 217) want = kChartSilver;
      if (y == 109 && x >= 1 && x <= 718) want = kChartBlack;
      if (IsGridColumn(x) || x == 361) want = kChartGrey;  // over axis and border
      ASSERT_EQ(c.Pixel(x, y), want) << x << "," << y;
    }
  // The start of the second year is two pixels wide, the others one.
  EXPECT_EQ(c.Pixel(360, 50), kChartWhite);
  EXPECT_EQ(c.Pixel(361, 50), kChartGrey);
  EXPECT_EQ(c.Pixel(362, 50), kChartGrey);
  EXPECT_EQ(c.Pixel(363, 50), kChartWhite);
  EXPECT_EQ(c.Pixel(32, 50), kChartWhite);
  EXPECT_EQ(c.Pixel(691, 50), kChartGrey);
  EXPECT_EQ(c.Pixel(692, 50), kChartWhite);
}

TEST(ChartsTest, Bars) {
  ChartPainter c;
  Chart_Frame(c);
  const ChartPainter frame = c;
  Chart_Bar(c, 10, 70);   // x = 21
  Chart_Bar(c, 11, -70);  // x = 23
  Chart_Bar(c, 12, 0);    // x = 25
  Chart_Bar(c, 13, 1);    // x = 27
  Chart_Bar(c, 14, -1);   // x = 29
  Chart_Bar(c, 15, 55);   // x = 31, on a grid line
  Chart_Bar(c, 360, 70);  // x = 721, outside
  for (int y = 0; y < 218; ++y) {
    EXPECT_EQ(c.Pixel(21, y), y <= 109 ? kChartGreen : frame.Pixel(21, y)) << y;
    EXPECT_EQ(c.Pixel(23, y), y >= 109 ? kChartRed : frame.Pixel(23, y)) << y;
    EXPECT_EQ(c.Pixel(25, y), frame.Pixel(25, y)) << y;
    EXPECT_EQ(c.Pixel(27, y), y == 108 || y == 109 ? kChartGreen : frame.Pixel(27, y)) << y;
    EXPECT_EQ(c.Pixel(29, y), y == 109 || y == 110 ? kChartRed : frame.Pixel(29, y)) << y;
    EXPECT_EQ(c.Pixel(31, y), y <= 109 ? kChartGreen : kChartGrey) << y;  // +55 reaches row 0
  }
  EXPECT_EQ(c.Pixel(25, 109), kChartBlack);
  // Nothing else changed.
  int changed = 0;
  for (int y = 0; y < 218; ++y)
    for (int x = 0; x < 720; ++x) changed += c.Pixel(x, y) != frame.Pixel(x, y);
  EXPECT_EQ(changed, 110 + 109 + 2 + 2 + 110);
}

TEST(ChartsTest, LabelsStripsAndGap) {
  EnsureGui();
  ChartPainter c;
  Chart_Frame(c);
  Chart_Bar(c, 180, -70);  // x = 361, in the gap between the strips
  Chart_Bar(c, 11, -70);   // x = 23, its end covered by the left strip
  Chart_Bar(c, 2, -70);    // x = 5, under the box of "Янв"
  Chart_Labels(c, PointsOfYears(1980));

  // The strips: light grey but for their year texts.
  for (int y = 198; y < 218; ++y) {
    EXPECT_EQ(c.Pixel(0, y), kChartSilver) << y;
    EXPECT_EQ(c.Pixel(1, y), kChartLightGrey) << y;
    EXPECT_EQ(c.Pixel(23, y), kChartLightGrey) << y;
    EXPECT_EQ(c.Pixel(360, y), kChartLightGrey) << y;
    EXPECT_EQ(c.Pixel(361, y), kChartRed) << y;
    EXPECT_EQ(c.Pixel(362, y), kChartGrey) << y;
    EXPECT_EQ(c.Pixel(363, y), kChartLightGrey) << y;
    EXPECT_EQ(c.Pixel(719, y), kChartLightGrey) << y;
  }
  EXPECT_EQ(c.Pixel(23, 197), kChartRed);
  EXPECT_EQ(c.Pixel(361, 197), kChartRed);
  EXPECT_EQ(c.Pixel(31, 197), kChartGrey);

  // Years in teal on light grey at (164, 200) and (524, 200).
  EXPECT_EQ(CountColour(c, 150, 198, 164, 218, kChartTeal), 0);
  EXPECT_GT(CountOther(c, 164, 200, 210, 218, {kChartLightGrey}), 20);
  EXPECT_GT(CountOther(c, 524, 200, 570, 218, {kChartLightGrey}), 20);
  EXPECT_EQ(CountColour(c, 0, 0, 720, 198, kChartTeal), 0);
  // The label is the year of entry 50 / 200: drawn alone it gives the same cell.
  ChartPainter ref;
  ref.Brush.Color = kChartLightGrey;
  ref.Pen.Color = kChartLightGrey;
  ref.Font = CanvasFont{"Arial", 10, true, kChartTeal};
  ref.Rectangle(0, 0, 720, 218);
  ref.TextOut(164, 200, "1980");
  ref.TextOut(524, 200, "1981");
  for (int y = 200; y < 218; ++y)
    for (int x : {170, 175, 180, 185, 190, 530, 535, 540, 545, 550})
      EXPECT_EQ(c.Pixel(x, y), ref.Pixel(x, y)) << x << "," << y;

  // Month names in grey on white boxes at (4 + 30 (F - 1), 180), over the
  // grid and the bars.
  for (int F = 1; F <= 12; ++F)
    for (int x0 : {4 + 30 * (F - 1), 364 + 30 * (F - 1)}) {
      EXPECT_EQ(c.Pixel(x0, 180), kChartWhite) << x0;
      EXPECT_GT(CountOther(c, x0, 180, x0 + 22, 191, {kChartWhite}), 10) << x0;
    }
  EXPECT_NE(c.Pixel(5, 185), kChartRed);
  EXPECT_EQ(c.Pixel(5, 179), kChartRed);

  // The font and brush stay as the last drawing left them.
  EXPECT_EQ(c.Font, (CanvasFont{"Arial", 8, false, kChartGrey}));
  Chart_Frame(c);
  EXPECT_EQ(c.Font, (CanvasFont{"Arial", 8, false, kChartGrey}));
  EXPECT_EQ(c.Pen.Color, kChartGrey);
  EXPECT_EQ(c.Brush.Color, kChartWhite);
}

TEST(ScanLinesTest, ExampleOfThePointOn3January1980) {
  const auto sums = ScanSumLines(57, -43, 57);
  EXPECT_EQ(sums[0], "  Sum_Plus2 =   57");
  EXPECT_EQ(sums[1], " Sum_Minus2 =  -43");
  EXPECT_EQ(sums[2], "   Procent2 =   57");
  EXPECT_EQ(ScanPointLine(1, {3, 1, 1980, 9}), "    1    3  1 1980   9");

  compat_test::TempMainDir dir;
  {
    TextWriter w(ScanFileName(1));
    WriteSumLines(w, 57, -43, 57);
    WritePointLine(w, 1, {3, 1, 1980, 9});
    w.Close();
  }
  EXPECT_EQ(compat_test::ReadBytes(dir.path() / "Html" / "Scan1.txt"),
            "  Sum_Plus2 =   57\r\n Sum_Minus2 =  -43\r\n   Procent2 =   57\r\n"
            "    1    3  1 1980   9\r\n");
}

TEST(ScanLinesTest, FieldWidths) {
  EXPECT_EQ(ScanSumLines(0, -120, 0)[1], " Sum_Minus2 = -120");  // exactly fills
  EXPECT_EQ(ScanSumLines(0, -5, 0)[1], " Sum_Minus2 =   -5");
  EXPECT_EQ(ScanSumLines(12345, 0, 100)[0], "  Sum_Plus2 = 12345");  // written whole
  EXPECT_EQ(ScanSumLines(0, 0, 100)[2], "   Procent2 =  100");
  EXPECT_EQ(ScanPointLine(360, {22, 12, 1983, -70}), "  360   22 12 1983 -70");
  EXPECT_EQ(ScanPointLine(7, {1, 1, -2000, -5}), "    7    1  1-2000  -5");
  EXPECT_EQ(ScanPointLine(123456, {31, 12, 10000, 0}), "123456   31 1210000   0");
}
