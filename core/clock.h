// A civil clock: universal time plus an offset that may change with
// daylight saving and a zone's history. The window tells every time by GMT.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kv {

struct LocalClock {
  // How texts name it ("Europe/Moscow", "UTC+03:00"); empty for GMT.
  std::string Name;
  // Seconds ahead of universal time at a day number; none for GMT.
  std::function<std::int32_t(double x)> OffsetSeconds;

  bool IsGmt() const { return !OffsetSeconds; }
  std::int32_t OffsetAt(double x) const { return IsGmt() ? 0 : OffsetSeconds(x); }
  // The clock's reading at x as a day number; x itself for GMT.
  double Local(double x) const;
  // When the local date begins whose 0 h DayNumber(d, m, y, 0, 0, 0) gives
  // as date: at its midnight, at the change of the clock that skips
  // midnight, at the first of two midnights when the clock goes back over
  // one. date itself for GMT.
  double DateStart(double date) const;
};

// A reading of a civil clock turned into universal time. Where the clock
// was put forward the reading never happened (Skipped: the gap runs from
// GapStart to GapEnd, both readings of the clock); where it was put back the
// reading happened twice (Repeated: x is the earlier, Offset its offset).
struct ClockReading {
  enum Kind { Unique, Skipped, Repeated } Kind = Unique;
  double X = 0;             // universal time; none when skipped
  std::int32_t Offset = 0;  // seconds ahead of universal time at X
  double GapStart = 0, GapEnd = 0;
};
ClockReading FromLocal(const LocalClock& clock, double local);

// "+03:00", "-05:30": an offset of whole minutes (seconds are dropped).
std::string OffsetText(std::int32_t seconds);

}  // namespace kv
