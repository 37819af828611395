#include "today.h"

#include <QDateTime>
#include <cmath>

#include "core/calendar.h"

namespace kvapp {

double SystemNow() {
  static const double kUnixEpoch = kv::DayNumber(1, 1, 1970, 0, 0, 0);
  return kUnixEpoch + static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 86400000.0;
}

std::function<double()> Now = SystemNow;

std::optional<kv::LunarDayNow> TodaysLunarDay(const kv::LunarPlace& place) {
  try {
    return kv::LunarDayAt(Now(), place);
  } catch (const std::exception&) {
    return std::nullopt;  // the start page goes without; the lunar tab says why
  }
}

namespace {
// To the nearest minute: a moonrise is kept to the minute, and its day
// number read back may come out a second short of it.
QString Moment(double x, const kv::LocalClock& clock) {
  std::string date, time;
  kv::DayNumberToStrings(clock.Local(x) + 0.5 / 1440, date, time);  // to the nearest minute
  return QString::fromStdString(date + " " + time.substr(0, 5));
}
}  // namespace

QString TodayText(const kv::LunarDayNow& day, const kv::LunarPlace& place, const QString& where) {
  const kv::LocalClock& clock = place.Clock;
  std::string today, time;
  kv::DayNumberToStrings(clock.Local(Now()), today, time);
  return QString::fromUtf8(
             "Сегодня, %1: %2-й лунный день (%3)\n"
             "начался %4, кончится %5\n"
             "Луна: %6, освещено %7 %")
      .arg(QString::fromStdString(today))
      .arg(day.Day)
      .arg(where, Moment(day.Start, clock), Moment(day.End, clock),
           QString::fromUtf8(kv::PhaseWords(day.Phase)))
      .arg(std::lround(day.Illumination * 100));
}

}  // namespace kvapp
