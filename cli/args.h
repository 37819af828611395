// Command-line parsing of kvlove: strict dates, times and numbers. Bad input
// raises UsageError (exit status 2).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <map>
#include <vector>

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
// A decimal integer within [lo, hi]; what names the value in messages.
std::int32_t ParseInt(std::string_view s, std::int32_t lo, std::int32_t hi, std::string_view what);

// Formatting independent of the C locale.
std::string FormatGeneral(double v, int significant);
std::string FormatFixed(double v, int decimals);

// What every command receives: its positional words, its flags and the
// main directory (ending with "/").
struct Context {
  std::vector<std::string> args;
  std::map<std::string, std::string> flags;  // "--name" -> value ("" for a switch)
  std::string mainDir;
  std::string sysDir;
  bool HasFlag(std::string_view name) const;
  // Value of "--name VALUE"; empty when absent.
  std::string FlagValue(std::string_view name) const;
};

}  // namespace kvcli
