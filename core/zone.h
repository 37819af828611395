// Clocks of the system's tz database (through QTimeZone, with every
// historical change of offset and daylight saving) and of fixed offsets.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "clock.h"

namespace kv {

// The clock a zone names, blanks around it ignored: an IANA zone of the
// tz database ("Europe/Moscow"), or a fixed offset east of Greenwich,
// written "+03:00", "+3", "UTC+3" or "GMT+3" alike (all three hours east).
// Nothing for another text, and for the database's "Etc/GMT+3", whose
// sign is the reverse of everyone else's.
std::optional<LocalClock> ZoneClock(std::string_view zone);

// What to say when ZoneClock gives nothing (UTF-8): names the text and the
// forms that are understood.
std::string UnknownZoneMessage(std::string_view zone);

}  // namespace kv
