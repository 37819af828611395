// Where and by which clock a command reckons (--place, --tz): an observer
// of the moonrises and eclipses, a place of birth, a clock to tell times by.
#pragma once

#include <string>

#include "args.h"
#include "core/atlas.h"
#include "core/clock.h"
#include "lunar/lunardays.h"
#include "output.h"

namespace kvcli {

// --place and --tz of a command, blanks around their values ignored. The
// window's observer (51.5 N, 0 E) and GMT unless given; a city of the atlas
// brings its zone unless --tz is given; LAT,LON alone keeps GMT.
struct Whereabouts {
  kv::LunarPlace place;
  const kv::AtlasCity* city = nullptr;  // the city --place named, if any
  bool placeGiven = false;              // --place
  bool zoneGiven = false;               // a zone from --tz or the city
  bool given() const { return placeGiven || zoneGiven; }
};
// UsageError for an unknown or ambiguous city (naming the nearest names or
// the candidates), coordinates out of range, an unknown zone.
Whereabouts ReadWhereabouts(const Context& ctx);

// --tz alone: GMT without it.
kv::LocalClock ReadClock(const Context& ctx);

// "Москва — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow".
std::string Describe(const Whereabouts& w);

// The place of a JSON result: city, region, country (Russian, and the
// atlas's Latin names), latitude, longitude, time_zone.
Json PlaceJson(const Whereabouts& w);

// A reading of the place's clock (a birth's date and time, --at) in
// universal time. UsageError for a reading that never happened there (the
// clock put forward over it), naming the gap; a reading that happened twice
// is taken the first time (Kind Repeated: say so).
kv::ClockReading FromLocalReading(const Whereabouts& w, const Date& d, const Time& t);

// "время 02:30 27.10.1985 было дважды (часы переводили назад); взято первое, UTC+04:00".
std::string RepeatedNote(const kv::ClockReading& r, const Date& d, const Time& t);

// The universal time of a birth whose DATE and TIME are the clock's of
// --place (--tz): UsageError for LAT,LON without a zone and for a reading
// the clock skipped.
kv::ClockReading BirthMoment(const Whereabouts& w, const Date& d, const Time& t);

// The line a birth's output ends with: "Москва — Москва, Россия: 55.76° с.ш.,
// 37.62° в.д.; время Europe/Moscow, UTC+04:00", and the repeated reading.
std::string BirthLine(const Whereabouts& w, const kv::ClockReading& r, const Date& d,
                      const Time& t);

// What a JSON result of a birth says of its place and clock.
void AddBirth(Json& inputs, const Whereabouts& w, const kv::ClockReading& r, const Date& d,
              const Time& t);

}  // namespace kvcli
