#include "args.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QDate>

#include "core/calendar.h"
#include "tr.h"

namespace kvcli {

namespace {
bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::int64_t Number(std::string_view s, std::string_view what, std::string_view whole) {
  bool neg = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    neg = s[0] == '-';
    s.remove_prefix(1);
  }
  if (!AllDigits(s) || s.size() > 9)
    throw UsageError(Kvlove::tr("%1 is not a number: '%2'", {what, whole}));
  std::int64_t v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return neg ? -v : v;
}

// [+-]digits[.digits] or [+-].digits, read as a double.
std::optional<double> Decimal(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  const std::string_view digits = s.substr(!s.empty() && (s[0] == '+' || s[0] == '-'));
  const std::size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  const std::string_view part = point == std::string_view::npos ? "" : digits.substr(point + 1);
  if ((whole.empty() && part.empty()) || (!whole.empty() && !AllDigits(whole)) ||
      (point != std::string_view::npos && !AllDigits(part)) || digits.size() > 20)
    return std::nullopt;
  double v = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), v);
  return s[0] == '-' ? -v : v;
}

}  // namespace

Coordinates ParseCoordinates(std::string_view s) {
  const std::size_t comma = s.find(',');
  const auto lat = Decimal(s.substr(0, comma));
  const auto lon = comma == std::string_view::npos ? std::nullopt : Decimal(s.substr(comma + 1));
  if (!lat || !lon)
    throw UsageError(
        Kvlove::tr("malformed place '%1' (expected LAT,LON in degrees, such as 55.75,37.62)", {s}));
  if (std::fabs(*lat) > 90)
    throw UsageError(Kvlove::tr("latitude out of range -90..90: '%1'", {s}));
  if (std::fabs(*lon) > 180)
    throw UsageError(Kvlove::tr("longitude out of range -180..180: '%1'", {s}));
  return {*lat, *lon};
}

void CheckRange(std::int64_t v, kv::InputRange range, std::string_view what, std::string_view arg) {
  if (v < range.lo || v > range.hi)
    throw UsageError(Kvlove::tr("%1 out of range %2..%3: '%4'",
                                {what, std::to_string(range.lo), std::to_string(range.hi), arg}));
}

namespace {

// DD.MM.YYYY of the program's calendar, a historical year.
std::string DateText(std::int32_t day, std::int32_t month, std::int32_t year) {
  return kv::TwoDigits(day) + "." + kv::TwoDigits(month) + "." + std::to_string(year);
}

// The day a date counts on to, as the window reckons it (at noon: the
// integer day number).
kv::CalendarDate CountedOn(const Date& d) {
  return kv::DayNumberToDate(kv::DayNumber(d.day, d.month, d.year, 12, 0, 0));
}

// The date the calendar unit gives back for its own day number: a date of
// the calendar, or a refusal that says why it is none and where lenient
// reading would take it.
void CheckDateExists(const Date& d, std::string_view what, std::string_view s) {
  const kv::CalendarDate c = CountedOn(d);
  const std::int32_t year = kv::HistoricalYear(c.Year);
  if (c.Day == d.day && c.Month == d.month && year == d.year) return;
  const std::string lenient = DateText(c.Day, c.Month, year);
  if (d.year == 0)
    throw UsageError(
        Kvlove::tr("%1 '%2' does not exist: there is no year 0 (-1 is 1 BC); "
                   "--lenient-dates takes it as %3",
                   {what, s, lenient}));
  if (d.year == 1582 && d.month == 10)
    throw UsageError(
        Kvlove::tr("%1 '%2' does not exist: 04.10.1582 (Julian) was followed by "
                   "15.10.1582 (Gregorian); --lenient-dates reads it as a Julian "
                   "date, %3",
                   {what, s, lenient}));
  const std::int32_t next = d.month == 12 ? (d.year == -1 ? 1 : d.year + 1) : d.year;
  const auto days = static_cast<std::int32_t>(kv::DayNumber(1, d.month % 12 + 1, next, 12, 0, 0) -
                                              kv::DayNumber(1, d.month, d.year, 12, 0, 0));
  throw UsageError(Kvlove::tr(
      "%1 '%2' does not exist: month %3 of %4 has %5 days; "
      "--lenient-dates counts on to %6",
      {what, s, kv::TwoDigits(d.month), std::to_string(d.year), std::to_string(days), lenient}));
}

// YYYY-MM-DD: proleptic Gregorian, astronomical years, at least four digits.
Date ParseIsoDate(std::string_view s, std::string_view what, bool lenient) {
  const bool negative = !s.empty() && s[0] == '-';
  const std::string_view digits = s.substr(!s.empty() && (s[0] == '-' || s[0] == '+'));
  const std::size_t dash = digits.find('-');
  // The shape first: only then are the parts' places inside the text.
  const bool shaped =
      dash != std::string_view::npos && digits.size() == dash + 6 && digits[dash + 3] == '-';
  const std::string_view y = shaped ? digits.substr(0, dash) : "";
  const std::string_view m = shaped ? digits.substr(dash + 1, 2) : "";
  const std::string_view d = shaped ? digits.substr(dash + 4) : "";
  if (!shaped || !AllDigits(y) || y.size() < 4 || y.size() > 5 || !AllDigits(m) || !AllDigits(d))
    throw UsageError(
        Kvlove::tr("malformed %1 '%2' (expected DD.MM.YYYY or YYYY-MM-DD)", {what, s}));
  const std::int64_t yv = Number(y, Kvlove::tr("year"), s) * (negative ? -1 : 1);
  const std::int64_t mv = Number(m, Kvlove::tr("month"), s), dv = Number(d, Kvlove::tr("day"), s);
  // The program's day count starts on -4713-11-24: its calendar knows no earlier day.
  CheckRange(yv, {-4712, 99999}, Kvlove::tr("year"), s);
  CheckRange(dv, kv::kDayInput, Kvlove::tr("day"), s);
  CheckRange(mv, kv::kMonthInput, Kvlove::tr("month"), s);
  // QDate counts historical years: its -1 is astronomical 0.
  const int qyear = static_cast<int>(yv <= 0 ? yv - 1 : yv);
  const int day = static_cast<int>(dv), month = static_cast<int>(mv);
  if (!lenient && !QDate::isValid(qyear, month, day)) {
    const QDate on = QDate(qyear, month, 1).addDays(day - 1);
    const int year = on.year() < 0 ? on.year() + 1 : on.year();
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d", year < 0 ? "-" : "", std::abs(year),
                  on.month(), on.day());
    throw UsageError(
        Kvlove::tr("%1 '%2' does not exist: month %3 of %4 has %5 days; "
                   "--lenient-dates counts on to %6",
                   {what, s, m, s.substr(0, s.size() - 6),
                    std::to_string(QDate(qyear, month, 1).daysInMonth()), text}));
  }
  // The day number of that day at noon, and its date in the program's calendar.
  const qint64 julianDay = QDate(qyear, month, 1).toJulianDay() + day - 1;
  const kv::CalendarDate c = kv::DayNumberToDate(static_cast<double>(julianDay - 2415020));
  return {c.Day, c.Month, kv::HistoricalYear(c.Year)};
}

}  // namespace

