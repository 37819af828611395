#include "args.h"

#include <charconv>
#include <cmath>
#include <optional>

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
    throw UsageError(std::string(what) + " is not a number: '" + std::string(whole) + "'");
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
    throw UsageError("malformed place '" + std::string(s) +
                     "' (expected LAT,LON in degrees, such as 55.75,37.62)");
  if (std::fabs(*lat) > 90)
    throw UsageError("latitude out of range -90..90: '" + std::string(s) + "'");
  if (std::fabs(*lon) > 180)
    throw UsageError("longitude out of range -180..180: '" + std::string(s) + "'");
  return {*lat, *lon};
}

void CheckRange(std::int64_t v, kv::InputRange range, std::string_view what, std::string_view arg) {
  if (v < range.lo || v > range.hi)
    throw UsageError(std::string(what) + " out of range " + std::to_string(range.lo) + ".." +
                     std::to_string(range.hi) + ": '" + std::string(arg) + "'");
}

Date ParseDate(std::string_view s) {
  const auto p1 = s.find('.');
  const auto p2 = p1 == std::string_view::npos ? p1 : s.find('.', p1 + 1);
  if (p1 == std::string_view::npos || p2 == std::string_view::npos)
    throw UsageError("malformed date '" + std::string(s) + "' (expected DD.MM.YYYY)");
  const auto d = s.substr(0, p1), m = s.substr(p1 + 1, p2 - p1 - 1), y = s.substr(p2 + 1);
  if (!AllDigits(d) || d.size() > 2 || !AllDigits(m) || m.size() > 2 || y.empty())
    throw UsageError("malformed date '" + std::string(s) + "' (expected DD.MM.YYYY)");
  Date r;
  const auto dv = Number(d, "day", s), mv = Number(m, "month", s), yv = Number(y, "year", s);
  CheckRange(dv, kv::kDayInput, "day", s);
  CheckRange(mv, kv::kMonthInput, "month", s);
  CheckRange(yv, {-99999, 99999}, "year", s);
  r.day = static_cast<std::int32_t>(dv);
  r.month = static_cast<std::int32_t>(mv);
  r.year = static_cast<std::int32_t>(yv);
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
    if (n == 3) throw UsageError("malformed time '" + std::string(s) + "' (expected HH:MM[:SS])");
  }
  if (n < 2) throw UsageError("malformed time '" + std::string(s) + "' (expected HH:MM[:SS])");
  for (int i = 0; i < n; ++i)
    if (!AllDigits(parts[i]) || parts[i].size() > 2)
      throw UsageError("malformed time '" + std::string(s) + "' (expected HH:MM[:SS])");
  Time t;
  const auto h = Number(parts[0], "hour", s), m = Number(parts[1], "minute", s);
  const auto sec = n == 3 ? Number(parts[2], "second", s) : 0;
  CheckRange(h, kv::kHourInput, "hour", s);
  CheckRange(m, kv::kMinuteInput, "minute", s);
  CheckRange(sec, {0, 59}, "second", s);
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

}  // namespace kvcli
