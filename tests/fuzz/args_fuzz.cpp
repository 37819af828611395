// The numbers, dates, times and places typed on kvlove's command line, and the
// window's own reading of a spin edit's text.
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  for (const bool lenient : {false, true}) {
    try {
      const kvcli::Date d = kvcli::ParseDate(s, "", lenient);
      if (d.day < 1 || d.day > 31 || d.month < 1 || d.month > 12) std::abort();
    } catch (const kvcli::UsageError&) {
    }
  }
  try {
    const kvcli::Time t = kvcli::ParseTime(s);
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
      std::abort();
  } catch (const kvcli::UsageError&) {
  }
  try {
    const std::int32_t v = kvcli::ParseInt(s, {-2000, 3000}, "year");
    if (v < -2000 || v > 3000) std::abort();
  } catch (const kvcli::UsageError&) {
  }
  try {
    const kvcli::Coordinates c = kvcli::ParseCoordinates(s);
    if (!(std::fabs(c.latitude) <= 90 && std::fabs(c.longitude) <= 180)) std::abort();
  } catch (const kvcli::UsageError&) {
  }
  try {
    const std::int32_t v = kv::StrToInt(std::string(s));
    // Whatever was read writes back to a number that reads the same.
    if (kv::StrToInt(std::to_string(v)) != v) std::abort();
  } catch (const kv::ConvertError&) {
  }
  return 0;
}
