// The degree text base Html/gradus.txt: one paragraph per whole degree of
// the zodiac, 0..359, read as Windows-1251 bytes and never converted.
//
// An entry is a header line ("*" in column 1, the key right-aligned in
// columns 3..5, the rest ignored) followed by its text line, taken whole.
// Lines end in CR LF, a bare LF or a bare CR.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// Scans the whole base and leaves in text the paragraph of the last entry
// whose key equals key; text is untouched when no entry matches. A missing
// base raises FileError; a header whose key field is not a whole number
// raises ConvertError naming the file and the line, so one bad header fails
// every lookup.
void FindDegreeText(const std::string& fileName, std::int32_t key, std::string& text);

// The key of a header line (its columns 3..5, or fewer if the line is
// shorter): leading blanks, an optional sign and digits to the end of the
// field; ConvertError otherwise.
std::int32_t DegreeKey(std::string_view headerLine);

}  // namespace kv
