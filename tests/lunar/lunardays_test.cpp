#include "lunar/lunardays.h"

#include <cmath>

#include "lunar/moonrise.h"
#include "lunar/phases.h"
#include "lunar_test_util.h"

using namespace kv;
using namespace lunartest;

namespace {
class LunarDaysTest : public MainDirTest {
 protected:
  std::vector<std::string> Days(std::int32_t year, std::int32_t month) {
    WritePhaseListing(year);
    ResetLunarDays();
    return BuildLunarDays(month);
  }
};

double MinutesAfterMidnight(double x) {
  const CalendarDate c = DayNumberToDate(x);
  return (x - DayNumber(c.Day, c.Month, c.Year, 0, 0, 0)) * 1440;
}
}  // namespace

TEST_F(LunarDaysTest, SecondLunarMonthOf2008) {
  const auto lines = Days(2008, 2);
  EXPECT_EQ(Moment(LunarMonth_Start).substr(0, 16), "08.01.2008 11:36");
  EXPECT_EQ(Moment(LunarMonth_End).substr(0, 16), "07.02.2008 03:43");
  // The moonrise of 08.01 precedes the new moon: day 1 starts the next morning.
  EXPECT_EQ(DateOf(LunarDay_Starts[0]), "09.01.2008");
  EXPECT_NEAR(MinutesAfterMidnight(LunarDay_Starts[0]), 9 * 60, 10);
  // No moonrise on 28.01: day 19 starts on the 27th, day 20 on the 29th
  // shortly after midnight.
  EXPECT_EQ(DateOf(LunarDay_Starts[18]), "27.01.2008");
  EXPECT_EQ(DateOf(LunarDay_Starts[19]), "29.01.2008");
  EXPECT_LT(MinutesAfterMidnight(LunarDay_Starts[19]), 30);
  ASSERT_EQ(lines.size(), 27u);
  EXPECT_EQ(LunarDay_Count, 28);
  EXPECT_EQ(DateOf(LunarDay_Starts[27]), "06.02.2008");
  EXPECT_NEAR(MinutesAfterMidnight(LunarDay_Starts[27]), 7 * 60 + 27, 5);
  EXPECT_EQ(LunarDay_Starts[28], 0.0);
  EXPECT_EQ(lines[0], "  1   09.01.2008");
  EXPECT_EQ(lines[19], " 20   29.01.2008");
  EXPECT_EQ(lines[26], " 27   05.02.2008");
}

TEST_F(LunarDaysTest, LeadingBlanksOfTheListLines) {
  const auto lines = Days(2008, 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int N = static_cast<int>(i) + 1;
    const std::string number = (N < 10 ? "  " : " ") + std::to_string(N);
    EXPECT_EQ(lines[i], number + "   " + DateOf(LunarDay_Starts[N - 1]));
    EXPECT_EQ(lines[i].size(), 16u);
  }
}

TEST_F(LunarDaysTest, StartsAreMoonrisesCutToTheMinuteOnePerDate) {
  for (const std::int32_t year : {2008, 1985, 1900}) {
    WritePhaseListing(year);
    for (std::int32_t M = 1; M <= 14; ++M) {
      SCOPED_TRACE(std::to_string(year) + " month " + std::to_string(M));
      ResetLunarDays();
      const auto lines = BuildLunarDays(M);
      ASSERT_GE(lines.size(), 26u);
      ASSERT_LE(lines.size(), 29u);
      EXPECT_GE(LunarDay_Starts[0], LunarMonth_Start);
      EXPECT_LT(LunarDay_Starts[0], LunarMonth_Start + 2);
      for (int k = 0; k < LunarDay_Count; ++k) {
        const double minutes = MinutesAfterMidnight(LunarDay_Starts[k]);
        EXPECT_NEAR(minutes, std::round(minutes), 1e-6) << k;
        if (k == 0) continue;
        const double step = LunarDay_Starts[k] - LunarDay_Starts[k - 1];
        EXPECT_GT(step, 1.0) << k;  // the Moon rises later each day
        EXPECT_LT(step, 2.1) << k;  // a date without moonrise is skipped
        EXPECT_LE(LunarDay_Starts[k - 1] + 1.0, LunarMonth_End) << k;
      }
      EXPECT_GT(LunarDay_Starts[LunarDay_Count - 1] + 1.0, LunarMonth_End);
      for (int k = LunarDay_Count; k <= 32; ++k) EXPECT_EQ(LunarDay_Starts[k], 0.0);
    }
  }
}

