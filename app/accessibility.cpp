#include "accessibility.h"

#include <QListWidget>

#include "compat/scan.h"
#include "core/calendar.h"
#include "core/text.h"
#include "degrees/degree_report.h"
#include "eclipse/eclipse_list.h"

namespace kvapp {

namespace {

QString FromCp1251(const std::string& s) { return QString::fromStdString(kv::FromCp1251(s)); }

// 9, 1, 2008 as it is said: "9 января 2008"; nothing for a month out of range.
QString SpokenDate(int day, int month, int year) {
  if (month < 1 || month > 12) return {};
  return QStringLiteral("%1 %2 %3").arg(day).arg(FromCp1251(kv::Month_Names_Gen[month])).arg(year);
}

// "09.01.2008" as it is said: "9 января 2008"; nothing for another text.
QString SpokenDate(const QString& date) {
  const QStringList parts = date.split(u'.');
  bool okDay = false, okMonth = false, okYear = false;
  const int day = parts.value(0).toInt(&okDay);
  const int month = parts.value(1).toInt(&okMonth);
  const int year = parts.value(2).toInt(&okYear);
  if (parts.size() != 3 || !okDay || !okMonth || !okYear) return {};
  return SpokenDate(day, month, year);
}

}  // namespace

void SpeakLines(QListWidget* list, std::function<QString(const QString&)> sentence) {
  QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list,
                   [list, sentence = std::move(sentence)](const QModelIndex&, int first, int last) {
                     for (int row = first; row <= last; ++row) {
                       QListWidgetItem* item = list->item(row);
                       if (!item) continue;
                       if (item->text().trimmed().isEmpty()) {
                         // Drawn as before: a blank line has nothing to grey.
                         item->setFlags(Qt::NoItemFlags);
                         continue;
                       }
                       const QString said = sentence(item->text());
                       if (!said.isEmpty()) item->setData(Qt::AccessibleTextRole, said);
                     }
                   });
}

QString LunarDaySentence(const QString& line) {
  const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
  bool ok = false;
  const int day = words.value(0).toInt(&ok);
  const QString date = SpokenDate(words.value(1));
  if (words.size() != 2 || !ok || date.isEmpty()) return {};
  return QStringLiteral("%1-й лунный день, %2").arg(day).arg(date);
}

QString EclipseSentence(const QString& line) {
  bool ok = false;
  const int i = line.section(u' ', 0, 0, QString::SectionSkipEmpty).toInt(&ok);
  if (!ok || i < kv::Eclipse_Table.first() || i > kv::Eclipse_Table.last()) return {};
  const kv::TEclipseData& r = kv::Eclipse_Table[i];
  // Only the line that this record makes: the table may hold another search.
  if (!r.Used || FromCp1251(kv::EclipseLine(i)) != line) return {};
  std::string date, time;
  kv::DayNumberToStrings(r.Instant, date, time);
  // The degree as the line gives it, with a prime for the minutes and a
  // blank before the sign.
  QString degree = FromCp1251(kv::FormatEclipseDegree(r.Lon)).trimmed();
  const qsizetype minutes = degree.indexOf(u'’');
  if (minutes >= 0) degree.replace(minutes, 1, QStringLiteral("′ "));
  // The list's short form of the annular-total type, said in full.
  const QString type =
      r.Kind == 4 ? QStringLiteral("кольцеобразно-полное") : FromCp1251(kv::Eclipse_Type[r.Kind]);
  return QStringLiteral("%1, %2 по Гринвичу, %3 %4, %5")
      .arg(SpokenDate(QString::fromStdString(date)), QString::fromStdString(time),
           FromCp1251(kv::Eclipse_Kind[r.Lunar ? 1 : 0]).toLower(), type, degree);
}

QString LevelText(int level) {
  if (level > 0) return QStringLiteral("+%1").arg(level);
  if (level < 0) return QStringLiteral("\u2212%1").arg(-static_cast<long long>(level));
  return QStringLiteral("0");
}

QString DaySentence(const kv::Scan_Point& p) {
  return SpokenDate(p.Day, p.Month, p.Year) + QStringLiteral(": ") + LevelText(p.Level);
}

}  // namespace kvapp
