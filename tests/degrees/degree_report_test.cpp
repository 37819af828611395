#include "degrees/degree_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "core/calendar.h"
#include "core/planets.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "fixture.h"

using namespace kv;

namespace {

const char* const kMonths[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                               "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
const char* const kSignsGen[] = {"Овна",  "Тельца",    "Близнецов", "Рака",     "Льва",    "Девы",
                                 "Весов", "Скорпиона", "Стрельца",  "Козерога", "Водолея", "Рыб"};
const char* const kSigns[] = {"Овен", "Телец",    "Близнецы", "Рак",     "Лев",     "Дева",
                              "Весы", "Скорпион", "Стрелец",  "Козерог", "Водолей", "Рыбы"};
const char* const kPlanets[] = {"Солнце", "Луна",   "Меркурий", "Венера", "Марс",
                                "Юпитер", "Сатурн", "Уран",     "Нептун", "Плутон"};

struct Place {
  int deg, min, sign, inSign;
};
Place PlaceOf(double lon) {
  const int deg = static_cast<int>(std::floor(lon));
  return {deg, static_cast<int>((lon - deg) * 60), deg / 30 + 1, deg % 30};
}
std::string Position(double lon) {
  const Place p = PlaceOf(lon);
  return " " + std::to_string(p.inSign) + "град. " + std::to_string(p.min) + "мин. " +
         kSignsGen[p.sign - 1] + " ";
}

// The page as the template reads, in UTF-8 apart from the paragraphs and
// the name, which are Windows-1251 bytes already; lines converted at the end.
std::vector<std::string> ExpectedPage(const std::string& name1251, int day, int month, int year,
                                      int hour, int minute, const double (&lon)[10],
                                      const std::string& mainDir) {
  const auto paragraphs = ShippedParagraphs();
  const Place sun = PlaceOf(lon[0]);
  char pic[16];
  std::snprintf(pic, sizeof pic, "%02d", sun.sign);
  std::vector<std::string> u = {
      "<head>",
      "<title> Планеты Вашего гороскопа </title>",
      R"(<meta content="text/html; charset=windows-1251" http-equiv="Content-Type">)",
      "<style>",
      "h1 {COLOR: #333399; FONT-FAMILY: arial; font-size: 20px; TEXT-ALIGN: center}",
      "p {COLOR: #000000; FONT-FAMILY: arial; FONT-SIZE: 16px; TEXT-ALIGN: justify }",
      "</style>",
      "</head>",
      "",
      R"(<DIV align="center">)",
      R"(<table border="0" width="100%" cellspacing="5" cellpadding="5" bgcolor="#FFFFFF">)",
      "<tr><td>",
      "<h1><b>Планеты вашего гороскопа</b></h1>",
      "\x01",  // the date line, filled in below
      "</p></td></tr>",
      R"(<tr><td> <p><font color="#882200">)",
      R"(<img border="0" src=")" + mainDir + "/Html/images/" + pic +
          R"(.gif" width="100" height="100" align="left" hspace="15">)",
      "<b>Солнце в момент вашего рождения находилось в точке " + Position(lon[0]) + "<br>",
      "Итак, Вы, вне всякого сомнения - " + std::string(kSigns[sun.sign - 1]) + " !</b> </font>",
      "</td></tr>",
      "<tr><td><p>",
      "Каждая планета в Вашем гороскопе стоит в определенном градусе Зодиакального ",
      "круга - и отчасти &quot;приобретает&quot; свойства этого градуса. А поскольку планеты ",
      "символически соответствуют свойствам Вашей личности, то и в Вашей судьбе ",
      "окажутся подчеркнуты, выявлены качества этого градуса. Если большинство планет ",
      "Вашего гороскопа стоят в неблагоприятных градусах - это не есть хорошо, и ",
      "наоборот, если Ваши планеты расположились в благоприятных градусах (а среди них ",
      R"(есть и "королевские"), то Ваша жизнь сложится легче и счастливее, даже без)",
      "особых Ваших усилий. </td></tr>"};
  std::vector<std::string> page;
  for (const auto& l : u) page.push_back(ToCp1251(l));
  page[13] = ToCp1251(R"(<p style="text-align: center"> (<b>)") + name1251 +
             ToCp1251("</b> &nbsp; " + std::to_string(day) + " " + kMonths[month - 1] + " " +
                      std::to_string(year) + " г. " + std::to_string(hour) + ":" +
                      std::to_string(minute) + " МСК)");
  for (int k = 0; k < 10; ++k) {
    page.push_back(ToCp1251(R"(<tr><td><p><font color="#882200"><b>)" + std::string(kPlanets[k]) +
                            "</b>:" + Position(lon[k]) + "</b></font> <br>"));
    page.push_back(paragraphs.at(PlaceOf(lon[k]).deg) + "</td></tr>");
  }
  for (const char* l : {"<tr><td> &nbsp; </td></tr>", "</table>", "</div>", "</body></html>"})
    page.push_back(l);
  return page;
}

class DegreeReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyShippedHtml(dir_.path());
    UseMainDirectory(dir_.str());
  }
  std::vector<std::string> PageLines() {
    std::vector<std::string> lines;
    EXPECT_TRUE(SplitCrLf(ReadBytes(Report_File_Name), lines)) << "not CR LF throughout";
    return lines;
  }
  static void ExpectChartAt(double x) {
    TChart c{};
    FillChart(c, x);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(Horoscope_Chart[k].Lon, c[k].Lon) << k;
  }
  static void PlaceAll(double lon) {
    for (int k = 1; k <= 10; ++k) {
      Horoscope_Chart[k].Lon = lon;
      SetDegreeFields(Horoscope_Chart[k]);
    }
  }
  TempDir dir_;
};

void ExpectSamePage(const std::vector<std::string>& got, const std::vector<std::string>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(got[i], want[i]) << "line " << i + 1 << ": " << FromCp1251(got[i]);
}

TEST_F(DegreeReportTest, InitialInputLineByLine) {
  const std::string& file = MakeDegreeReport("", 15, 6, 1985, 12, 15);
  EXPECT_EQ(file, MainDir + "Html/Gradus_html.html");
  EXPECT_EQ(Report_File_Name, file);
  EXPECT_EQ(Report_Name, "");

  // Moscow 12:15 is 09:15 universal time, to the last bit of the day number.
  ExpectChartAt(DayNumber(15, 6, 1985, 12, 15, 0) - 0.125);
  TChart gmt{};
  FillChart(gmt, DayNumber(15, 6, 1985, 9, 15, 0));
  double lon[10];
  for (int k = 1; k <= 10; ++k) {
    EXPECT_NEAR(Horoscope_Chart[k].Lon, gmt[k].Lon, 1e-9) << k;
    lon[k - 1] = Horoscope_Chart[k].Lon;
    const Place p = PlaceOf(lon[k - 1]);
    EXPECT_EQ(Horoscope_Chart[k].Deg, p.deg);
    EXPECT_EQ(Horoscope_Chart[k].Min, p.min);
    EXPECT_EQ(Horoscope_Chart[k].Sign, p.sign);
    EXPECT_EQ(Horoscope_Chart[k].DegInSign, p.inSign);
    EXPECT_EQ(Horoscope_Chart[k].DegNum, p.inSign + 1);
  }
  const auto page = PageLines();
  ExpectSamePage(page, ExpectedPage("", 15, 6, 1985, 12, 15, lon, MainDir));
  ASSERT_EQ(page.size(), 53u);
  // Mid-June: the Sun in Gemini; an empty name leaves the bold tags empty.
  EXPECT_EQ(Horoscope_Chart[1].Sign, 3);
  EXPECT_NE(page[16].find("//Html/images/03.gif\""), std::string::npos);
  EXPECT_EQ(FromCp1251(page[13]),
            "<p style=\"text-align: center\"> (<b></b> &nbsp; 15 июня 1985 г. 12:15 МСК)");
}

TEST_F(DegreeReportTest, NewYearBirthBeforeThreeIsThePreviousYearInGmt) {
  struct Case {
    int hour, minute;
    int gmtDay, gmtMonth, gmtYear, gmtHour;
  };
  for (const Case c :
       {Case{0, 0, 31, 12, 1999, 21}, Case{2, 59, 31, 12, 1999, 23}, Case{3, 0, 1, 1, 2000, 0}}) {
    MakeDegreeReport("Ёлка", 1, 1, 2000, c.hour, c.minute);
    const double dn = DayNumber(1, 1, 2000, c.hour, c.minute, 0) - 0.125;
    ExpectChartAt(dn);
    const CalendarDate g = DayNumberToDate(dn);
    EXPECT_EQ(g.Day, c.gmtDay);
    EXPECT_EQ(g.Month, c.gmtMonth);
    EXPECT_EQ(g.Year, c.gmtYear);
    EXPECT_EQ(g.Hour, c.gmtHour);
    TChart gmt{};
    FillChart(gmt, DayNumber(c.gmtDay, c.gmtMonth, c.gmtYear, c.gmtHour, c.minute, 0));
    double lon[10];
    for (int k = 1; k <= 10; ++k) {
      EXPECT_NEAR(Horoscope_Chart[k].Lon, gmt[k].Lon, 1e-9);
      lon[k - 1] = Horoscope_Chart[k].Lon;
    }
    ExpectSamePage(PageLines(),
                   ExpectedPage(ToCp1251("Ёлка"), 1, 1, 2000, c.hour, c.minute, lon, MainDir));
    EXPECT_EQ(Horoscope_Chart[1].Sign, 10);  // Capricorn: picture 10.gif
  }
  EXPECT_NE(PageLines()[13].find(ToCp1251("1 января 2000 г. 3:0 МСК)")), std::string::npos);
}