TEST_F(LunarDaysTest, LastDayMayEndAfterTheClosingNewMoon) {
  Days(2008, 7);
  EXPECT_GT(LunarDay_Starts[LunarDay_Count - 1], LunarMonth_End);
}

TEST_F(LunarDaysTest, MonthFourteenClosesOnTheFifteenthLunation) {
  const auto lines = Days(2008, 14);
  EXPECT_EQ(LunarMonth_Start, NewMoon_Table[14]);
  EXPECT_EQ(LunarMonth_End, NewMoon_15);
  EXPECT_EQ(DateOf(LunarMonth_Start), "27.12.2008");
  EXPECT_EQ(DateOf(LunarMonth_End), "26.01.2009");
  EXPECT_GE(lines.size(), 28u);
  EXPECT_EQ(lines[0].substr(6), "28.12.2008");
}

TEST_F(LunarDaysTest, AllZeroPhaseTableListsNothing) {
  NewMoon_Table = {};
  NewMoon_15 = 0;
  for (std::int32_t M : {1, 13, 14}) {
    ResetLunarDays();
    EXPECT_TRUE(BuildLunarDays(M).empty()) << M;
    EXPECT_EQ(LunarMonth_Start, 0.0);
    EXPECT_EQ(LunarMonth_End, 0.0);
  }
}

TEST_F(LunarDaysTest, MonthOutsideTheGroupIsARangeError) {
  WritePhaseListing(2008);
  EXPECT_THROW(BuildLunarDays(0), std::out_of_range);
  EXPECT_THROW(BuildLunarDays(15), std::out_of_range);
}

TEST_F(LunarDaysTest, ResetClearsEveryEntry) {
  Days(2008, 2);
  ResetLunarDays();
  EXPECT_EQ(LunarDay_Count, 0);
  for (double s : LunarDay_Starts) EXPECT_EQ(s, 0.0);
}

TEST_F(LunarDaysTest, FirstStartAt2300WhenTheNextDateHasNoMoonrise) {
  // Far north the Moon can miss a whole date next to the new moon: at 62 N
  // it rises at 10:44 on 09.12.2007, before the new moon (17:40), and not
  // at all on 10.12. Day 1 then starts at 23:00 of the new moon's date.
  Obs_Latitude = 62.0;
  Days(2008, 1);
  double r, s;
  MoonRiseSet(9, 12, 2007, 0.0, 62.0, r, s);
  ASSERT_GT(r, 0);
  ASSERT_LT(DayNumber(9, 12, 2007, 0, 0, 0) + r / 24, LunarMonth_Start);
  MoonRiseSet(10, 12, 2007, 0.0, 62.0, r, s);
  ASSERT_EQ(r, kNoEvent);
  EXPECT_EQ(LunarDay_Starts[0], DayNumber(9, 12, 2007, 23, 0, 0));
  EXPECT_EQ(DateOf(LunarDay_Starts[1]), "11.12.2007");
}

TEST(LunarDaysCaptionTest, WindowsCyrillicWithPlainNumbers) {
  EXPECT_EQ(LunarDaysCaption(2, 2008), Cp("   Лунные дни на 2 лунный месяц  2008г."));
  EXPECT_EQ(LunarDaysCaption(14, 0), Cp("   Лунные дни на 14 лунный месяц  0г."));
  EXPECT_EQ(LunarDaysCaption(1, 2008).substr(0, 3), "   ");
  EXPECT_EQ(static_cast<unsigned char>(LunarDaysCaption(1, 2008)[3]), 0xCB);  // Л
}

