#include "clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

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

ClockReading FromLocal(const LocalClock& clock, double local) {
  ClockReading r;
  if (clock.IsGmt()) {
    r.X = local;
    return r;
  }
  // Offsets stay within a day, and a clock changes at most once in two.
  const std::int32_t before = clock.OffsetAt(local - 1.0), after = clock.OffsetAt(local + 1.0);
  std::vector<double> found;
  for (const std::int32_t o : {before, after}) {
    const double x = Store(local - o / kSecondsPerDay);
    if (clock.OffsetAt(x) == o && (found.empty() || found.front() != x)) found.push_back(x);
  }
  if (!found.empty()) {
    std::sort(found.begin(), found.end());
    r.X = found.front();
    r.Offset = clock.OffsetAt(r.X);
    if (found.size() > 1) r.Kind = ClockReading::Repeated;
    return r;
  }
  // Put forward over the reading: the change lies between the two guesses.
  double lo = Store(local - before / kSecondsPerDay), hi = Store(local - after / kSecondsPerDay);
  if (lo > hi) std::swap(lo, hi);
  while (hi - lo > 1e-7) {
    const double mid = (lo + hi) / 2;
    (clock.OffsetAt(mid) == before ? lo : hi) = mid;
  }
  // Changes fall on whole seconds.
  const double change = std::round(hi * 86400.0) / 86400.0;
  r.Kind = ClockReading::Skipped;
  r.GapStart = Store(change + before / kSecondsPerDay);
  r.GapEnd = Store(change + after / kSecondsPerDay);
  return r;
}

std::string OffsetText(std::int32_t seconds) {
  const std::int32_t minutes = std::abs(seconds) / 60;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return buf;
}

}  // namespace kv
