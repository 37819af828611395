// kvlove at a place of the atlas: birth times through the zone's history,
// eclipses seen from the place, today's lunar day, and the input refused.
#include <nlohmann/json.hpp>

#include "lunar_test_util.h"
#include "run.h"

using namespace lunartest;
using Json = nlohmann::json;

namespace {
class KvlovePlaceTest : public MainDirTest {
 protected:
  // In Russian: the messages of places and clocks are checked in their words.
  RunResult Run(const std::string& args) {
    return RunKvlove("--main-dir '" + dir_.string() + "' " + args, ".", "LANG=ru_RU.UTF-8");
  }
  std::string DayNumber(const std::string& args) {
    const RunResult r = Run("chart " + args);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    return r.out.substr(0, r.out.find('\n'));
  }
};
}  // namespace

TEST_F(KvlovePlaceTest, ABirthTimeIsTheClockOfThePlaceThroughItsZonesHistory) {
  // Moscow: UTC+4 in summer 1985 and in 2012, UTC+3 in winter 1985.
  EXPECT_EQ(DayNumber("01.07.1985 12:15 --place Москва"), DayNumber("01.07.1985 08:15"));
  EXPECT_EQ(DayNumber("15.01.1985 12:15 --place Москва"), DayNumber("15.01.1985 09:15"));
  EXPECT_EQ(DayNumber("15.01.2012 12:15 --place Москва"), DayNumber("15.01.2012 08:15"));
  EXPECT_EQ(DayNumber("15.01.2012 12:15 --place 55.75,37.62 --tz Europe/Moscow"),
            DayNumber("15.01.2012 08:15"));
  EXPECT_EQ(DayNumber("01.08.2016 12:00 --place Новосибирск"), DayNumber("01.08.2016 05:00"));
  EXPECT_EQ(DayNumber("01.08.2016 12:00 --place \"Moscow, Idaho\""), DayNumber("01.08.2016 19:00"));
  const auto lines = Lines(Run("chart 01.07.1985 12:15 --place Москва").out);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[11],
            "Москва — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow, UTC+04:00");
  const Json j = Json::parse(Run("chart 01.07.1985 12:15 --place Москва --format json").out);
  EXPECT_EQ(j["place"]["city"], "Москва");
  EXPECT_EQ(j["place"]["region"], "Москва");
  EXPECT_EQ(j["place"]["country"], "Россия");
  EXPECT_EQ(j["utc_offset"], "+04:00");
  EXPECT_EQ(j["local_moment"], "1985-07-01T12:15:00+04:00");
  EXPECT_EQ(j["moment"], "1985-07-01T08:15:00+00:00");
  // The clock went back over 01:30 on 26.10.2014: the first of the two, said.
  EXPECT_EQ(DayNumber("26.10.2014 01:30 --place Москва"), DayNumber("25.10.2014 21:30"));
  EXPECT_NE(Run("chart 26.10.2014 01:30 --place Москва").out.find("было дважды"),
            std::string::npos);
  EXPECT_EQ(
      Json::parse(Run("chart 26.10.2014 01:30 --place Москва --format json").out)["repeated_time"],
      true);
}

TEST_F(KvlovePlaceTest, BlanksAndTheWaysOfWritingAnOffsetChangeNothing) {
  const std::string moscow = Run("lunar-days 2008 2 --times --place Москва").out;
  EXPECT_EQ(Run("lunar-days 2008 2 --times --place '  Москва  '").out, moscow);
  EXPECT_EQ(Run("lunar-days 2008 2 --times --place ' Moscow, Russia '").out, moscow);
  const std::string plus3 = Run("eclipses 1999 --tz +03:00").out;
  for (const char* same : {"' +3'", "'GMT+3 '"})
    EXPECT_EQ(Run(std::string("eclipses 1999 --tz ") + same).out, plus3) << same;
  EXPECT_EQ(Run("phases 2008 --tz ' Europe/Moscow '").out,
            Run("phases 2008 --tz Europe/Moscow").out);
}