TEST_F(DegreeReportTest, DatesAsEnteredAndMinutesUnpadded) {
  // 30 February is computed as 2 March and printed as entered.
  MakeDegreeReport("", 30, 2, 1985, 0, 5);
  ExpectChartAt(DayNumber(2, 3, 1985, 0, 5, 0) - 0.125);
  EXPECT_EQ(FromCp1251(PageLines()[13]),
            "<p style=\"text-align: center\"> (<b></b> &nbsp; 30 февраля 1985 г. 0:5 МСК)");
  for (int m = 1; m <= 12; ++m) {
    MakeDegreeReport("", 9, m, 2100, 23, 59);
    EXPECT_NE(FromCp1251(PageLines()[13])
                  .find(std::string(" 9 ") + kMonths[m - 1] + " 2100 г. 23:59 МСК)"),
              std::string::npos);
  }
}

TEST_F(DegreeReportTest, DegreeFieldsAtTheEdges) {
  struct Case {
    double lon;
    int deg, min, sign, inSign;
    const char* text;
  };
  const Case cases[] = {{0.0, 0, 0, 1, 0, " 0град. 0мин. Овна "},
                        {360.0, 0, 0, 1, 0, " 0град. 0мин. Овна "},  // taken as 0
                        {30.0, 30, 0, 2, 0, " 0град. 0мин. Тельца "},
                        {84.0834, 84, 5, 3, 24, " 24град. 5мин. Близнецов "},
                        {299.999, 299, 59, 10, 29, " 29град. 59мин. Козерога "},
                        {330.0, 330, 0, 12, 0, " 0град. 0мин. Рыб "},
                        {359.99, 359, 59, 12, 29, " 29град. 59мин. Рыб "},
                        {std::nextafter(360.0, 0.0), 359, 59, 12, 29, " 29град. 59мин. Рыб "}};
  for (const Case& c : cases) {
    TPlanetData p{};
    p.Lon = c.lon;
    SetDegreeFields(p);
    EXPECT_EQ(p.Deg, c.deg) << c.lon;
    EXPECT_EQ(p.Min, c.min) << c.lon;
    EXPECT_EQ(p.Sign, c.sign) << c.lon;
    EXPECT_EQ(p.DegInSign, c.inSign) << c.lon;
    EXPECT_EQ(p.DegNum, c.inSign + 1) << c.lon;
    EXPECT_GE(p.Sec, 0);
    EXPECT_LE(p.Sec, 59);
    EXPECT_EQ(FromCp1251(PositionText(p)), c.text) << c.lon;
  }
  TPlanetData p{};
  p.Lon = 10.5 + 30.5 / 3600;  // 10°30'30.5"
  SetDegreeFields(p);
  EXPECT_EQ(p.Sec, 30);
}

TEST_F(DegreeReportTest, LastDegreeAndLongitude360ReachTheBase) {
  const auto paragraphs = ShippedParagraphs();
  for (const double lon : {359.99, 360.0}) {
    PlaceAll(lon);
    WriteDegreePage("", 1, 1, 2000, 12, 0, MainDir + "Html/Gradus_html.html");
    Report_File_Name = MainDir + "Html/Gradus_html.html";
    const auto page = PageLines();
    ASSERT_EQ(page.size(), 53u);
    const int key = lon == 360.0 ? 0 : 359;
    for (int k = 0; k < 10; ++k) EXPECT_EQ(page[30 + 2 * k], paragraphs.at(key) + "</td></tr>");
    EXPECT_NE(page[16].find(lon == 360.0 ? "/01.gif\"" : "/12.gif\""), std::string::npos);
  }
}

TEST_F(DegreeReportTest, SunPictureForEachSign) {
  for (int n = 1; n <= 12; ++n) {
    double lon[10];
    for (int k = 0; k < 10; ++k) lon[k] = (n - 1) * 30 + 0.25 + k * 3;
    for (int k = 1; k <= 10; ++k) {
      Horoscope_Chart[k].Lon = lon[k - 1];
      SetDegreeFields(Horoscope_Chart[k]);
    }
    Report_File_Name = MainDir + "Html/Gradus_html.html";
    WriteDegreePage("", 15, 6, 1985, 12, 15, Report_File_Name);
    ExpectSamePage(PageLines(), ExpectedPage("", 15, 6, 1985, 12, 15, lon, MainDir));
    char nn[16];
    std::snprintf(nn, sizeof nn, "%02d", n);
    const std::string path = MainDir + "/Html/images/" + nn + ".gif";
    EXPECT_EQ(SunPicturePath(n), path);
    EXPECT_NE(path.find("//Html/images/"), std::string::npos);
    EXPECT_TRUE(FileExists(path)) << path;
  }
}