TEST_F(LunarDaysTest, YearZeroListsTheDaysOfItsFirstMonth) {
  // Its new moon falls in December of astronomical year -1, 2 BC.
  const auto lines = Days(0, 1);
  EXPECT_EQ(DayNumberToDate(LunarMonth_Start).Year, -1);
  ASSERT_GE(lines.size(), 27u);
  EXPECT_GT(LunarDay_Starts[0], LunarMonth_Start);
  EXPECT_LT(LunarDay_Starts[0], LunarMonth_Start + 2);
}

// The rule for places, at the window's observer in GMT, lists the window's
// lunar days, over the years the window takes.
TEST_F(LunarDaysTest, PlaceRuleAtTheWindowsObserverListsTheWindowsDays) {
  const LunarPlace window{Obs_Longitude, Obs_Latitude, {}};
  for (const std::int32_t year : {1, 1582, 1900, 2008, 2100, 3000}) {
    WritePhaseListing(year);
    for (std::int32_t M = 1; M <= 14; ++M) {
      ResetLunarDays();
      BuildLunarDays(M);
      EXPECT_EQ(
          LunarDaysAt(M, window).Starts,
          std::vector<double>(LunarDay_Starts.begin(), LunarDay_Starts.begin() + LunarDay_Count))
          << year << " month " << M;
    }
  }
}

// Beyond the polar circles the Moon stays up or down for days, and may
// rise twice on one date: every start is a moonrise, every date between two
// starts has none, and the list stays within the table and ends as the
// window's does.
TEST_F(LunarDaysTest, HighLatitudesListEveryMoonriseAndNoneElse) {
  const LocalClock msk{"UTC+03:00", [](double) { return 10800; }};
  int longDays = 0, twiceOnADate = 0;
  for (const std::int32_t year : {2001, 2008}) {
    WritePhaseListing(year);
    for (const LunarPlace& p : {LunarPlace{33.07, 68.97, {}}, LunarPlace{15.0, 78.0, msk},
                                LunarPlace{15.0, -78.0, msk}, LunarPlace{0.0, 90.0, msk}}) {
      const double offset = p.Clock.OffsetAt(0) / 86400.0;
      for (std::int32_t M = 1; M <= 14; ++M) {
        SCOPED_TRACE(std::to_string(p.Latitude) + " " + std::to_string(year) + "/" +
                     std::to_string(M));
        const TLunarDays r = LunarDaysAt(M, p);
        ASSERT_GE(r.Starts.size(), 2u);
        ASSERT_LE(r.Starts.size(), LunarDay_Starts.size());
        EXPECT_GE(r.Starts.front(), r.MonthStart);
        EXPECT_GT(r.Starts.back() + 1.0, r.MonthEnd);
        double previousDate = 0;
        for (const double start : r.Starts) {
          double rise, set;
          MoonRiseFrom(start - 0.5, p.Longitude, p.Latitude, rise, set);
          EXPECT_NEAR((rise / 24 - 0.5) * 1440, 0.5, 1.0) << Moment(start);
          const double date = std::floor(start + offset + 0.5) - 0.5 - offset;  // its midnight
          twiceOnADate += date == previousDate;
          longDays += previousDate != 0 && date - previousDate > 2;
          for (double d = previousDate + 1; previousDate != 0 && d < date - 0.5; d += 1) {
            MoonRiseFrom(d, p.Longitude, p.Latitude, rise, set);
            EXPECT_EQ(rise, kNoEvent) << Moment(d);
          }
          previousDate = date;
        }
      }
    }
  }
  EXPECT_GT(longDays, 40);
  EXPECT_GT(twiceOnADate, 0);
}
