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

// The description of lunar day N from SysDir + "DayMoon.doc" as the click
// shows it below the heading, each line ending in CR LF, without writing
// any file; empty when there is none. Fails as W_find3 does.
std::string LunarDayDescription(std::int32_t N, const ErrorBox& errorBox);

// A click on line N (1-based) of the lunar days list: writes TmpFile1_Name
// (two time lines and the description of lunar day N) via TmpFile2_Name.
void WriteLunarDayText(std::int32_t N, const ErrorBox& errorBox);

}  // namespace kv
