// The compatibility charts told as text: the day under the pointer, the
// keyboard's day as the accessible value, and each year's highest and lowest
// days in the list beside the charts, checked against kvlove's own output.
#include <nlohmann/json.hpp>

#include <QAccessible>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <tuple>

#include "app/accessibility.h"
#include "tests/cli/run.h"
#include "window_fixture.h"

namespace {

using ChartDaysTest = WindowTest;

QString Value(QObject* o) {
  return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Value);
}

TEST_F(ChartDaysTest, PointerKeysAndListTellTheDays) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  f.BitBtn10->click();
  ASSERT_TRUE(WaitForCompatRun());
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  ASSERT_EQ(f.Image3->Count(), 360);
  ASSERT_EQ(f.Image4->Count(), 360);
  const auto said = [](const kv::Scan_Point& p) { return kvapp::DaySentence(p); };

  // The pointer: each bar's column and the one left of it name its day.
  EXPECT_EQ(f.Image3->PointAt(0), 1);
  EXPECT_EQ(f.Image3->PointAt(3), 1);
  EXPECT_EQ(f.Image3->PointAt(4), 2);
  EXPECT_EQ(f.Image3->PointAt(719), 359);
  EXPECT_EQ(f.Image3->PointAt(-1), 0);
  const QPoint at(8, 60);  // the bar of point 4, 9 January 1982 on the lower chart
  QHelpEvent help(QEvent::ToolTip, at, f.Image4->mapToGlobal(at));
  QApplication::sendEvent(f.Image4, &help);
  EXPECT_EQ(QToolTip::text(), said(kv::Scan2_Points[4]));
  EXPECT_TRUE(QToolTip::text().startsWith(U("9 января 1982: "))) << QToolTip::text().toStdString();

  // The keyboard: the focused chart starts at its first day and walks them,
  // each step told to assistive technologies.
  QSignalSpy told(f.Image3, &kvapp::TCompatChart::valueTextChanged);
  f.Image3->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Image3->hasFocus(); }));
  EXPECT_EQ(Value(f.Image3), said(kv::Scan1_Points[1]));
  EXPECT_TRUE(Value(f.Image3).startsWith(U("3 января 1980: "))) << Value(f.Image3).toStdString();
  const qsizetype before = told.size();
  QTest::keyClick(f.Image3, Qt::Key_Right);
  EXPECT_EQ(Value(f.Image3), said(kv::Scan1_Points[2]));
  EXPECT_EQ(told.size(), before + 1);
  EXPECT_EQ(told.last().at(0).toString(), Value(f.Image3));
  QTest::keyClick(f.Image3, Qt::Key_Left);
  QTest::keyClick(f.Image3, Qt::Key_Left);  // no day before the first
  EXPECT_EQ(f.Image3->Cursor(), 1);
  EXPECT_EQ(told.size(), before + 2);
  QTest::keyClick(f.Image3, Qt::Key_PageDown);  // 3 February has no point: the day before
  EXPECT_TRUE(Value(f.Image3).startsWith(U("2 февраля 1980: "))) << Value(f.Image3).toStdString();
  QTest::keyClick(f.Image3, Qt::Key_PageDown);  // 2 March has no point: the day before
  EXPECT_TRUE(Value(f.Image3).startsWith(U("1 марта 1980: "))) << Value(f.Image3).toStdString();
  QTest::keyClick(f.Image3, Qt::Key_PageUp);  // 1 February neither, 31 January is not February
  EXPECT_TRUE(Value(f.Image3).startsWith(U("2 февраля 1980: "))) << Value(f.Image3).toStdString();
  QTest::keyClick(f.Image3, Qt::Key_End);
  EXPECT_EQ(Value(f.Image3), said(kv::Scan1_Points[360]));
  EXPECT_TRUE(Value(f.Image3).startsWith(U("21 декабря 1981: "))) << Value(f.Image3).toStdString();
  QTest::keyClick(f.Image3, Qt::Key_PageDown);  // nothing beyond the last day
  EXPECT_EQ(f.Image3->Cursor(), 360);
  QTest::keyClick(f.Image3, Qt::Key_Home);
  EXPECT_EQ(f.Image3->Cursor(), 1);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(f.Image3)->valueInterface()->currentValue(),
            QVariant(kv::Scan1_Points[1].Level));
  QTest::mouseClick(f.Image3, Qt::LeftButton, {}, QPoint(21, 100));  // the bar of point 10
  EXPECT_EQ(f.Image3->Cursor(), 10);
  // Tab goes on to the lower chart and then to the list.
  QTest::keyClick(f.Image3, Qt::Key_Tab);
  EXPECT_TRUE(f.Image4->hasFocus());
  QTest::keyClick(f.Image4, Qt::Key_Tab);
  EXPECT_TRUE(f.ListBox3->hasFocus());

  // The list against every point kvlove prints for the same inputs, ranked
  // here on their own: per year the 10 highest, then the 10 lowest.
  const RunResult r = RunKvlove("compat 15.06.1985 1980 --format json", MainDir());
  ASSERT_EQ(r.status, 0) << r.err;
  std::map<int, std::vector<kv::Scan_Point>> years;
  const nlohmann::json points = nlohmann::json::parse(r.out);
  for (const auto& p : points.at("points")) {
    const std::string date = p.at("date");
    const kv::Scan_Point point{std::stoi(date.substr(8, 2)), std::stoi(date.substr(5, 2)),
                               std::stoi(date.substr(0, 4)), p.at("level").get<int>()};
    years[point.Year].push_back(point);
  }
  ASSERT_EQ(years.size(), 4u);
  QStringList expected;
  for (auto& [year, days] : years) {
    const auto date = [](const kv::Scan_Point& p) { return std::tie(p.Year, p.Month, p.Day); };
    for (const int sign : {1, -1}) {
      std::sort(days.begin(), days.end(), [&](const kv::Scan_Point& a, const kv::Scan_Point& b) {
        return a.Level != b.Level ? sign * a.Level > sign * b.Level : date(a) < date(b);
      });
      expected << QString();  // the year's heading
      for (int k = 0; k < 10; ++k) expected << said(days[static_cast<std::size_t>(k)]);
    }
  }
  ASSERT_TRUE(f.ListBox3->isVisible());
  QStringList listed;
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f.ListBox3);
  for (int k = 0; k < list->childCount(); ++k) {
    const QString line = list->child(k)->text(QAccessible::Name);
    listed << (line.contains(U(" год, ")) ? QString() : line);
  }
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(f.ListBox3->item(0)->text(), U("1980 лучшие"));
  EXPECT_EQ(f.ListBox3->item(0)->data(Qt::AccessibleTextRole).toString(),
            U("1980 год, 10 дней с наивысшим уровнем"));
  // Each shown line fits the list's width.
  const QFontMetrics fm(f.ListBox3->font());
  for (int k = 0; k < f.ListBox3->count(); ++k)
    EXPECT_LE(fm.horizontalAdvance(f.ListBox3->item(k)->text()) + 8,
              f.ListBox3->viewport()->width())
        << f.ListBox3->item(k)->text().toStdString();

  // kvlove's own list of them is the window's.
  const RunResult x = RunKvlove("compat 15.06.1985 1980 --extremes --format json", MainDir());
  ASSERT_EQ(x.status, 0) << x.err;
  QStringList fromKvlove;
  int last = 0;
  const nlohmann::json extremes = nlohmann::json::parse(x.out);
  for (const auto& e : extremes.at("extremes")) {
    if (e.at("rank") == 1) fromKvlove << QString();
    const std::string date = e.at("date");
    fromKvlove << said({std::stoi(date.substr(8, 2)), std::stoi(date.substr(5, 2)),
                        std::stoi(date.substr(0, 4)), e.at("level").get<int>()});
    last = e.at("year");
  }
  EXPECT_EQ(last, 1983);
  EXPECT_EQ(fromKvlove, expected);
}

// The scale and the list come and go with the charts.
TEST_F(ChartDaysTest, ScaleAndListFollowThePanels) {
  auto& f = Start();
  EXPECT_FALSE(f.Scale3->isVisibleTo(f.TabSheet2));
  EXPECT_FALSE(f.ListBox3->isVisibleTo(f.TabSheet2));
  f.BitBtn10->click();
  ASSERT_TRUE(WaitForCompatRun());
  EXPECT_TRUE(f.Scale3->isVisibleTo(f.TabSheet2));
  EXPECT_TRUE(f.Scale4->isVisibleTo(f.TabSheet2));
  EXPECT_TRUE(f.ListBox3->isVisibleTo(f.TabSheet2));
  QTest::mouseClick(f.Image7, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_FALSE(f.Scale3->isVisibleTo(f.TabSheet2));
  EXPECT_FALSE(f.Scale4->isVisibleTo(f.TabSheet2));
  EXPECT_FALSE(f.ListBox3->isVisibleTo(f.TabSheet2));
}

}  // namespace
