// Where and by which clock the lunar days are reckoned (--place, --tz),
// and the clock that phases and eclipses are told by (--tz).
#pragma once

#include <span>
#include <string>

#include "args.h"
#include "core/clock.h"
#include "lunar/lunardays.h"

namespace kvcli {

struct City {
  const char* name;  // Russian, UTF-8
  double latitude, longitude;
  const char* zone;  // IANA time zone
};

// The cities --place knows by name.
std::span<const City> Cities();

// The clock of a zone: an IANA zone of the system's tz database
// ("Europe/Moscow") or a fixed offset ("+03:00", "UTC-05:30"). UsageError
// for any other text.
kv::LocalClock ZoneClock(const std::string& zone);

// --tz of a command: GMT without it.
kv::LocalClock ReadClock(const Context& ctx);

// --place and --tz of a lunar command: the window's observer and GMT
// unless given; a city's zone unless --tz is given.
struct Whereabouts {
  kv::LunarPlace place;
  std::string city;    // the city --place named, if any
  bool given = false;  // --place or --tz
};
Whereabouts ReadWhereabouts(const Context& ctx);

// "Москва: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow" (UTF-8).
std::string Describe(const Whereabouts& w);

}  // namespace kvcli
