#include "places.h"

#include <QDateTime>
#include <QFileInfo>
#include <QString>
#include <QTimeZone>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "core/calendar.h"
#include "core/settings.h"

namespace kvcli {

namespace {

const City kCities[] = {
    {"Москва", 55.75, 37.62, "Europe/Moscow"},
    {"Санкт-Петербург", 59.94, 30.31, "Europe/Moscow"},
    {"Новосибирск", 55.03, 82.92, "Asia/Novosibirsk"},
    {"Екатеринбург", 56.84, 60.61, "Asia/Yekaterinburg"},
    {"Казань", 55.79, 49.12, "Europe/Moscow"},
    {"Нижний Новгород", 56.33, 44.00, "Europe/Moscow"},
    {"Самара", 53.20, 50.15, "Europe/Samara"},
    {"Омск", 54.99, 73.37, "Asia/Omsk"},
    {"Ростов-на-Дону", 47.24, 39.71, "Europe/Moscow"},
    {"Уфа", 54.74, 55.97, "Asia/Yekaterinburg"},
    {"Красноярск", 56.01, 92.87, "Asia/Krasnoyarsk"},
    {"Воронеж", 51.67, 39.18, "Europe/Moscow"},
    {"Пермь", 58.01, 56.25, "Asia/Yekaterinburg"},
    {"Волгоград", 48.71, 44.51, "Europe/Volgograd"},
    {"Владивосток", 43.12, 131.89, "Asia/Vladivostok"},
    {"Иркутск", 52.29, 104.28, "Asia/Irkutsk"},
    {"Хабаровск", 48.48, 135.07, "Asia/Vladivostok"},
    {"Калининград", 54.71, 20.51, "Europe/Kaliningrad"},
    {"Мурманск", 68.97, 33.07, "Europe/Moscow"},
    {"Минск", 53.90, 27.56, "Europe/Minsk"},
    {"Киев", 50.45, 30.52, "Europe/Kyiv"},
    {"Алматы", 43.24, 76.89, "Asia/Almaty"},
    {"Ташкент", 41.30, 69.24, "Asia/Tashkent"},
    {"Тбилиси", 41.72, 44.79, "Asia/Tbilisi"},
    {"Ереван", 40.18, 44.51, "Asia/Yerevan"},
    {"Баку", 40.41, 49.87, "Asia/Baku"},
    {"Рига", 56.95, 24.11, "Europe/Riga"},
    {"Вильнюс", 54.69, 25.28, "Europe/Vilnius"},
    {"Таллин", 59.44, 24.75, "Europe/Tallinn"},
    {"Кишинёв", 47.01, 28.86, "Europe/Chisinau"},
};

// Where Debian keeps the tz database.
constexpr const char* kZoneInfo = "/usr/share/zoneinfo/";

// Qt takes any unknown name for a rule of its own ("Moscow" as UTC), so
// only the zones of the database are let through: those Qt lists, and the
// links among its files (Europe/Kiev, Etc/GMT-3).
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

// "+03:00", "-3", "UTC+05:30": seconds east of Greenwich, up to 14 hours.
std::optional<std::int32_t> FixedOffset(std::string_view s) {
  if (s.starts_with("UTC")) s.remove_prefix(3);
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

std::string Degrees(double v, const char* positive, const char* negative) {
  return FormatFixed(std::fabs(v), 2) + "° " + (v < 0 ? negative : positive);
}

}  // namespace

std::span<const City> Cities() { return kCities; }

kv::LocalClock ZoneClock(const std::string& zone) {
  QTimeZone tz;
  std::string name = zone;
  if (const auto offset = FixedOffset(zone)) {
    tz = QTimeZone(*offset);
    name = "UTC" + kv::OffsetText(*offset);
  } else if (IsZoneOfTheDatabase(zone)) {
    tz = QTimeZone(QByteArray::fromStdString(zone));
  }
  if (!tz.isValid())
    throw UsageError("unknown time zone '" + zone +
                     "' (an IANA zone such as Europe/Moscow, or an offset such as +03:00)");
  static const double kUnixEpoch = kv::DayNumber(1, 1, 1970, 0, 0, 0);
  return {name, [tz](double x) {
            const auto ms = std::llround((static_cast<long double>(x) - kUnixEpoch) * 86400000.0L);
            const int seconds = tz.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
            // The local mean time of old dates has seconds: kept to the minute.
            return static_cast<std::int32_t>(std::lround(seconds / 60.0) * 60);
          }};
}

kv::LocalClock ReadClock(const Context& ctx) {
  return ctx.HasFlag("--tz") ? ZoneClock(ctx.FlagValue("--tz")) : kv::LocalClock{};
}

Whereabouts ReadWhereabouts(const Context& ctx) {
  Whereabouts w;
  w.place = {kv::Obs_Longitude, kv::Obs_Latitude, ReadClock(ctx)};
  w.given = ctx.HasFlag("--place") || ctx.HasFlag("--tz");
  if (!ctx.HasFlag("--place")) return w;
  const std::string value = ctx.FlagValue("--place");
  const char c = value[std::min(value.find_first_not_of(' '), value.size() - 1)];
  if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
    const Coordinates where = ParseCoordinates(value);
    w.place.Latitude = where.latitude;
    w.place.Longitude = where.longitude;
    return w;
  }
  // By name, whatever the case, ё as е.
  const auto key = [](const std::string& s) {
    return QString::fromStdString(s).toLower().replace(QChar(u'ё'), QChar(u'е'));
  };
  for (const City& city : kCities) {
    if (key(city.name) != key(value)) continue;
    w.city = city.name;
    w.place.Latitude = city.latitude;
    w.place.Longitude = city.longitude;
    if (!ctx.HasFlag("--tz")) w.place.Clock = ZoneClock(city.zone);
    return w;
  }
  throw UsageError("unknown city '" + value +
                   "' for --place (give LAT,LON, or see the cities in --help)");
}

std::string Describe(const Whereabouts& w) {
  const kv::LunarPlace& p = w.place;
  return (w.city.empty() ? "" : w.city + ": ") + Degrees(p.Latitude, "с.ш.", "ю.ш.") + ", " +
         Degrees(p.Longitude, "в.д.", "з.д.") + "; время " +
         (p.Clock.IsGmt() ? "GMT" : p.Clock.Name);
}

}  // namespace kvcli
