#include "eclipse_list.h"

#include <utility>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/text.h"

namespace kv {

const Table<std::string, 2, 0> Eclipse_Kind = Cp1251Table<0>({"Солнечное", "Лунное"});

const Table<std::string, 7, 0> Eclipse_Type =
    Cp1251Table<0>({"затмения нет", "полное", "кольцеобразное", "частное", "кольцеобр/полное",
                    "возможно частное", "полутеневое"});

const Table<std::string, 12> Sign_Genitive =
    Cp1251Table({"Овна     ", "Тельца   ", "Близнецов", "Рака     ", "Льва     ", "Девы     ",
                 "Весов    ", "Скорпиона", "Стрельца ", "Козерога ", "Водолея  ", "Рыб      "});

std::string FormatEclipseDegree(double lon) {
  // Normalize360 may give exactly 360: that is 0 degrees of Aries, not a
  // thirteenth sign.
  if (lon >= 360.0) lon = 0.0;
  std::int32_t d = Trunc(lon);
  const std::int32_t m = Trunc(Frac(lon) * 60.0L);
  std::int32_t s = 1;
  while (d > 29) {
    d = Sub(d, 30);
    s = Add(s, 1);
  }
  static const std::string kDegree = ToCp1251("°"), kMinute = ToCp1251("’");
  return TwoDigits(d) + kDegree + TwoDigits(m) + kMinute + Sign_Genitive[s];
}

std::string EclipseLine(int i, const LocalClock& clock) {
  const TEclipseData& r = Eclipse_Table[i];
  std::string date, time;
  DayNumberToStrings(clock.Local(r.Instant), date, time);
  return " " + std::to_string(i) + "  " + date + "  " + time + "   " + FormatEclipseDegree(r.Lon) +
         "  " + Eclipse_Kind[r.Lunar ? 1 : 0] + " " + Eclipse_Type[r.Kind];
}

std::vector<EclipseListLine> EclipseList(std::int32_t year, const LocalClock& clock) {
  // The calendar year: an eclipse on 31 December of a leap year belongs to
  // it, one on 1 January to the next year.
  const double start = clock.DateStart(DayNumber(1, 1, year, 0, 0, 0));
  const double end = clock.DateStart(DayNumber(1, 1, Add(year, 1), 0, 0, 0));
  const bool gmt = clock.IsGmt();

  std::vector<EclipseListLine> lines;
  for (const char* s : {" ", "                       ОБСТОЯТЕЛЬСТВА ЗАТМЕНИЙ ", " ",
                        gmt ? " N     Дата     Время GMT  Градус затмения    Тип затмения  "
                            : " N     Дата     Время      Градус затмения    Тип затмения  ",
                        " "})
    lines.push_back({ToCp1251(s)});

  FindEclipses(start, end);
  for (int i = Eclipse_Table.first(); i <= Eclipse_Table.last(); ++i)
    if (Eclipse_Table[i].Used) lines.push_back({EclipseLine(i, clock), i, Eclipse_Table[i]});

  std::vector<std::string> note{" ", " ", " Примечание: "};
  if (gmt) {
    note.insert(note.end(), {" Даты и время затмений приведены по Гринвичскому времени.",
                             " Для перехода к местному времени нужно учесть часовой пояс и, ",
                             " при необходимости, Зимнее/Летнее время."});
  } else {
    note.push_back(" Даты и время затмений приведены по времени " + clock.Name + ".");
  }
  note.push_back(" ");
  for (const std::string& s : note) lines.push_back({ToCp1251(s)});
  return lines;
}

std::vector<std::string> EclipseListLines(std::int32_t year) {
  std::vector<std::string> texts;
  for (EclipseListLine& l : EclipseList(year)) texts.push_back(std::move(l.text));
  return texts;
}

}  // namespace kv
