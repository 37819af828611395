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

// A date of the program's calendar. Written DD.MM.YYYY, it is the calendar
// of the window and of every list: Julian before 15.10.1582, historical
// years (-1 is 1 BC). Written YYYY-MM-DD (ISO 8601), it is the proleptic
// Gregorian calendar with astronomical years (0000 is 1 BC, -0001 2 BC), as
// kvlove's json and csv write dates; the two agree from 15.10.1582 on.
// A date that is not a day of its calendar (31.02.2020, 10.10.1582, year 0)
// raises UsageError naming what and the text, and what it would count on
// to. Lenient, day 1..31 of any month is taken as the window takes it:
// counted on past the month's end, 05.10 to 14.10.1582 read as Julian dates.
// what: the option (--at) or the argument; "date" when empty.
Date ParseDate(std::string_view s, std::string_view what = {}, bool lenient = false);
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

// A date of the command line: ParseDate, lenient with --lenient-dates.
Date ReadDate(const Context& ctx, std::string_view s, std::string_view what = {});

}  // namespace kvcli
