#include "lunar/phases.h"

#include "lunar_test_util.h"

using namespace kv;
using namespace lunartest;

namespace {
class PhaseListingTest : public MainDirTest {
 protected:
  std::vector<std::string> Listing(std::int32_t year) {
    WritePhaseListing(year);
    return CrLfLines(Bytes(LunDay_Name));
  }
};

struct Phases {
  double New, Q1, Full, Q3;
};
Phases PhasesOf(double D) {
  Phases p{};
  p.New = D;
  LunarPhases(p.New, p.Q1, p.Full, p.Q3);
  return p;
}
}  // namespace

TEST_F(PhaseListingTest, Year2008ByteForByte) {
  WritePhaseListing(2008);
  const std::string file = Bytes(LunDay_Name);
  const auto lines = CrLfLines(file);
  ASSERT_EQ(lines.size(), 22u);
  ASSERT_EQ(file.substr(file.size() - 2), "\r\n");
  // No line end other than CR LF.
  std::size_t lf = 0, crlf = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    lf += file[i] == '\n';
    crlf += file[i] == '\n' && i > 0 && file[i - 1] == '\r';
  }
  EXPECT_EQ(lf, 22u);
  EXPECT_EQ(crlf, 22u);

  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], Cp(" Лун.месяц Новолуние    I четверть     Полнолуние     III четверть"));
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "    1     09.12.2007    17.12.2007     24.12.2007     31.12.2007");
  EXPECT_EQ(lines[5], "    2     08.01.2008    15.01.2008     22.01.2008     30.01.2008");
  EXPECT_EQ(lines[17], "   14     27.12.2008    04.01.2009     11.01.2009     18.01.2009");
  for (int i = 4; i <= 17; ++i) EXPECT_EQ(lines[i].size(), 64u) << i;
  EXPECT_EQ(lines[18], "");
  EXPECT_EQ(lines[19], Cp("  Щелкните на нужном лунном месяце в списке"));
  EXPECT_EQ(lines[20], Cp("  справа, а затем выберите нужную дату в "));
  EXPECT_EQ(lines[21], Cp("  появившемся списке лунных дней."));
}

TEST(LunarPhasesTest, InstantsBehindThe2008FirstLine) {
  NewMoon_Table = {};
  const Phases p = PhasesOf(DayNumber(1, 1, 2008, 0, 0, 0));
  EXPECT_EQ(Moment(p.New).substr(0, 16), "09.12.2007 17:40");
  EXPECT_EQ(Moment(p.Q1).substr(0, 16), "17.12.2007 10:17");
  EXPECT_EQ(Moment(p.Full).substr(0, 16), "24.12.2007 01:15");
  EXPECT_EQ(Moment(p.Q3).substr(0, 16), "31.12.2007 07:50");
  EXPECT_EQ(NewMoon_Table[1], 0.0) << "LunarPhases alone leaves the table alone";
}

TEST_F(PhaseListingTest, PhaseJustAfterMidnightIsListedUnderItsUtDate) {
  // Full moon of lunation 1 for 2008 at 01:15 UT: a local-time or rounded
  // date would show 23.12.2007.
  const auto lines = Listing(2008);
  EXPECT_EQ(lines[4].substr(39, 10), "24.12.2007");
  const CalendarDate full = DayNumberToDate(PhasesOf(DayNumber(1, 1, 2008, 0, 0, 0)).Full);
  EXPECT_EQ(full.Hour, 1);
}

TEST_F(PhaseListingTest, TableHoldsTheListedNewMoonsAndTheClosingOne) {
  const auto lines = Listing(2008);
  for (int i = 1; i <= 14; ++i) {
    EXPECT_EQ(lines[3 + i].substr(10, 10), DateOf(NewMoon_Table[i])) << i;
    if (i > 1) {
      const double gap = NewMoon_Table[i] - NewMoon_Table[i - 1];
      EXPECT_GT(gap, 29.2) << i;
      EXPECT_LT(gap, 29.9) << i;
    }
  }
  // One lunation past entry 14, computed the same way.
  const Phases p14 = PhasesOf(NewMoon_Table[14]);
  EXPECT_EQ(NewMoon_15, PhasesOf(p14.Q3 + 15.0).New);
  EXPECT_EQ(DateOf(NewMoon_15), "26.01.2009");
  // Fourteen lunations reach about 413 days past the first new moon.
  EXPECT_NEAR(NewMoon_Table[14] - NewMoon_Table[1], 13 * 29.53, 0.8);
}

