// The year's eclipse list of the eclipses tab: fixed-pitch lines in
// Windows-1251, ready for the list box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/table.h"
#include "eclipses.h"

namespace kv {

extern const Table<std::string, 2, 0> Eclipse_Kind;  // by Lunar: solar, lunar
extern const Table<std::string, 7, 0> Eclipse_Type;  // by type code 0..6
extern const Table<std::string, 12> Sign_Genitive;   // by sign, padded to 9 characters

// "dd°mm’" and the sign in the genitive: 15 characters, 0 <= lon < 360.
std::string FormatEclipseDegree(double lon);

// The list line of record i of Eclipse_Table, dated by the clock.
std::string EclipseLine(int i, const LocalClock& clock = {});

// A line of the list and the eclipse it shows: its number (the record of
// Eclipse_Table) and a copy of the record; number 0 for the lines of the
// title, the column header and the closing note.
struct EclipseListLine {
  std::string text;
  int record = 0;
  TEclipseData eclipse{};
};

// The whole list of one calendar year of the clock, from 1 January 00:00 to
// 1 January 00:00 of the next year: title, header, one line per eclipse,
// closing note, which for another clock than GMT names it. Leaves the
// search result in Eclipse_Table.
std::vector<EclipseListLine> EclipseList(std::int32_t year, const LocalClock& clock = {});
// Its texts alone, as the list box shows them.
std::vector<std::string> EclipseListLines(std::int32_t year);

}  // namespace kv
