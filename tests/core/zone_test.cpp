// Birth offsets against the tz database as the C library reads it (its own
// parser of the zoneinfo files, not Qt's), across the historical changes of
// the zones; the clock's skipped and doubled readings.
#include "core/zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/calendar.h"

using namespace kv;

namespace {

// The offset of the local reading by the C library, at noon (no change of
// the clock ever falls there).
long LibcOffset(const char* zone, int day, int month, int year) {
  setenv("TZ", zone, 1);
  tzset();
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  std::tm back{};
  localtime_r(&t, &back);
  return back.tm_gmtoff;
}

}  // namespace

TEST(ZoneHistoryTest, BirthOffsetsAgreeWithTheTzDatabase1930To2030) {
  for (const char* zone : {"Europe/Moscow", "Asia/Novosibirsk", "Europe/Kaliningrad",
                           "Asia/Vladivostok", "Europe/Kyiv"}) {
    const auto clock = ZoneClock(zone);
    ASSERT_TRUE(clock) << zone;
    for (int year = 1930; year <= 2030; ++year)
      for (int month = 1; month <= 12; ++month)
        for (int day : {1, 15}) {
          const ClockReading r = FromLocal(*clock, DayNumber(day, month, year, 12, 0, 0));
          ASSERT_EQ(r.Kind, ClockReading::Unique);
          ASSERT_EQ(r.Offset, LibcOffset(zone, day, month, year))
              << zone << " " << day << "." << month << "." << year;
        }
  }
  unsetenv("TZ");
  tzset();
}

TEST(ZoneHistoryTest, ASkippedReadingNamesTheGapADoubledOneIsTheEarlier) {
  const auto moscow = ZoneClock("Europe/Moscow");
  // 27.03.2011: 02:00 became 03:00.
  const ClockReading gap = FromLocal(*moscow, DayNumber(27, 3, 2011, 2, 30, 0));
  ASSERT_EQ(gap.Kind, ClockReading::Skipped);
  EXPECT_NEAR((gap.GapStart - DayNumber(27, 3, 2011, 2, 0, 0)) * 86400, 0, 1e-3);
  EXPECT_NEAR((gap.GapEnd - DayNumber(27, 3, 2011, 3, 0, 0)) * 86400, 0, 1e-3);
  // 26.10.2014: 02:00 (UTC+4) became 01:00 (UTC+3); 01:30 came twice.
  const ClockReading twice = FromLocal(*moscow, DayNumber(26, 10, 2014, 1, 30, 0));
  ASSERT_EQ(twice.Kind, ClockReading::Repeated);
  EXPECT_EQ(twice.Offset, 4 * 3600);
  EXPECT_NEAR((twice.X - DayNumber(25, 10, 2014, 21, 30, 0)) * 86400, 0, 1e-3);
  // Kyiv, 29.10.2023: 03:30 came twice, first at UTC+3.
  const ClockReading kyiv = FromLocal(*ZoneClock("Europe/Kyiv"), DayNumber(29, 10, 2023, 3, 30, 0));
  EXPECT_EQ(kyiv.Kind, ClockReading::Repeated);
  EXPECT_EQ(kyiv.Offset, 3 * 3600);
}

TEST(ZoneTest, OffsetsWrittenEveryWayMeanTheSameZonesOfReversedSignRefused) {
  for (const char* same : {"+03:00", "+3", "UTC+3", "GMT+3", " UTC+03:00 ", "GMT+03"}) {
    const auto clock = ZoneClock(same);
    ASSERT_TRUE(clock) << same;
    EXPECT_EQ(clock->OffsetAt(0), 3 * 3600) << same;
    EXPECT_EQ(clock->Name, "UTC+03:00") << same;
  }
  EXPECT_EQ(ZoneClock("  Europe/Moscow\t")->Name, "Europe/Moscow");
  for (const char* refused : {"Etc/GMT+3", "Etc/GMT-3", "Moscow", "", "+15", "+03:60", "Москва"})
    EXPECT_FALSE(ZoneClock(refused)) << refused;
  EXPECT_NE(UnknownZoneMessage("Etc/GMT+3").find("GMT+3"), std::string::npos);
}
