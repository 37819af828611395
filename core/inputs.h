// The ranges of what the user enters: the window's spin edits take these
// values, and kvlove checks its arguments against the same ranges.
#pragma once

#include <cstdint>

namespace kv {

struct InputRange {
  std::int32_t lo, hi;
};

inline constexpr InputRange kDayInput{1, 31};  // counted on past a short month's end
inline constexpr InputRange kMonthInput{1, 12};
inline constexpr InputRange kHourInput{0, 23};
inline constexpr InputRange kMinuteInput{0, 59};

inline constexpr InputRange kCompatBirthYearInput{-2000, 3000};
inline constexpr InputRange kCompatStartYearInput{1900, 2050};
inline constexpr InputRange kReportYearInput{1900, 2100};
inline constexpr InputRange kLunarYearInput{0, 3000};
inline constexpr InputRange kEclipseYearInput{1900, 2050};

}  // namespace kv
