#include "zone.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QString>
#include <QTimeZone>

#include <cctype>
#include <cmath>
#include <cstdint>

#include "calendar.h"

namespace kv {

namespace {

// Where Debian keeps the tz database.
constexpr const char* kZoneInfo = "/usr/share/zoneinfo/";

// Qt takes any unknown name for a rule of its own ("Moscow" as UTC), so
// only the zones of the database are let through: those Qt lists, and the
// links among its files (Europe/Kiev).
bool IsZoneOfTheDatabase(const std::string& id) {
  if (QTimeZone::isTimeZoneIdAvailable(QByteArray::fromStdString(id))) return true;
  bool letter = true;  // a component begins with a letter
  for (char c : id) {
    if (letter && !std::isalpha(static_cast<unsigned char>(c))) return false;
    letter = c == '/';
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/' && c != '_' && c != '-' &&
        c != '+')
      return false;
  }
  return !id.empty() && !letter &&
         QFileInfo(QString(kZoneInfo) + QString::fromStdString(id)).isFile();
}

// "+03:00", "-3", "UTC+05:30", "GMT+3": seconds east of Greenwich, up to
// 14 hours.
std::optional<std::int32_t> FixedOffset(std::string_view s) {
  if (s.starts_with("UTC") || s.starts_with("GMT")) s.remove_prefix(3);
  if (s.size() < 2 || (s[0] != '+' && s[0] != '-')) return std::nullopt;
  const int sign = s[0] == '-' ? -1 : 1;
  s.remove_prefix(1);
  const std::size_t colon = s.find(':');
  const std::string_view h = s.substr(0, colon);
  const std::string_view m = colon == std::string_view::npos ? "00" : s.substr(colon + 1);
  if (h.empty() || h.size() > 2 || m.size() != 2) return std::nullopt;
  for (char c : std::string(h) + std::string(m))
    if (c < '0' || c > '9') return std::nullopt;
  const int hours = std::stoi(std::string(h)), minutes = std::stoi(std::string(m));
  if (minutes > 59 || hours * 60 + minutes > 14 * 60) return std::nullopt;
  return sign * (hours * 3600 + minutes * 60);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<LocalClock> ZoneClock(std::string_view text) {
  const std::string zone(Trim(text));
  QTimeZone tz;
  std::string name = zone;
  if (const auto offset = FixedOffset(zone)) {
    tz = QTimeZone(*offset);
    name = "UTC" + OffsetText(*offset);
  } else if (zone.starts_with("Etc/GMT+") || zone.starts_with("Etc/GMT-") ||
             zone.starts_with("GMT+") || zone.starts_with("GMT-")) {
    return std::nullopt;  // the database's reversed sign: refused, not guessed
  } else if (IsZoneOfTheDatabase(zone)) {
    tz = QTimeZone(QByteArray::fromStdString(zone));
  }
  if (!tz.isValid()) return std::nullopt;
  static const double kUnixEpoch = DayNumber(1, 1, 1970, 0, 0, 0);
  return LocalClock{
      name, [tz](double x) {
        const auto ms = std::llround((static_cast<long double>(x) - kUnixEpoch) * 86400000.0L);
        const int seconds = tz.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
        // The local mean time of old dates has seconds: kept to the minute.
        return static_cast<std::int32_t>(std::lround(seconds / 60.0) * 60);
      }};
}

std::string UnknownZoneMessage(std::string_view zone) {
  return "неизвестный часовой пояс «" + std::string(Trim(zone)) +
         "»: нужен пояс базы tz, например Europe/Moscow, или смещение к востоку от Гринвича: "
         "+03:00, UTC+3 и GMT+3 означают одно и то же (Etc/GMT+3 базы tz, у которого знак "
         "обратный, не принимается)";
}

}  // namespace kv