TEST_F(DegreeReportTest, PicturePathSurvivesAnyMainDirectory) {
  // The directory goes into a URL of a 1251 page: what a URL cannot carry
  // as it stands is percent-encoded as UTF-8 bytes.
  UseMainDirectory("/home/Тест 1/a\"b%c#d?e&f");
  EXPECT_EQ(SunPicturePath(7),
            "/home/%D0%A2%D0%B5%D1%81%D1%82%201/a%22b%25c%23d%3Fe%26f//Html/images/07.gif");
}

TEST_F(DegreeReportTest, NameIsEscaped) {
  struct Case {
    const char* utf8;
    const char* page;  // Windows-1251 bytes
  };
  const Case cases[] = {{"", ""},
                        {"Tom & \"Jerry\" <b>", "Tom &amp; &quot;Jerry&quot; &lt;b&gt;"},
                        {"&amp;", "&amp;amp;"},
                        {"Анна Ёлкина №1 €",
                         "\xC0\xED\xED\xE0 \xA8\xEB\xEA\xE8\xED\xE0 \xB9"
                         "1 \x88"},
                        {"王芳", "&#29579;&#33459;"},
                        {"😀", "&#128512;"},
                        {"José", "Jos&#233;"},
                        {"a\nb\rc\td", "a&#10;b&#13;c&#9;d"},
                        {"<script>alert('x')</script>", "&lt;script&gt;alert('x')&lt;/script&gt;"}};
  for (const Case& c : cases) EXPECT_EQ(HtmlName(c.utf8), c.page) << c.utf8;

  const std::string name = "<i>Мария</i> & 李 😀";
  MakeDegreeReport(name, 15, 6, 1985, 12, 15);
  EXPECT_EQ(Report_Name, name);
  const auto page = PageLines();
  ASSERT_EQ(page.size(), 53u);
  EXPECT_EQ(page[13], ToCp1251("<p style=\"text-align: center\"> (<b>&lt;i&gt;Мария&lt;/i&gt; "
                               "&amp; &#26446; &#128512;</b> &nbsp; 15 июня 1985 г. 12:15 МСК)"));
}

TEST_F(DegreeReportTest, FailuresKeepThePreviousPage) {
  const std::string page = MainDir + "Html/Gradus_html.html";
  const auto fullPage = [&] {
    MakeDegreeReport("", 15, 6, 1985, 12, 15);
    return ReadBytes(page);
  }();

  // A longer old page is replaced whole, not patched.
  WriteBytes(page, fullPage + fullPage);
  MakeDegreeReport("", 15, 6, 1985, 12, 15);
  EXPECT_EQ(ReadBytes(page), fullPage);

  const int fds = OpenDescriptors();
  for (const char* broken : {"missing", "malformed"}) {
    fs::remove(dir_.path() / "Html" / "gradus.txt");
    if (std::string(broken) == "malformed")
      WriteBytes(dir_.path() / "Html" / "gradus.txt",
                 ReadBytes(kShippedHtml / "gradus.txt") + "* 7 \r\nbroken\r\n");
    if (std::string(broken) == "missing")
      EXPECT_THROW(MakeDegreeReport("", 16, 7, 1990, 1, 5), FileError);
    else
      EXPECT_THROW(MakeDegreeReport("", 16, 7, 1990, 1, 5), ConvertError);
    // The page of the last good report stays, and no half-written one is left.
    EXPECT_EQ(ReadBytes(page), fullPage) << broken;
    for (const auto& e : fs::directory_iterator(dir_.path() / "Html"))
      EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << broken << ": " << e.path();
  }
  EXPECT_EQ(OpenDescriptors(), fds);

  // No Html folder: the create fails and nothing is written.
  fs::remove_all(dir_.path() / "Html");
  try {
    MakeDegreeReport("", 15, 6, 1985, 12, 15);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(page), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "Html"));
  EXPECT_EQ(OpenDescriptors(), fds);
}

TEST_F(DegreeReportTest, BidirectionalControlsOfTheNameAreLeftOut) {
  EXPECT_EQ(
      HtmlName("\u202EМария\u2066 \u200Fx\u2069\u200E\u061C\u202A\u202B\u202C\u202D\u2067\u2068"),
      ToCp1251("Мария x"));
}

}  // namespace
