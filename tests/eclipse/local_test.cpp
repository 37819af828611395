// Every eclipse of the list from 1900 to 2100 as seen from five cities,
// against swetest's own search of the eclipses visible there (a program of
// its own over the Swiss Ephemeris), and whether the greatest phase is seen
// against the body's altitude computed directly.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "eclipse/visibility.h"

using namespace kv;

namespace {

const double kEnd = DayNumber(1, 1, 2101, 0, 0, 0) + kJulianDayOfZero;

struct City {
  const char* id;
  const char* name;
  double lat, lon;
};
constexpr City kCities[] = {{"Moscow", "Москва", 55.75, 37.62},
                            {"Novosibirsk", "Новосибирск", 55.04, 82.93},
                            {"Vladivostok", "Владивосток", 43.11, 131.87},
                            {"NewYork", "Нью-Йорк", 40.71, -74.01},
                            {"Sydney", "Сидней", -33.87, 151.21}};

void PrintTo(const City& c, std::ostream* os) { *os << c.id; }

// The Julian days (UT) of the greatest phase of the eclipses swetest finds
// visible from the place, 1900 to 2100.
std::vector<double> Swetest(const char* what, const City& c) {
  char cmd[256];
  std::snprintf(cmd, sizeof cmd, "swetest -%s -local -geopos%.4f,%.4f,0 -b1.1.1900 -n400 2>&1",
                what, c.lon, c.lat);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd, "r"), pclose);
  std::vector<double> found;
  char line[512];
  while (pipe && std::fgets(line, sizeof line, pipe.get())) {
    // An eclipse's first line ends with the Julian day of its maximum.
    std::string s(line);
    if (s.empty() || s[0] == '\t' || s[0] == ' ' || s.find("saros") == std::string::npos) continue;
    const double jd = std::stod(s.substr(s.find_last_of('\t') + 1));
    if (jd >= kEnd) break;  // swetest ends on the closed pipe instead of going on for centuries
    found.push_back(jd);
  }
  return found;
}

double Altitude(int body, double jd, const City& c) {
  double xx[6], geo[3] = {c.lon, c.lat, 0}, horizon[3];
  char serr[AS_MAXCH];
  swe_calc_ut(jd, body, SEFLG_SWIEPH | SEFLG_EQUATORIAL, xx, serr);
  swe_azalt(jd, SE_EQU2HOR, geo, 0, 10, xx, horizon);
  return horizon[1];  // true altitude
}

}  // namespace

// One test a city, so that the suite's jobs share them.
class EclipseLocalTest : public ::testing::TestWithParam<City> {};

TEST_P(EclipseLocalTest, Visibility1900To2100AgreesWithSwetest) {
  const City& c = GetParam();
  std::vector<TEclipseData> ours;
  for (int year = 1900; year <= 2100; ++year) {
    FindEclipses(DayNumber(1, 1, year, 0, 0, 0), DayNumber(1, 1, year + 1, 0, 0, 0));
    for (int i = 1; i <= 15 && Eclipse_Table[i].Used; ++i) ours.push_back(Eclipse_Table[i]);
  }
  ASSERT_GT(ours.size(), 800u);
  {
    const std::vector<double> solar = Swetest("solecl", c), lunar = Swetest("lunecl", c);
    ASSERT_GT(solar.size(), 30u) << c.name;
    ASSERT_GT(lunar.size(), 150u) << c.name;
    int visible = 0;
    for (const TEclipseData& e : ours) {
      const LocalEclipse l = SeenFrom(e, c.lat, c.lon);
      const double jd = e.Instant + kJulianDayOfZero;
      const double* theirs = nullptr;
      for (const double& t : e.Lunar ? lunar : solar)
        if (std::fabs(t - jd) < 1.0) theirs = &t;
      std::ostringstream what;
      what << c.name << " " << (e.Lunar ? "lunar " : "solar ") << e.Instant;
      ASSERT_EQ(l.Visible, theirs != nullptr) << what.str();
      if (!theirs) continue;
      ++visible;
      EXPECT_NEAR((l.LocalMaximum + kJulianDayOfZero - *theirs) * 86400, 0, 1.0) << what.str();
      const double altitude = Altitude(e.Lunar ? SE_MOON : SE_SUN, *theirs, c);
      if (std::fabs(altitude) > 1.0) {
        EXPECT_EQ(l.MaximumVisible, altitude > 0) << what.str();
      }
    }
    RecordProperty("visible", visible);
  }
}

INSTANTIATE_TEST_SUITE_P(FiveCities, EclipseLocalTest, ::testing::ValuesIn(kCities),
                         [](const ::testing::TestParamInfo<City>& i) {
                           return std::string(i.param.id);
                         });
