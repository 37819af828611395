#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "checked.h"

namespace kv {

namespace {
constexpr long double kSecondsPerDay = 86400.0L;
}  // namespace

double LocalClock::Local(double x) const {
  return IsGmt() ? x : Store(x + OffsetSeconds(x) / kSecondsPerDay);
}

double LocalClock::DateStart(double date) const {
  if (IsGmt()) return date;
  // Offsets stay within a day; around one midnight the clock changes once.
  const std::int32_t before = OffsetAt(date - 1.0), after = OffsetAt(date + 1.0);
  double start = std::numeric_limits<double>::infinity();
  for (const std::int32_t o : {before, after}) {
    const double x = Store(date - o / kSecondsPerDay);
    if (OffsetAt(x) == o) start = std::min(start, x);
  }
  if (start != std::numeric_limits<double>::infinity()) return start;
  // Midnight skipped: the date begins where the offset changes.
  double lo = Store(date - after / kSecondsPerDay), hi = Store(date - before / kSecondsPerDay);
  while (hi - lo > 1e-7) {
    const double mid = (lo + hi) / 2;
    (OffsetAt(mid) == before ? lo : hi) = mid;
  }
  return hi;
}

std::string OffsetText(std::int32_t seconds) {
  const std::int32_t minutes = std::abs(seconds) / 60;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return buf;
}

}  // namespace kv
