// The year's eclipse list of the eclipses tab: fixed-pitch lines in
// Windows-1251, ready for the list box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/table.h"
#include "eclipses.h"

namespace kv {

extern const Table<std::string, 2, 0> Eclipse_Kind;  // by Lunar: solar, lunar
extern const Table<std::string, 7, 0> Eclipse_Type;  // by type code 0..6
extern const Table<std::string, 12> Sign_Genitive;   // by sign, padded to 9 characters

// "dd°mm’" and the sign in the genitive: 15 characters, 0 <= lon < 360.
std::string FormatEclipseDegree(double lon);

// The list line of record i of Eclipse_Table.
std::string EclipseLine(int i);

// Title and column header come before the first eclipse line.
inline constexpr std::size_t kEclipseListHeadLines = 5;

// The whole list of one calendar year, from 1 January 00:00 to 1 January
// 00:00 of the next year: title, header, one line per eclipse (record i of
// Eclipse_Table on line kEclipseListHeadLines + i - 1), closing note.
// Leaves the search result in Eclipse_Table.
std::vector<std::string> EclipseListLines(std::int32_t year);

}  // namespace kv