Date ParseDate(std::string_view s, std::string_view what, bool lenient) {
  const std::string date = Kvlove::tr("date");
  if (what.empty()) what = date;
  const auto p1 = s.find('.');
  const auto p2 = p1 == std::string_view::npos ? p1 : s.find('.', p1 + 1);
  if (p1 == std::string_view::npos && s.find('-', 1) != std::string_view::npos)
    return ParseIsoDate(s, what, lenient);
  const std::string malformed =
      Kvlove::tr("malformed %1 '%2' (expected DD.MM.YYYY or YYYY-MM-DD)", {what, s});
  if (p1 == std::string_view::npos || p2 == std::string_view::npos) throw UsageError(malformed);
  const auto d = s.substr(0, p1), m = s.substr(p1 + 1, p2 - p1 - 1), y = s.substr(p2 + 1);
  if (!AllDigits(d) || d.size() > 2 || !AllDigits(m) || m.size() > 2 || y.empty())
    throw UsageError(malformed);
  Date r;
  const auto dv = Number(d, Kvlove::tr("day"), s), mv = Number(m, Kvlove::tr("month"), s),
             yv = Number(y, Kvlove::tr("year"), s);
  CheckRange(dv, kv::kDayInput, Kvlove::tr("day"), s);
  CheckRange(mv, kv::kMonthInput, Kvlove::tr("month"), s);
  CheckRange(yv, {-99999, 99999}, Kvlove::tr("year"), s);
  r.day = static_cast<std::int32_t>(dv);
  r.month = static_cast<std::int32_t>(mv);
  r.year = static_cast<std::int32_t>(yv);
  if (!lenient) CheckDateExists(r, what, s);
  return r;
}

Time ParseTime(std::string_view s) {
  std::string_view parts[3];
  int n = 0;
  std::size_t start = 0;
  while (n < 3) {
    const auto p = s.find(':', start);
    parts[n++] = s.substr(start, p == std::string_view::npos ? p : p - start);
    if (p == std::string_view::npos) break;
    start = p + 1;
    if (n == 3) throw UsageError(Kvlove::tr("malformed time '%1' (expected HH:MM[:SS])", {s}));
  }
  if (n < 2) throw UsageError(Kvlove::tr("malformed time '%1' (expected HH:MM[:SS])", {s}));
  for (int i = 0; i < n; ++i)
    if (!AllDigits(parts[i]) || parts[i].size() > 2)
      throw UsageError(Kvlove::tr("malformed time '%1' (expected HH:MM[:SS])", {s}));
  Time t;
  const std::string hour = Kvlove::tr("hour"), minute = Kvlove::tr("minute"),
                    second = Kvlove::tr("second");
  const auto h = Number(parts[0], hour, s), m = Number(parts[1], minute, s);
  const auto sec = n == 3 ? Number(parts[2], second, s) : 0;
  CheckRange(h, kv::kHourInput, hour, s);
  CheckRange(m, kv::kMinuteInput, minute, s);
  CheckRange(sec, {0, 59}, second, s);
  t.hour = static_cast<std::int32_t>(h);
  t.minute = static_cast<std::int32_t>(m);
  t.second = static_cast<std::int32_t>(sec);
  return t;
}

std::int32_t ParseInt(std::string_view s, kv::InputRange range, std::string_view what) {
  const auto v = Number(s, what, s);
  CheckRange(v, range, what, s);
  return static_cast<std::int32_t>(v);
}

std::string FormatGeneral(double v, int significant) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, significant);
  return std::string(buf, r.ptr);
}

std::string FormatFixed(double v, int decimals) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

bool Context::HasFlag(std::string_view name) const { return flags.count(std::string(name)) > 0; }

std::string Context::FlagValue(std::string_view name) const {
  auto it = flags.find(std::string(name));
  return it == flags.end() ? std::string() : it->second;
}

Date ReadDate(const Context& ctx, std::string_view s, std::string_view what) {
  return ParseDate(s, what, ctx.HasFlag("--lenient-dates"));
}

}  // namespace kvcli
