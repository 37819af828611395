#include <gtest/gtest.h>

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
