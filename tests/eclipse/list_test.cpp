#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "core/calendar.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"

using namespace kv;

namespace {

std::vector<std::string> Utf8(const std::vector<std::string>& lines) {
  std::vector<std::string> v;
  for (const auto& l : lines) v.push_back(FromCp1251(l));
  return v;
}

const std::vector<std::string> kHead = {
    " ", "                       ОБСТОЯТЕЛЬСТВА ЗАТМЕНИЙ ", " ",
    " N     Дата     Время GMT  Градус затмения    Тип затмения  ", " "};
const std::vector<std::string> kNote = {
    " ",
    " ",
    " Примечание: ",
    " Даты и время затмений приведены по Гринвичскому времени.",
    " Для перехода к местному времени нужно учесть часовой пояс и, ",
    " при необходимости, Зимнее/Летнее время.",
    " "};

std::vector<std::string> List(const std::vector<std::string>& eclipses) {
  std::vector<std::string> v = kHead;
  v.insert(v.end(), eclipses.begin(), eclipses.end());
  v.insert(v.end(), kNote.begin(), kNote.end());
  return v;
}

// The eclipse lines alone, in UTF-8.
std::vector<std::string> EclipseLines(std::int32_t year) {
  const auto all = Utf8(EclipseListLines(year));
  return {all.begin() + static_cast<long>(kHead.size()),
          all.end() - static_cast<long>(kNote.size())};
}

}  // namespace

TEST(EclipseListTest, Year1999) {
  const std::vector<std::string> lines = EclipseListLines(1999);
  EXPECT_EQ(Utf8(lines), List({
                             " 1  31.01.1999  16:21:43   11°28’Льва       Лунное полутеневое",
                             " 2  16.02.1999  06:35:29   27°07’Водолея    Солнечное кольцеобразное",
                             " 3  28.07.1999  11:33:28   05°02’Водолея    Лунное частное",
                             " 4  11.08.1999  11:04:28   18°21’Льва       Солнечное полное",
                         }));
  // Fixed pitch: the columns are counted in 1251 characters, one byte each.
  EXPECT_EQ(lines[5].substr(0, 27), " 1  31.01.1999  16:21:43   ");
  EXPECT_EQ(lines[5].substr(27, 15), FormatEclipseDegree(Eclipse_Table[1].Lon));
}

TEST(EclipseListTest, Year2012) {
  EXPECT_EQ(EclipseLines(2012),
            (std::vector<std::string>{
                " 1  20.05.2012  23:53:20   00°20’Близнецов  Солнечное кольцеобразное",
                " 2  04.06.2012  11:03:51   14°09’Стрельца   Лунное частное",
                " 3  13.11.2012  22:11:51   21°56’Скорпиона  Солнечное полное",
                " 4  28.11.2012  14:35:58   06°41’Близнецов  Лунное полутеневое"}));
}

TEST(EclipseListTest, CalendarYearBounds) {
  // 31.12.2028 16:52 lies after start + 365.25 days of the leap year 2028
  // and before 1 January 2029: listed under 2028 only.
  const auto y2028 = EclipseLines(2028), y2029 = EclipseLines(2029);
  ASSERT_FALSE(y2028.empty());
  EXPECT_EQ(y2028.back(), " 5  31.12.2028  16:52:19   10°34’Рака       Лунное полное");
  for (const auto& l : y2029) EXPECT_EQ(l.find("31.12.2028"), std::string::npos) << l;
  // 01.01.2048 06:52, after a new moon more than a week away: listed
  // first under 2048 and not under 2047.
  const auto y2047 = EclipseLines(2047), y2048 = EclipseLines(2048);
  ASSERT_FALSE(y2048.empty());
  EXPECT_EQ(y2048.front(), " 1  01.01.2048  06:52:26   10°28’Рака       Лунное полное");
  for (const auto& l : y2047) EXPECT_EQ(l.find("01.01.2048"), std::string::npos) << l;

  // Every year: each line dated in its year, numbered 1, 2, 3 ...
  for (std::int32_t year = 1900; year <= 2050; ++year) {
    const auto lines = EclipseLines(year);
    EXPECT_GE(lines.size(), 2u) << year;
    EXPECT_LE(lines.size(), 7u) << year;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].substr(0, 4), " " + std::to_string(i + 1) + "  ") << year;
      EXPECT_EQ(lines[i].substr(10, 4), std::to_string(year)) << lines[i];
    }
  }
}

TEST(EclipseListTest, FormatEclipseDegreeBytes) {
  const struct {
    double lon;
    const char* utf8;
  } cases[] = {{0, "00°00’Овна     "},      {130.5, "10°30’Льва     "},
               {359.99, "29°59’Рыб      "}, {29.9999999, "29°59’Овна     "},
               {30, "00°00’Тельца   "},     {235.0166667, "25°01’Скорпиона"},
               {9.1, "09°05’Овна     "}};  // 9.1 is 9.0999...: minutes truncated
  for (const auto& c : cases) {
    const std::string s = FormatEclipseDegree(c.lon);
    EXPECT_EQ(s.size(), 15u) << c.lon;
    EXPECT_EQ(FromCp1251(s), c.utf8) << c.lon;
    EXPECT_EQ(static_cast<unsigned char>(s[2]), 0xB0) << c.lon;
    EXPECT_EQ(static_cast<unsigned char>(s[5]), 0x92) << c.lon;
  }
  EXPECT_EQ(FormatEclipseDegree(0),
            "00\xB0"
            "00\x92\xCE\xE2\xED\xE0     ");
  for (int sign = 1; sign <= 12; ++sign) {
    EXPECT_EQ(FormatEclipseDegree((sign - 1) * 30 + 17.75).substr(6), Sign_Genitive[sign]);
    EXPECT_EQ(Sign_Genitive[sign].size(), 9u) << sign;
  }
}

TEST(EclipseListTest, LabelTables) {
  EXPECT_EQ(FromCp1251(Eclipse_Kind[0]), "Солнечное");
  EXPECT_EQ(FromCp1251(Eclipse_Kind[1]), "Лунное");
  EXPECT_EQ(FromCp1251(Eclipse_Type[0]), "затмения нет");
  EXPECT_EQ(FromCp1251(Eclipse_Type[4]), "кольцеобр/полное");
  EXPECT_EQ(FromCp1251(Eclipse_Type[5]), "возможно частное");
  EXPECT_EQ(FromCp1251(Eclipse_Type[6]), "полутеневое");
  EXPECT_THROW(Eclipse_Type[7], std::out_of_range);
  EXPECT_THROW(Sign_Genitive[0], std::out_of_range);
}

TEST(EclipseListTest, YearOverflowIsAnError) {
  EXPECT_THROW(EclipseListLines(std::numeric_limits<std::int32_t>::max()), std::overflow_error);
}
