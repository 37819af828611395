#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <vector>

#include "cli/run.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string f; std::getline(in, f, sep);) v.push_back(f);
  return v;
}
}  // namespace

TEST(KvloveEclipsesTest, PrintsTheListInUtf8) {
  for (const char* year : {"1999", "1900", "2050"}) {
    const RunResult r = RunKvlove(std::string("eclipses ") + year);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string want;
    for (const auto& l : kv::EclipseListLines(kv::StrToInt(year))) want += kv::FromCp1251(l) + "\n";
    EXPECT_EQ(r.out, want) << year;
    EXPECT_EQ(r.err, "");
  }
}

TEST(KvloveEclipsesTest, DetailsAppendInstantMagnitudeAndHours) {
  const RunResult plain = RunKvlove("eclipses 1999");
  const RunResult r = RunKvlove("eclipses 1999 --details");
  ASSERT_EQ(r.status, 0) << r.err;
  kv::EclipseListLines(1999);
  const auto a = Lines(plain.out), b = Lines(r.out);
  ASSERT_EQ(a.size(), b.size());
  int eclipses = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto f = Split(b[i], '\t');
    EXPECT_EQ(f[0], a[i]);
    if (f.size() == 1) continue;
    ASSERT_EQ(f.size(), 5u) << b[i];
    const auto& rec = kv::Eclipse_Table[++eclipses];
    EXPECT_EQ(std::stod(f[1]), rec.Instant);
    EXPECT_NEAR(std::stod(f[2]), rec.Magnitude, 1e-6);
    EXPECT_NEAR(std::stod(f[3]), rec.Partial_Hours, 1e-4);
    EXPECT_NEAR(std::stod(f[4]), rec.Central_Hours, 1e-4);
  }
  EXPECT_EQ(eclipses, 4);
  EXPECT_EQ(Split(b[8], '\t')[2], "1.022743");  // the total eclipse of 11 August
}

TEST(KvloveEclipsesTest, BadInputGetsOneLineAndStatusTwo) {
  for (const char* args : {"eclipses", "eclipses 1899", "eclipses 2051", "eclipses 19x9",
                           "eclipses ''", "eclipses 1999 2000", "eclipses 1999 --nosuch",
                           "eclipses 1999.5", "eclipses -- --details"}) {
    const RunResult r = RunKvlove(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
}

TEST(KvloveEclipsesTest, HelpAndOverview) {
  const RunResult h = RunKvlove("eclipses --help");
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("--details"), std::string::npos);
  const RunResult o = RunKvlove("--help");
  EXPECT_NE(o.out.find("eclipses"), std::string::npos);
}

// By a zone the year runs from its 1 January: 31.12.2028 16:52 UT is
// 1 January 2029 in Vladivostok.
TEST(KvloveEclipsesTest, ZoneMovesTheTimesAndTheYear) {
  const auto y2028 = Lines(RunKvlove("eclipses 2028 --tz Asia/Vladivostok").out);
  const auto y2029 = Lines(RunKvlove("eclipses 2029 --tz Asia/Vladivostok").out);
  ASSERT_GT(y2029.size(), 5u);
  EXPECT_EQ(y2029[3], " N     Дата     Время      Градус затмения    Тип затмения  ");
  EXPECT_EQ(y2029[5], " 1  01.01.2029  02:52:19   10°34’Рака       Лунное полное");
  EXPECT_EQ(std::count(y2028.begin(), y2028.end(),
                       " Даты и время затмений приведены по времени Asia/Vladivostok."),
            1);
  for (const auto& l : y2028) EXPECT_EQ(l.find("10°34’Рака"), std::string::npos) << l;

  const auto j = nlohmann::json::parse(RunKvlove("eclipses 1999 --format json --tz +03:00").out);
  EXPECT_EQ(j["time_zone"], "UTC+03:00");
  ASSERT_EQ(j["eclipses"].size(), 4u);
  kv::EclipseListLines(1999);
  EXPECT_EQ(j["eclipses"][3]["instant"], "1999-08-11T14:04:29+03:00");
  EXPECT_EQ(j["eclipses"][3]["kind"], "solar");
  EXPECT_EQ(j["eclipses"][3]["kind_ru"], "Солнечное");
  EXPECT_EQ(j["eclipses"][3]["type"], "total");
  EXPECT_EQ(j["eclipses"][3]["type_ru"], "полное");
  EXPECT_EQ(j["eclipses"][3]["zodiac_degree"], "18°21’Льва");
  EXPECT_EQ(j["eclipses"][3]["longitude"], kv::Eclipse_Table[4].Lon);
  const auto csv = Lines(RunKvlove("eclipses 1999 --format csv").out);
  ASSERT_EQ(csv.size(), 5u);
  EXPECT_EQ(csv[0], "number,instant,kind,kind_ru,type,type_ru,zodiac_degree,longitude");
  EXPECT_TRUE(csv[1].starts_with(
      "1,1999-01-31T16:21:44+00:00,lunar,Лунное,penumbral,полутеневое,11°28’Льва,131."))
      << csv[1];
}