TEST(LunarPhasesTest, EachLastQuarterPlusFifteenDaysIsTheNextLunation) {
  double D = DayNumber(1, 1, 1985, 0, 0, 0);
  Phases p = PhasesOf(D);
  for (int i = 0; i < 200; ++i) {
    const Phases next = PhasesOf(p.Q3 + 15.0);
    ASSERT_NEAR(next.New - p.New, 29.53, 0.45) << i;
    ASSERT_LT(p.New, p.Q1);
    ASSERT_LT(p.Q1, p.Full);
    ASSERT_LT(p.Full, p.Q3);
    ASSERT_LT(p.Q3, next.New);
    p = next;
  }
}

TEST(LunarPhasesTest, NegativeDayNumbersStillSelectTheLunationInProgress) {
  // Truncation toward zero alone would pick the lunation after D.
  for (const double D : {-0.25, -1.0, -29.53058868, -59.1, -1000.3, -50000.5, -693961.0}) {
    const Phases p = PhasesOf(D);
    EXPECT_LT(p.New, D + 1.5) << D;
    EXPECT_GT(p.New, D - 29.53 - 1.5) << D;
  }
  // Day number 0 lies before the mean new moon of lunation 0 (0.75933):
  // lunation 0 is chosen all the same, and day 0.76 gives the same one.
  EXPECT_EQ(PhasesOf(0.0).New, PhasesOf(0.76).New);
  EXPECT_GT(PhasesOf(0.0).New, 0.0);
}

TEST_F(PhaseListingTest, YearsBefore1900AndYearZero) {
  for (const std::int32_t year : {1899, 1850, 1583, 1582, 1000, 1, 0}) {
    SCOPED_TRACE(year);
    const auto lines = Listing(year);
    ASSERT_EQ(lines.size(), 22u);
    const double jan1 = DayNumber(1, 1, year, 0, 0, 0);
    EXPECT_LT(NewMoon_Table[1], jan1 + 1.5);
    EXPECT_GT(NewMoon_Table[2], jan1);
    for (int i = 4; i <= 17; ++i) EXPECT_EQ(lines[i].size(), 64u) << lines[i];
    for (int i = 2; i <= 14; ++i) EXPECT_NEAR(NewMoon_Table[i] - NewMoon_Table[i - 1], 29.53, 0.45);
  }
  // Year 0 runs through the Julian calendar; its first new moon falls in
  // the year before (astronomical -1, written with its sign).
  const auto lines = Listing(0);
  EXPECT_EQ(lines[4].substr(0, 10), "    1     ");
  EXPECT_EQ(lines[4].substr(16, 4), "-001") << lines[4];
  EXPECT_EQ(lines[5].substr(16, 4), "0000") << lines[5];
}

TEST_F(PhaseListingTest, RewritesTheWholeFileEachRun) {
  WritePhaseListing(2008);
  const std::string y2008 = Bytes(LunDay_Name);
  WritePhaseListing(1985);
  EXPECT_NE(Bytes(LunDay_Name), y2008);
  WritePhaseListing(2008);
  EXPECT_EQ(Bytes(LunDay_Name), y2008);
}

TEST_F(PhaseListingTest, MissingSystemDirectoryFailsBeforeTheTableChanges) {
  WritePhaseListing(2008);
  const auto before = NewMoon_Table;
  const double before15 = NewMoon_15;
  fs::remove_all(Sys());
  EXPECT_THROW(WritePhaseListing(1985), FileError);
  EXPECT_EQ(NewMoon_Table, before);
  EXPECT_EQ(NewMoon_15, before15);
}
