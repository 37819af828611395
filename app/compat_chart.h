// A chart of the compatibility tab as more than a picture: the day under
// the pointer as a tooltip, a cursor that the keyboard walks over the days,
// the cursor's day as the chart's accessible value, and a scale of levels
// beside the chart. The picture itself stays what the run drew.
#pragma once

#include <QPointer>
#include <QString>
#include <vector>

#include "compat/scan.h"
#include "widgets.h"

namespace kvapp {

class TCompatChart : public TImage {
  Q_OBJECT
  // What the accessible interface of a chart reads (accessible.h).
  Q_PROPERTY(QString valueText READ ValueText)
  Q_PROPERTY(QVariant level READ CursorLevel)
 public:
  explicit TCompatChart(QWidget* parent = nullptr);

  // The points the picture shows: entries 1..count of the table.
  void SetPoints(const kv::TScanPoints& points, int count);
  int Count() const { return static_cast<int>(points_.size()); }
  // The point whose bar stands at or just right of chart column x; 0 where
  // no bar is drawn yet.
  int PointAt(int x) const;
  // "12 марта 1980: +37" of point k (1..Count()); empty for another k.
  QString DayText(int k) const;

  // The keyboard's point, 0 for none; moved to k clamped to the points.
  int Cursor() const { return cursor_; }
  void SetCursor(int k);
  QString ValueText() const { return DayText(cursor_); }
  QVariant CursorLevel() const;

 signals:
  // The cursor moved: the new value, as assistive technologies are told it.
  void valueTextChanged(const QString& text);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  // The point nearest the same day months later (earlier when negative),
  // within the target's month where the every-second-day points allow.
  int MonthsAway(int k, int months) const;
  std::vector<kv::Scan_Point> points_;  // point k at k - 1
  int cursor_ = 0;
};

// The levels beside a chart panel, at the rows of the chart's bars: from
// +50 at the top to −40 above the year strip. Shown and hidden with the panel.
class TCompatScale : public QWidget {
  Q_OBJECT
 public:
  // Left of panel, whose chart's top row is one pixel below the panel's.
  explicit TCompatScale(QWidget* panel);

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QPointer<QWidget> panel_;
};

}  // namespace kvapp
