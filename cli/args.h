// Command-line parsing of kvlove: strict dates, times and numbers. Bad input
// raises UsageError (exit status 2).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <map>
#include <vector>

#include "core/inputs.h"

namespace kvcli {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Date {
  std::int32_t day = 0, month = 0, year = 0;
};
struct Time {
  std::int32_t hour = 0, minute = 0, second = 0;
};

// DD.MM.YYYY: day 1..31, month 1..12, year with an optional minus sign.
Date ParseDate(std::string_view s);
// HH:MM or HH:MM:SS, 0..23, 0..59, 0..59.
Time ParseTime(std::string_view s);
// "LAT,LON": decimal degrees, north and east positive, |LAT| <= 90,
// |LON| <= 180, blanks allowed around the comma.
struct Coordinates {
  double latitude = 0, longitude = 0;
};
Coordinates ParseCoordinates(std::string_view s);

// A decimal integer within the range; what names the value in messages.
std::int32_t ParseInt(std::string_view s, kv::InputRange range, std::string_view what);
// UsageError "WHAT out of range LO..HI: 'ARG'" unless v lies in the range.
void CheckRange(std::int64_t v, kv::InputRange range, std::string_view what, std::string_view arg);

// Formatting independent of the C locale.
std::string FormatGeneral(double v, int significant);
std::string FormatFixed(double v, int decimals);

// What every command receives: its positional words and its flags.
struct Context {
  std::vector<std::string> args;
  std::map<std::string, std::string> flags;  // "--name" -> value ("" for a switch)
  bool HasFlag(std::string_view name) const;
  // Value of "--name VALUE"; empty when absent.
  std::string FlagValue(std::string_view name) const;
};

}  // namespace kvcli
