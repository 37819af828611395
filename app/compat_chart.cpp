#include "compat_chart.h"

#include <QAccessible>
#include <QDate>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

#include "accessibility.h"
#include "accessible.h"
#include "compat/charts.h"

namespace kvapp {

namespace {
// The cursor: a blue band three pixels wide around the bar with a darker
// middle, a colour no bar, grid or strip has.
const QColor kCursorBand(0, 90, 255, 90);
const QColor kCursorLine(0, 40, 200);
}  // namespace

TCompatChart::TCompatChart(QWidget* parent) : TImage(parent) {
  setFocusPolicy(Qt::StrongFocus);
  ExposeAsChart(this);
}

void TCompatChart::SetPoints(const kv::TScanPoints& points, int count) {
  count = std::clamp(count, 0, kv::kScanPoints);
  points_.assign(points.begin(), points.begin() + count);
  if (cursor_ > count) cursor_ = count;
  update();
}

int TCompatChart::PointAt(int x) const {
  // Pixel 2K + 1 holds bar K; the pixel left of it goes with it too.
  const int k = std::max(1, x / 2);
  return x >= 0 && k <= Count() ? k : 0;
}

QString TCompatChart::DayText(int k) const {
  if (k < 1 || k > Count()) return {};
  return DaySentence(points_[static_cast<std::size_t>(k - 1)]);
}

QVariant TCompatChart::CursorLevel() const {
  if (cursor_ < 1 || cursor_ > Count()) return {};
  return points_[static_cast<std::size_t>(cursor_ - 1)].Level;
}

void TCompatChart::SetCursor(int k) {
  k = Count() ? std::clamp(k, 1, Count()) : 0;
  if (k == cursor_) return;
  cursor_ = k;
  update();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent told(this, CursorLevel());
    QAccessible::updateAccessibility(&told);
  }
  emit valueTextChanged(ValueText());
  // The same words for the eye, at the bar.
  if (k && hasFocus()) {
    const QPoint at(kv::ChartBarX(k), height() / 3);
    QToolTip::showText(mapToGlobal(at), ValueText(), this, QRect(at, QSize(1, 1)));
  }
}

int TCompatChart::MonthsAway(int k, int months) const {
  const kv::Scan_Point& p = points_[static_cast<std::size_t>(k - 1)];
  const QDate target = QDate(p.Year, p.Month, p.Day).addMonths(months);
  int best = k;
  long long bestDistance = -1;
  bool bestInMonth = false;
  for (int j = 1; j <= Count(); ++j) {
    const kv::Scan_Point& q = points_[static_cast<std::size_t>(j - 1)];
    const QDate d(q.Year, q.Month, q.Day);
    const long long distance = std::llabs(d.toJulianDay() - target.toJulianDay());
    const bool inMonth = d.year() == target.year() && d.month() == target.month();
    // The target's own month first, then the nearer day.
    if (bestDistance < 0 || (inMonth && !bestInMonth) ||
        (inMonth == bestInMonth && distance < bestDistance)) {
      best = j;
      bestDistance = distance;
      bestInMonth = inMonth;
    }
  }
  // Beyond the chart's ends: the end in that direction.
  if (!bestInMonth) return months > 0 ? std::max(best, k) : std::min(best, k);
  return best;
}

void TCompatChart::keyPressEvent(QKeyEvent* e) {
  if (!Count() || e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    TImage::keyPressEvent(e);
    return;
  }
  const int k = std::max(cursor_, 1);
  switch (e->key()) {
    case Qt::Key_Left: SetCursor(k - 1); break;
    case Qt::Key_Right: SetCursor(k + 1); break;
    case Qt::Key_Home: SetCursor(1); break;
    case Qt::Key_End: SetCursor(Count()); break;
    case Qt::Key_PageUp: SetCursor(MonthsAway(k, -1)); break;
    case Qt::Key_PageDown: SetCursor(MonthsAway(k, 1)); break;
    default: TImage::keyPressEvent(e); return;
  }
  e->accept();
}

// A click puts the cursor on the day clicked.
void TCompatChart::mousePressEvent(QMouseEvent* e) {
  TImage::mousePressEvent(e);
  if (const int k = PointAt(e->position().toPoint().x()); k && e->button() == Qt::LeftButton)
    SetCursor(k);
}

void TCompatChart::focusInEvent(QFocusEvent* e) {
  TImage::focusInEvent(e);
  // The first day when the chart is first reached, told with the focus.
  if (!cursor_ && Count()) SetCursor(1);
  update();
}

void TCompatChart::focusOutEvent(QFocusEvent* e) {
  TImage::focusOutEvent(e);
  update();
}

bool TCompatChart::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const int k = PointAt(help->pos().x());
    if (k)
      QToolTip::showText(help->globalPos(), DayText(k), this,
                         QRect(kv::ChartBarX(k) - 1, 0, 2, height()));
    else
      QToolTip::hideText();
    return true;
  }
  return TImage::event(e);
}

void TCompatChart::paintEvent(QPaintEvent* e) {
  TImage::paintEvent(e);
  if (!hasFocus() || !cursor_) return;
  QPainter p(this);
  const int x = kv::ChartBarX(cursor_);
  p.fillRect(QRect(x - 2, 0, 5, height()), kCursorBand);
  p.fillRect(QRect(x, 0, 1, height()), kCursorLine);
}

TCompatScale::TCompatScale(QWidget* panel) : QWidget(panel->parentWidget()), panel_(panel) {
  constexpr int kWidth = 34;
  setGeometry(panel->x() - kWidth - 2, panel->y() + 1, kWidth, kv::kChartHeight);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setVisible(!panel->isHidden());
  panel->installEventFilter(this);
}

bool TCompatScale::eventFilter(QObject* o, QEvent* e) {
  if (o == panel_ && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
    setVisible(e->type() == QEvent::ShowToParent);
  return false;
}

void TCompatScale::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(255, 255, 255, 225));
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(10);
  p.setFont(f);
  p.setPen(QColor(64, 64, 64));
  const int H = kv::kChartHeight;
  for (int level = 50; level >= -40; level -= 10) {
    const int y = kv::ChartLevelRow(H, level);
    p.drawLine(width() - 5, y, width() - 1, y);
    p.drawText(QRect(0, y - 7, width() - 7, 14), Qt::AlignRight | Qt::AlignVCenter,
               LevelText(level));
  }
}

}  // namespace kvapp
