#include "places.h"

#include <algorithm>
#include <cmath>

#include "core/calendar.h"
#include "core/settings.h"
#include "core/zone.h"
#include "tr.h"

namespace kvcli {

namespace {

std::string Trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

kv::LocalClock Zone(const std::string& zone) {
  if (auto clock = kv::ZoneClock(zone)) return *std::move(clock);
  throw UsageError(kv::UnknownZoneMessage(zone));
}

std::string Degrees(double v, const char* positive, const char* negative) {
  return FormatFixed(std::fabs(v), 2) + "° " + (v < 0 ? negative : positive);
}

std::string Listed(const std::vector<const kv::AtlasCity*>& cities) {
  std::string s;
  for (const kv::AtlasCity* c : cities) s += (s.empty() ? " " : "; ") + c->Title();
  return s;
}

const kv::AtlasCity& City(const std::string& name) {
  const kv::Atlas* atlas;
  try {
    atlas = &kv::Atlas::Get();
  } catch (const kv::AtlasError& e) {
    throw UsageError(Kvlove::tr("%1: --place takes only LAT,LON", {e.what()}));
  }
  kv::AtlasLookup found = atlas->Find(name);
  if (found.City) return *found.City;
  if (!found.Candidates.empty()) {
    const std::size_t more = found.Candidates.size() > 10 ? found.Candidates.size() - 10 : 0;
    found.Candidates.resize(std::min<std::size_t>(found.Candidates.size(), 10));
    const kv::AtlasCity& first = *found.Candidates.front();
    throw UsageError(
        Kvlove::tr("'%1' begins the names of several cities; give the name in full, or its "
                   "region or country after a comma (--place \"%2, %3\"):%4",
                   {name, first.Name, first.Country, Listed(found.Candidates)}) +
        (more ? Kvlove::tr("; and %1 more", {std::to_string(more)}) : ""));
  }
  throw UsageError(found.Nearest.empty()
                       ? Kvlove::tr("no city '%1' in the atlas (or LAT,LON in degrees: "
                                    "55.75,37.62)",
                                    {name})
                       : Kvlove::tr("no city '%1' in the atlas; the nearest names:%2",
                                    {name, Listed(found.Nearest)}));
}

std::string Clock(int hours, int minutes) {
  return kv::TwoDigits(hours) + ":" + kv::TwoDigits(minutes);
}

std::string Reading(double local) {
  const kv::CalendarDate c = kv::DayNumberToDate(local);
  return Clock(c.Hour, c.Minute) + " " + kv::TwoDigits(c.Day) + "." + kv::TwoDigits(c.Month) + "." +
         std::to_string(kv::HistoricalYear(c.Year));
}

}  // namespace

kv::LocalClock ReadClock(const Context& ctx) {
  return ctx.HasFlag("--tz") ? Zone(ctx.FlagValue("--tz")) : kv::LocalClock{};
}

Whereabouts ReadWhereabouts(const Context& ctx) {
  Whereabouts w;
  w.place = {kv::Obs_Longitude, kv::Obs_Latitude, ReadClock(ctx)};
  w.zoneGiven = ctx.HasFlag("--tz");
  if (!ctx.HasFlag("--place")) return w;
  w.placeGiven = true;
  const std::string value = Trimmed(ctx.FlagValue("--place"));
  if (value.empty())
    throw UsageError(
        Kvlove::tr("--place is empty: it takes a city of the atlas or LAT,LON in degrees"));
  const char c = value.front();
  if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
    const Coordinates where = ParseCoordinates(value);
    w.place.Latitude = where.latitude;
    w.place.Longitude = where.longitude;
    return w;
  }
  w.city = &City(value);
  w.place.Latitude = w.city->Latitude;
  w.place.Longitude = w.city->Longitude;
  if (!w.zoneGiven) {
    w.place.Clock = Zone(w.city->Zone);
    w.zoneGiven = true;
  }
  return w;
}

std::string Describe(const Whereabouts& w) {
  const kv::LunarPlace& p = w.place;
  return (w.city ? w.city->Title() + ": " : "") + Degrees(p.Latitude, "с.ш.", "ю.ш.") + ", " +
         Degrees(p.Longitude, "в.д.", "з.д.") + "; время " +
         (p.Clock.IsGmt() ? "GMT" : p.Clock.Name);
}

Json PlaceJson(const Whereabouts& w) {
  Json place;
  if (w.city) {
    place["city"] = w.city->Name;
    place["region"] = w.city->Region;
    place["country"] = w.city->Country;
    place["city_en"] = w.city->NameEn;
    place["region_en"] = w.city->RegionEn;
    place["country_en"] = w.city->CountryEn;
    place["country_code"] = w.city->CountryCode;
  }
  place["latitude"] = w.place.Latitude;
  place["longitude"] = w.place.Longitude;
  place["time_zone"] = w.place.Clock.IsGmt() ? "GMT" : w.place.Clock.Name;
  return place;
}

kv::ClockReading FromLocalReading(const Whereabouts& w, const Date& d, const Time& t) {
  const double local = kv::DayNumber(d.day, d.month, d.year, t.hour, t.minute, t.second);
  const kv::ClockReading r = kv::FromLocal(w.place.Clock, local);
  if (r.Kind == kv::ClockReading::Skipped)
    throw UsageError(Kvlove::tr(
        "the time %1 %2 never was in the zone %3: the clock was put "
        "forward from %4 to %5",
        {Clock(t.hour, t.minute),
         kv::TwoDigits(d.day) + "." + kv::TwoDigits(d.month) + "." + std::to_string(d.year),
         w.place.Clock.Name, Reading(r.GapStart), Reading(r.GapEnd)}));
  return r;
}

std::string RepeatedNote(const kv::ClockReading& r, const Date& d, const Time& t) {
  return "время " + Clock(t.hour, t.minute) + " " + kv::TwoDigits(d.day) + "." +
         kv::TwoDigits(d.month) + "." + std::to_string(d.year) +
         " было дважды (часы переводили назад); взято первое, UTC" + kv::OffsetText(r.Offset);
}

kv::ClockReading BirthMoment(const Whereabouts& w, const Date& d, const Time& t) {
  if (!w.zoneGiven)
    throw UsageError(Kvlove::tr(
        "a place of birth given as LAT,LON needs a time zone: --tz Europe/Moscow or --tz +03:00"));
  return FromLocalReading(w, d, t);
}

std::string BirthLine(const Whereabouts& w, const kv::ClockReading& r, const Date& d,
                      const Time& t) {
  std::string where = w.placeGiven ? Describe(w) : "время " + w.place.Clock.Name;
  where += ", UTC" + kv::OffsetText(r.Offset);
  if (r.Kind == kv::ClockReading::Repeated) where += "; " + RepeatedNote(r, d, t);
  return where;
}

void AddBirth(Json& inputs, const Whereabouts& w, const kv::ClockReading& r, const Date& d,
              const Time& t) {
  if (w.placeGiven) inputs["place"] = PlaceJson(w);
  inputs["time_zone"] = w.place.Clock.Name;
  inputs["utc_offset"] = kv::OffsetText(r.Offset);
  inputs["repeated_time"] = r.Kind == kv::ClockReading::Repeated;
  if (r.Kind == kv::ClockReading::Repeated) inputs["note"] = RepeatedNote(r, d, t);
}

}  // namespace kvcli
