// The compatibility scan: every second day of four years rated as the birth
// date of a partner against a natal chart, in two passes of two years each.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "matrix.h"
#include "core/table.h"
#include "core/textfile.h"

namespace kv {

class ChartCanvas;

// Weight of an aspect between natal body i and partner body j, [i][j].
using TWeightTable = Table<Table<std::int8_t, 10>, 10>;

// The five weight tables in the order of Aspect_Codes: conjunction,
// sextile, square, trine, opposition.
inline constexpr Table<std::int32_t, 5> Aspect_Codes{
    {kConjunction, kSextile, kSquare, kTrine, kOpposition}};

// clang-format off
inline constexpr Table<TWeightTable, 5> Aspect_Weights{{{
  // Conjunction
  {{{{{ 5, 0, 3, 5, 3, 5,-2,-2,-2,-2}},
    {{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{ 3, 0, 3, 4,-3, 4,-2,-2,-2,-3}},
    {{ 5, 0, 4, 5, 5, 5, 2, 3, 3, 3}},
    {{ 3, 0,-3, 5, 3, 5,-4,-2,-2,-2}},
    {{ 5, 0, 4, 5, 5, 5,-4,-1, 3,-2}},
    {{-2, 0,-2, 2,-4,-4,-2,-3,-1,-2}},
    {{-2, 0,-2, 3,-2,-1,-3, 0, 0, 0}},
    {{-2, 0,-2, 3,-2, 3,-1, 0, 0, 0}},
    {{-2, 0,-3, 3,-2,-2,-2, 0, 0, 0}}}}},
  // Sextile
  {{{{{ 5, 0, 3, 5, 3, 5,-1, 1,-1,-1}},
    {{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{ 3, 0, 3, 3, 3, 4, 2, 2, 2, 2}},
    {{ 5, 0, 3, 5, 5, 5, 3, 3, 3, 3}},
    {{ 3, 0, 3, 5, 3, 5, 3, 3, 3, 2}},
    {{ 5, 0, 4, 5, 5, 5, 4, 4, 3, 4}},
    {{-1, 0, 2, 3, 3, 4, 2, 2, 2, 2}},
    {{ 1, 0, 2, 3, 3, 4, 2, 2, 2, 2}},
    {{-1, 0, 2, 3, 3, 3, 2, 2, 2, 2}},
    {{-1, 0, 2, 3, 2, 4, 2, 2, 2, 2}}}}},
  // Square
  {{{{{-4, 0,-2,-3,-4,-1,-4,-4,-5,-5}},
    {{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{-2, 0,-2,-2,-3,-2,-2,-2,-2,-3}},
    {{-3, 0,-2,-3,-4,-2,-2,-4,-4,-4}},
    {{-4, 0,-3,-4,-5,-1,-4,-4,-4,-4}},
    {{-1, 0,-2,-2,-1,-3,-4,-2,-2,-2}},
    {{-4, 0,-2,-2,-4,-4,-4,-4,-4,-4}},
    {{-4, 0,-2,-4,-4,-2,-4,-4,-4,-4}},
    {{-5, 0,-2,-4,-4,-2,-4,-4,-4,-4}},
    {{-5, 0,-3,-4,-4,-2,-4,-4,-4,-4}}}}},
  // Trine
  {{{{{ 5, 0, 4, 5, 4, 5, 1, 1,-1,-1}},
    {{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{ 4, 0, 4, 3, 3, 3, 3, 3, 3, 3}},
    {{ 5, 0, 3, 5, 5, 5, 3, 4, 4, 4}},
    {{ 4, 0, 3, 5, 3, 5, 3, 3, 3, 2}},
    {{ 5, 0, 3, 5, 5, 5, 4, 4, 4, 4}},
    {{ 1, 0, 3, 3, 3, 4, 3, 3, 3, 3}},
    {{ 1, 0, 3, 4, 3, 4, 3, 3, 3, 3}},
    {{-1, 0, 3, 4, 3, 4, 3, 3, 3, 3}},
    {{-1, 0, 3, 4, 2, 4, 3, 3, 3, 3}}}}},
  // Opposition
  {{{{{-4, 0,-2,-3,-4,-1,-4,-4,-5,-5}},
    {{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{-2, 0,-2,-2,-3,-2,-2,-2,-2,-3}},
    {{-3, 0,-2,-3,-4,-2,-2,-4,-4,-4}},
    {{-4, 0,-3,-4,-5,-3,-4,-4,-4,-4}},
    {{-1, 0,-2,-2,-1, 0,-4,-2,-2,-2}},
    {{-4, 0,-2,-2,-4,-4,-4,-4,-4,-4}},
    {{-4, 0,-2,-4,-4,-2,-4,-4,-4,-4}},
    {{-5, 0,-2,-4,-4,-2,-4,-4,-4,-4}},
    {{-5, 0,-3,-4,-4,-2,-4,-4,-4,-4}}}}},
}}};
// clang-format on

// Weight that the aspect code of natal body i and partner body j carries;
// 0 for no aspect.
std::int32_t AspectWeight(std::int32_t code, int i, int j);

struct Scan_Point {
  std::int32_t Day = 0, Month = 0, Year = 0;  // the partner date
  std::int32_t Level = 0;                     // -70..70
  bool operator==(const Scan_Point&) const = default;
};

using TScanPoints = Table<Scan_Point, 1000>;

// Points 1..360 of the last run's passes; the rest stay zero.
extern TScanPoints Scan1_Points;
extern TScanPoints Scan2_Points;

inline constexpr int kScanPoints = 360;

// The sums of the weights that apply: Sum_Plus2 >= 0, Sum_Minus2 <= 0.
void ScoreMatrix(const TAspectMatrix& m, std::int32_t& Sum_Plus2, std::int32_t& Sum_Minus2);

// Share of the positive sum in the whole, 0..100, from 80-bit quotient and
// product truncated; 50 when no weight applies at all.
std::int32_t Procent2Of(std::int32_t Sum_Plus2, std::int32_t Sum_Minus2);

// (Procent2 - 50) * 1.4 in 80-bit arithmetic, truncated: -70..70.
std::int32_t LevelOf(std::int32_t Procent2);

// The four spin edits of the compatibility tab.
struct CompatInputs {
  std::int32_t Day = 15, Month = 6, Year = 1985;  // birth date
  std::int32_t StartYear = 1980;                  // first year of pass 1
};

// What the run needs from whoever shows it: the window or kvlove.
class CompatHost {
 public:
  virtual ~CompatHost() = default;
  // The four spin edits, read at the start of each pass; may raise
  // ConvertError for a text that is not an integer.
  virtual CompatInputs ReadInputs() = 0;
  // Before pass 1: show the upper panel, hide the lower one.
  // Before pass 2: show the lower panel.
  virtual void ShowPanels(int pass) = 0;
  // The chart of a pass, 1 upper, 2 lower; asked for as the pass begins and
  // drawn on until it ends.
  virtual ChartCanvas& Canvas(int pass) = 0;
  // Something was drawn on the chart of the pass: the frame, a bar or the labels.
  virtual void Drawn(int pass) = 0;
};

// The compatibility run in steps, so that a window can show it bar by bar
// from its event loop: the start of a pass (panels, inputs, scan file,
// frame), one step per point (its chart, sums, scan lines and bar), the end
// of a pass (labels, scan file put in place); pass 1, then pass 2. The scan
// files are MainDir + "Html/Scan1.txt" and "Html/Scan2.txt".
//
// An error (ConvertError, FileError) leaves Step with what was drawn kept
// and ends the run. A run that ends before a pass is complete, by an error
// or by being destroyed, leaves that pass's previous scan file.
class CompatRun {
 public:
  explicit CompatRun(CompatHost& host) : host_(host) {}
  CompatRun(const CompatRun&) = delete;
  CompatRun& operator=(const CompatRun&) = delete;

  // Does the next step; false when none is left. A run that is over does nothing.
  bool Step();
  bool Done() const { return stage_ == Stage::Done; }
  // The points of a pass whose dates and levels this run has stored: 0
  // before the pass begins, 360 once it is through.
  int PointsDone(int pass) const { return pass < pass_ ? kScanPoints : pass > pass_ ? 0 : k_; }

 private:
  enum class Stage { Begin, Point, End, Done };
  void BeginPass();
  void NextPoint();
  void EndPass();

  CompatHost& host_;
  Stage stage_ = Stage::Begin;
  int pass_ = 1;
  int k_ = 0;  // the last point done
  double base_ = 0;
  ChartCanvas* canvas_ = nullptr;
  std::optional<TextWriter> scan_;
};

// The most and the least compatible partner dates of one calendar year.
struct TYearExtremes {
  std::int32_t Year = 0;
  std::vector<Scan_Point> Highest;  // highest level first
  std::vector<Scan_Point> Lowest;   // lowest level first
};

// For each calendar year among the points, in ascending order, its count
// highest and count lowest points (fewer when the year has fewer); of equal
// levels the earlier date comes first.
std::vector<TYearExtremes> ExtremeDays(const std::vector<Scan_Point>& points,
                                       std::size_t count = 10);

// Points 1..n1 of Scan1_Points and 1..n2 of Scan2_Points, in order.
std::vector<Scan_Point> ScannedPoints(int n1 = kScanPoints, int n2 = kScanPoints);

// The pause after each step of a run that a window shows: its bars appear
// one after another, and a pass of 360 points takes at least 3.6 s.
inline constexpr std::chrono::milliseconds kCompatPause{10};

// The whole run at once.
void RunCompatibility(CompatHost& host);

// The scan file of a pass: MainDir + "Html/Scan1.txt" or "Html/Scan2.txt".
std::string ScanFileName(int pass);

}  // namespace kv
