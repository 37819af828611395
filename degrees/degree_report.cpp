#include "degree_report.h"

#include <QList>
#include <QString>

#include <array>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "degree_text.h"

namespace kv {

namespace {

std::string Dec(std::int64_t v) { return std::to_string(v); }

// The fixed lines of the page, converted once.
struct PageText {
  std::array<std::string, 13> head;                   // lines 1 to 13
  std::string dateOpen, dateRest, dateYear, dateEnd;  // pieces of line 14
  std::array<std::string, 2> sunOpen;                 // lines 15, 16
  std::string imgOpen, imgClose;                      // line 17
  std::string sunPlace, sunSign, sunSignEnd;          // lines 18, 19
  std::array<std::string, 10> intro;                  // lines 20 to 29
  std::string planetOpen, planetColon, planetClose, rowClose;
  std::array<std::string, 4> tail;  // lines 31 to 34
  std::string deg, min;

  PageText() {
    const char* h[] = {
        "<head>",
        "<title> Планеты Вашего гороскопа </title>",
        "<meta content=\"text/html; charset=windows-1251\" http-equiv=\"Content-Type\">",
        "<style>",
        "h1 {COLOR: #333399; FONT-FAMILY: arial; font-size: 20px; TEXT-ALIGN: center}",
        "p {COLOR: #000000; FONT-FAMILY: arial; FONT-SIZE: 16px; TEXT-ALIGN: justify }",
        "</style>",
        "</head>",
        "",
        "<DIV align=\"center\">",
        "<table border=\"0\" width=\"100%\" cellspacing=\"5\" cellpadding=\"5\" bgcolor=\"#FFFFFF\">",
        "<tr><td>",
        "<h1><b>Планеты вашего гороскопа</b></h1>"};
    for (std::size_t i = 0; i < head.size(); ++i) head[i] = ToCp1251(h[i]);
    dateOpen = ToCp1251("<p style=\"text-align: center\"> (<b>");
    dateRest = ToCp1251("</b> &nbsp; ");
    dateYear = ToCp1251(" г. ");
    dateEnd = ToCp1251(" МСК)");
    sunOpen = {ToCp1251("</p></td></tr>"), ToCp1251("<tr><td> <p><font color=\"#882200\">")};
    imgOpen = ToCp1251("<img border=\"0\" src=\"");
    imgClose = ToCp1251("\" width=\"100\" height=\"100\" align=\"left\" hspace=\"15\">");
    sunPlace = ToCp1251("<b>Солнце в момент вашего рождения находилось в точке ");
    sunSign = ToCp1251("Итак, Вы, вне всякого сомнения - ");
    sunSignEnd = ToCp1251(" !</b> </font>");
    const char* in[] = {
        "</td></tr>",
        "<tr><td><p>",
        "Каждая планета в Вашем гороскопе стоит в определенном градусе Зодиакального ",
        "круга - и отчасти &quot;приобретает&quot; свойства этого градуса. А поскольку планеты ",
        "символически соответствуют свойствам Вашей личности, то и в Вашей судьбе ",
        "окажутся подчеркнуты, выявлены качества этого градуса. Если большинство планет ",
        "Вашего гороскопа стоят в неблагоприятных градусах - это не есть хорошо, и ",
        "наоборот, если Ваши планеты расположились в благоприятных градусах (а среди них ",
        "есть и \"королевские\"), то Ваша жизнь сложится легче и счастливее, даже без",
        "особых Ваших усилий. </td></tr>"};
    for (std::size_t i = 0; i < intro.size(); ++i) intro[i] = ToCp1251(in[i]);
    planetOpen = ToCp1251("<tr><td><p><font color=\"#882200\"><b>");
    planetColon = ToCp1251("</b>:");
    planetClose = ToCp1251("</b></font> <br>");
    rowClose = ToCp1251("</td></tr>");
    tail = {ToCp1251("<tr><td> &nbsp; </td></tr>"), ToCp1251("</table>"), ToCp1251("</div>"),
            ToCp1251("</body></html>")};
    deg = ToCp1251("град. ");
    min = ToCp1251("мин. ");
  }
};

const PageText& Page() {
  static const PageText p;
  return p;
}

}  // namespace

const Table<std::string, 10> Planet_Names =
    Cp1251Table({"Солнце", "Луна", "Меркурий", "Венера", "Марс", "Юпитер", "Сатурн", "Уран",
                 "Нептун", "Плутон"});
const Table<std::string, 12> Month_Names_Gen =
    Cp1251Table({"января", "февраля", "марта", "апреля", "мая", "июня", "июля", "августа",
                 "сентября", "октября", "ноября", "декабря"});
const Table<std::string, 12> Sign_Names_Gen =
    Cp1251Table({"Овна", "Тельца", "Близнецов", "Рака", "Льва", "Девы", "Весов", "Скорпиона",
                 "Стрельца", "Козерога", "Водолея", "Рыб"});
const Table<std::string, 12> Sign_Names =
    Cp1251Table({"Овен", "Телец", "Близнецы", "Рак", "Лев", "Дева", "Весы", "Скорпион", "Стрелец",
                 "Козерог", "Водолей", "Рыбы"});

std::string Report_Name;
std::string Report_File_Name;

void SetDegreeFields(TPlanetData& p) {
  // The ephemeris' normalisation may give exactly 360, which would make a
  // thirteenth sign.
  if (p.Lon == 360.0) p.Lon = 0.0;
  p.Deg = Trunc(p.Lon);
  p.Min = Trunc(Frac(p.Lon) * 60);
  p.Sec = Trunc((static_cast<long double>(p.Lon) - p.Deg - p.Min / 60.0L) * 3600);
  p.DegInSign = p.Deg;
  p.Sign = 1;
  while (p.DegInSign >= 30) {
    p.DegInSign = Sub(p.DegInSign, 30);
    p.Sign = Add(p.Sign, 1);
  }
  p.DegNum = Add(p.DegInSign, 1);
}

std::string PositionText(const TPlanetData& p) {
  return " " + Dec(p.DegInSign) + Page().deg + Dec(p.Min) + Page().min + Sign_Names_Gen[p.Sign] +
         " ";
}

std::string SunPicturePath(std::int32_t sign) {
  const std::string raw = MainDir + "/Html/images/" + TwoDigits(sign) + ".gif";
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : raw) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F || c == '"' || c == '%' || c == '#' || c == '?' || c == '&' ||
        c == '<' || c == '>' || c == '\\' || c == '\'') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