TEST_F(KvlovePlaceTest, BadPlacesZonesAndTimesExitWithTwoNamingWhatIsWrong) {
  const struct {
    const char* args;
    const char* said;
  } cases[] = {
      {"today --place Моск", "Москва — Айдахо, США"},
      {"today --place Масква", "Москва"},
      {"today --place ''", "--place"},
      {"today --place ' '", "пустое"},
      {"today --place 91,0", "широта"},
      {"chart 01.01.2000 12:00 --place 55.75,37.62", "--tz"},
      {"today --tz Etc/GMT+3", "+03:00"},
      {"today --tz Europe/Moskva", "Europe/Moscow"},
      {"chart 27.03.2011 02:30 --place Москва", "с 02:00 27.03.2011 на 03:00 27.03.2011"},
      {"report Анна 27.03.2011 02:30 --place Москва", "не было"},
      {"today --place Москва --at '27.03.2011 02:30'", "не было"},
      {"today --at 27.03.2011", "--at"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.args;
  }
  EXPECT_FALSE(fs::exists(dir_ / "Html" / "Gradus_html.html"));
}

TEST_F(KvlovePlaceTest, EclipsesSeenFromThePlace) {
  const std::string plain = Run("eclipses 1999").out;
  EXPECT_EQ(plain.find("видно"), std::string::npos);
  const RunResult r = Run("eclipses 1999 --place Москва --format json");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["place"]["country"], "Россия");
  EXPECT_EQ(j["time_zone"], "Europe/Moscow");
  bool august = false;
  for (const Json& e : j["eclipses"]) {
    EXPECT_TRUE(e["kind"] == "solar" || e["kind"] == "lunar") << e;
    EXPECT_TRUE(e.contains("kind_ru") && e.contains("type_ru")) << e;
    EXPECT_EQ(e["local_maximum"].is_null(), !e["visible"].get<bool>()) << e;
    if (!e["visible"].get<bool>()) {
      EXPECT_FALSE(e["maximum_visible"].get<bool>()) << e;
    }
    if (e["instant"].get<std::string>().starts_with("1999-08-11")) {
      // The great eclipse of 1999, a partial one in Moscow in the afternoon.
      august = true;
      EXPECT_EQ(e["type"], "total");
      EXPECT_TRUE(e["visible"].get<bool>());
      EXPECT_TRUE(e["maximum_visible"].get<bool>());
      EXPECT_TRUE(e["local_maximum"].get<std::string>().starts_with("1999-08-11T15:09:"))
          << e["local_maximum"];
      EXPECT_TRUE(e["local_maximum"].get<std::string>().ends_with("+04:00"));
    }
  }
  EXPECT_TRUE(august);
  const auto text = Lines(Run("eclipses 1999 --place Москва").out);
  EXPECT_EQ(text.back(),
            "   Видимость: Москва — Москва, Россия: 55.75° с.ш., 37.62° в.д.; время Europe/Moscow");
  const auto csv = Lines(Run("eclipses 1999 --place Москва --format csv").out);
  EXPECT_TRUE(csv[0].ends_with(",visible,maximum_visible,local_maximum,local_magnitude"));
}

TEST_F(KvlovePlaceTest, TodaysLunarDayAtThePlaceWritesNothing) {
  ShipDescriptions();
  const RunResult r = Run("today --place Москва --at '09.01.2008 12:00' --format json");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  EXPECT_EQ(j["moment"], "2008-01-09T12:00:00+03:00");
  EXPECT_EQ(j["lunar_day"], 1);
  // The lunar day 1 of Moscow's list of that month (kvlove lunar-days 2008 2).
  const Json days = Json::parse(Run("lunar-days 2008 2 --place Москва --format json").out);
  EXPECT_EQ(j["start"], days["lunar_days"][0]["start"]);
  EXPECT_EQ(j["end"], days["lunar_days"][0]["end"]);
  EXPECT_EQ(j["phase"], "new_moon");
  EXPECT_LT(j["illumination"].get<double>(), 0.02);
  EXPECT_FALSE(j["description"].get<std::string>().empty());
  fs::remove(Sys("F_LunDay.tmp"));
  const RunResult text = Run("today --place Москва --at '23.01.2008 12:00'");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Лунный день 14"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("полнолуние"), std::string::npos) << text.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(Sys()), fs::directory_iterator()), 1);
  EXPECT_EQ(Run("today").status, 0);
}
