// Text helpers shared by the units: Windows-1251 conversion, integer
// conversion of control texts, and the numeric field formatting of the files.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "table.h"

namespace kv {

// A text that is not a decimal integer: "'%s' is not a valid integer value".
struct ConvertError : std::invalid_argument {
  explicit ConvertError(const std::string& utf8Text);
  // The same message, then the file and the line (from 1) the text came from.
  ConvertError(const ConvertError& e, const std::string& file, std::size_t line);
};

// Leading blanks skipped, an optional sign, decimal digits to the end, and
// the value must fit 32 bits; anything else raises ConvertError.
std::int32_t StrToInt(std::string_view text);

// Windows-1251 bytes <-> UTF-8. Characters that 1251 lacks come out as '?'
// (the callers that must keep them escape them first).
std::string ToCp1251(std::string_view utf8);
std::string FromCp1251(std::string_view cp1251);
// A Windows-1251 text as UTF-8 with its CR LF line ends turned into LF.
std::string FromCp1251Text(std::string_view cp1251);
bool EncodableInCp1251(char32_t c);
// The text with every line end, CR LF, a bare LF or a bare CR alike (a file
// saved on Linux or an old Mac), written as CR LF.
std::string CrLfLineEnds(std::string_view text);

// A table of Windows-1251 strings from UTF-8 ones, the first at index First:
// Cp1251Table({"Овен", "Телец", ...}), Cp1251Table<0>({...}).
template <int First = 1, std::size_t N>
Table<std::string, N, First> Cp1251Table(const char* const (&utf8)[N]) {
  Table<std::string, N, First> t;
  for (std::size_t i = 0; i < N; ++i) t.items[i] = ToCp1251(utf8[i]);
  return t;
}

// The decimal integer right-aligned in a field of the given width by
// leading blanks, written whole if longer.
std::string Field(std::int64_t v, int width);

}  // namespace kv