namespace {
// The marks, embeddings, overrides and isolates of bidirectional text.
bool IsBidiControl(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}
}  // namespace

std::string HtmlName(std::string_view utf8) {
  const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  std::string out;
  for (const char32_t c : s.toUcs4()) {
    // Dropped: the page's own date text would be turned around after them.
    if (IsBidiControl(c)) continue;
    switch (c) {
      case U'&': out += "&amp;"; continue;
      case U'<': out += "&lt;"; continue;
      case U'>': out += "&gt;"; continue;
      case U'"': out += "&quot;"; continue;
      default: break;
    }
    // Control characters too: a line break in the name must not split the
    // page's lines.
    if (c < 0x20 || c == 0x7F || !EncodableInCp1251(c)) {
      out += "&#" + Dec(c) + ";";
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += ToCp1251(QString::fromUcs4(&c, 1).toStdString());
    }
  }
  return out;
}

void WriteDegreePage(const std::string& name, std::int32_t day, std::int32_t month,
                     std::int32_t year, std::int32_t hour, std::int32_t minute,
                     const std::string& fileName, std::string_view clock) {
  const PageText& t = Page();
  const TPlanetData& sun = Horoscope_Chart[1];
  const std::string picture = SunPicturePath(sun.Sign);
  const std::string base = MainDir + "Html/gradus.txt";

  TextWriter w(fileName);
  for (const auto& l : t.head) w.WriteLine(l);
  w.WriteLine(t.dateOpen + HtmlName(name) + t.dateRest + Dec(day) + " " + Month_Names_Gen[month] +
              " " + Dec(year) + t.dateYear + Dec(hour) + ":" + Dec(minute) +
              (clock.empty() ? t.dateEnd : ", " + HtmlName(clock) + ")"));
  for (const auto& l : t.sunOpen) w.WriteLine(l);
  w.WriteLine(t.imgOpen + picture + t.imgClose);
  w.WriteLine(t.sunPlace + PositionText(sun) + "<br>");
  w.WriteLine(t.sunSign + Sign_Names[sun.Sign] + t.sunSignEnd);
  for (const auto& l : t.intro) w.WriteLine(l);
  for (int k = 1; k <= kBodies; ++k) {
    const TPlanetData& p = Horoscope_Chart[k];
    w.WriteLine(t.planetOpen + Planet_Names[k] + t.planetColon + PositionText(p) + t.planetClose);
    std::string text;
    FindDegreeText(base, p.Deg, text);
    w.WriteLine(text + t.rowClose);
  }
  for (const auto& l : t.tail) w.WriteLine(l);
  w.Close();
}

void WriteDegreeReport(const std::string& name, std::int32_t day, std::int32_t month,
                       std::int32_t year, std::int32_t hour, std::int32_t minute,
                       const std::string& fileName) {
  // Moscow time is GMT + 3 hours, with no daylight saving.
  const double dn = DayNumber(day, month, year, hour, minute, 0) - 0.125;
  WriteDegreeReportAt(name, day, month, year, hour, minute, dn, {}, fileName);
}

void WriteDegreeReportAt(const std::string& name, std::int32_t day, std::int32_t month,
                         std::int32_t year, std::int32_t hour, std::int32_t minute, double x,
                         std::string_view clock, const std::string& fileName) {
  for (int k = 1; k <= kBodies; ++k) {
    TPlanetData& p = Horoscope_Chart[k];
    PlanetPosition(k, x, p.Lon, p.Decl, p.Speed, p.Sign);
  }
  for (int k = 1; k <= kBodies; ++k) SetDegreeFields(Horoscope_Chart[k]);
  WriteDegreePage(name, day, month, year, hour, minute, fileName, clock);
}

const std::string& MakeDegreeReport(const std::string& name, std::int32_t day, std::int32_t month,
                                    std::int32_t year, std::int32_t hour, std::int32_t minute) {
  Report_Name = name;
  Report_File_Name = MainDir + "Html/Gradus_html.html";
  WriteDegreeReport(Report_Name, day, month, year, hour, minute, Report_File_Name);
  return Report_File_Name;
}

const std::string& MakeDegreeReportAt(const std::string& name, std::int32_t day, std::int32_t month,
                                      std::int32_t year, std::int32_t hour, std::int32_t minute,
                                      double x, std::string_view clock) {
  Report_Name = name;
  Report_File_Name = MainDir + "Html/Gradus_html.html";
  WriteDegreeReportAt(Report_Name, day, month, year, hour, minute, x, clock, Report_File_Name);
  return Report_File_Name;
}

}  // namespace kv
