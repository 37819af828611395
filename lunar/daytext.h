// The description of a chosen lunar day: its start and end, and its text
// block copied out of System/DayMoon.doc.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"

namespace kv {

extern std::int32_t Selected_LunarDay;

// Shows a message (Windows-1251) in an error box with a single OK button.
using ErrorBox = std::function<void(const std::string& cp1251Message)>;

// Size of the block buffer: a block of this many characters or more before
// its terminator "@" cannot be copied.
inline constexpr std::size_t kBlockBufferSize = 20000;

// Appends the block of the first marker line "*" whose seven fields (columns
// 3-5, 7-9, ..., 27-29) equal the keys to outputFile, which must exist.
// A block that cannot be copied (too long, no terminator) is reported
// through errorBox and the scan goes on; a non-numeric marker field raises
// ConvertError naming the file and the line, a missing file or a failure to
// write the output FileError.
void W_find3(const std::string& sourceFile, const std::string& outputFile, std::int32_t Key1,
             std::int32_t Key2, std::int32_t Key3, std::int32_t Key4, std::int32_t Key5,
             std::int32_t Key6, std::int32_t Key7, const ErrorBox& errorBox);

// Rewrites the file so that every CR is followed by exactly one LF and no
// other LF remains, through the scratch file directory + "File_tmp_2.txt".
void FixLineBreaks(const std::string& directory, const std::string& fileName);
// The same on a text in memory.
std::string FixedLineBreaks(std::string_view text);

// The lines above a description (Windows-1251): an empty line, the start
// and the end of the lunar day by the clock, labelled " GMT" or with the
// clock's offset (" UTC+03:00"), an empty line.
std::vector<std::string> LunarDayHeading(double start, double end, const LocalClock& clock = {});

// What a click on lunar day N shows, as values; the files of the click are
// written from it, never read back.
struct TLunarDayText {
  std::int32_t Day = 0;
  std::string Source;   // the description file
  std::string Heading;  // LunarDayHeading, each line ending in CR LF
  // The description as TmpFile2_Name keeps it: the block W_find3 copies,
  // every line ending in CR LF; empty when there is none.
  std::string Block;

  // TmpFile1_Name's bytes: the heading, then the block.
  std::string Shown() const { return Heading + Block; }
  // For a day without description (no marker, a block of one line, a
  // broken block), what is missing and where, in UTF-8; empty otherwise.
  std::string Missing() const;
};

// Lunar day N of the last list (LunarDay_Starts) with its description from
// SysDir + "DayMoon.doc"; sets Selected_LunarDay. Writes nothing; fails as
// W_find3 does.
TLunarDayText LunarDayText(std::int32_t N, const ErrorBox& errorBox);
// The same for a lunar day from start to end, told by the clock.
TLunarDayText LunarDayText(std::int32_t N, double start, double end, const ErrorBox& errorBox,
                           const LocalClock& clock = {});

// The files a click leaves: TmpFile2_Name (the block), TmpFile1_Name (the
// heading and the block); File_tmp_2.txt, the scratch file of the line
// ends, is written and removed on the way as FixLineBreaks does.
void WriteLunarDayFiles(const TLunarDayText& day);

// A click on line N (1-based) of the lunar days list: LunarDayText, then
// WriteLunarDayFiles; gives what the click shows.
TLunarDayText WriteLunarDayText(std::int32_t N, const ErrorBox& errorBox);

}  // namespace kv
