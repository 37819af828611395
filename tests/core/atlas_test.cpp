// The atlas as a user meets it: names in either script and any case, cities
// of one name told apart, a beginning of names, a misspelt name.
#include "core/atlas.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kv;

namespace {
const AtlasCity* One(std::string_view text) { return Atlas::Get().Find(text).City; }
}  // namespace

TEST(AtlasTest, HoldsEveryCityWithRussianNamesRegionsCountriesAndZones) {
  const Atlas& atlas = Atlas::Get();
  EXPECT_EQ(atlas.Size(), 24361u);
  const AtlasCity* moscow = One("Москва");
  ASSERT_NE(moscow, nullptr);
  EXPECT_EQ(moscow->Title(), "Москва — Москва, Россия");
  EXPECT_EQ(moscow->NameEn, "Moscow");
  EXPECT_EQ(moscow->Zone, "Europe/Moscow");
  EXPECT_NEAR(moscow->Latitude, 55.75, 0.01);
  EXPECT_NEAR(moscow->Longitude, 37.62, 0.01);
  EXPECT_GT(moscow->Population, 10000000u);
  for (const AtlasCity& c : atlas.Cities()) {
    ASSERT_FALSE(c.Name.empty());
    ASSERT_FALSE(c.Zone.empty()) << c.NameEn;
    ASSERT_LE(std::abs(c.Latitude), 90.0) << c.NameEn;
    ASSERT_LE(std::abs(c.Longitude), 180.0) << c.NameEn;
  }
}

TEST(AtlasTest, ANameAloneMeansItsMostPopulousCityARegionOrCountryTheRest) {
  EXPECT_EQ(One("Москва")->CountryCode, "RU");
  EXPECT_EQ(One("  МОСКВА ")->CountryCode, "RU");
  EXPECT_EQ(One("moscow")->CountryCode, "RU");
  EXPECT_EQ(One("Москва, Айдахо")->Title(), "Москва — Айдахо, США");
  EXPECT_EQ(One("Moscow, United States")->Zone, "America/Los_Angeles");
  EXPECT_EQ(One("Москва, США")->CountryCode, "US");
  EXPECT_EQ(One("Москва, us")->CountryCode, "US");
  EXPECT_EQ(One("Москва, Айдахо, США")->CountryCode, "US");
  EXPECT_EQ(One("Moscow, Russia")->CountryCode, "RU");
  // ё as е, hyphens as blanks.
  EXPECT_EQ(One("Ростов на дону")->Name, "Ростов-на-Дону");
  EXPECT_EQ(One("Орёл"), One("Орел"));
  ASSERT_NE(One("Урюпинск"), nullptr);
  EXPECT_EQ(One("Новосибирск")->Zone, "Asia/Novosibirsk");
  // Where no name is exact, a beginning means a city only when it fits one.
  EXPECT_EQ(One("Урюпин"), One("Урюпинск"));
}

TEST(AtlasTest, ABeginningOfSeveralNamesListsThemTheMostPopulousFirst) {
  const AtlasLookup l = Atlas::Get().Find("Моск");
  EXPECT_EQ(l.City, nullptr);
  ASSERT_GE(l.Candidates.size(), 3u);
  EXPECT_EQ(l.Candidates.front()->Title(), "Москва — Москва, Россия");
  EXPECT_TRUE(std::is_sorted(l.Candidates.begin(), l.Candidates.end(),
                             [](auto a, auto b) { return a->Population > b->Population; }));
}

TEST(AtlasTest, AnUnknownNameGetsTheNearestNamesNothingEmptyGetsNothing) {
  const AtlasLookup l = Atlas::Get().Find("Масква");
  EXPECT_EQ(l.City, nullptr);
  EXPECT_TRUE(l.Candidates.empty());
  ASSERT_FALSE(l.Nearest.empty());
  EXPECT_EQ(l.Nearest.front()->Name, "Москва");
  EXPECT_EQ(Atlas::Get().Find("Москва, Франция").City, nullptr);
  const AtlasLookup blank = Atlas::Get().Find("  ,  ");
  EXPECT_EQ(blank.City, nullptr);
  EXPECT_TRUE(blank.Candidates.empty() && blank.Nearest.empty());
}

TEST(AtlasTest, SearchAsTheUserTypesInEitherScript) {
  const Atlas& atlas = Atlas::Get();
  EXPECT_TRUE(atlas.Search("").empty());
  for (const char* typed : {"н", "Нов", "новос", "No", "nov"}) {
    const auto found = atlas.Search(typed, 20);
    ASSERT_FALSE(found.empty()) << typed;
    EXPECT_LE(found.size(), 20u);
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(),
                               [](auto a, auto b) { return a->Population > b->Population; }));
    const std::string key = FoldName(typed);
    for (const AtlasCity* c : found)
      EXPECT_TRUE(FoldName(c->Name).starts_with(key) || FoldName(c->NameEn).starts_with(key))
          << typed << ": " << c->Name;
  }
  EXPECT_EQ(atlas.Search("Новосиб", 5).front()->Name, "Новосибирск");
}
