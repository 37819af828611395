#include "daytext.h"

#include <array>
#include <cstdio>

#include "core/calendar.h"
#include "core/checked.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "lunardays.h"

namespace kv {

std::int32_t Selected_LunarDay = 0;

namespace {
constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kTerminator = '@';
constexpr char kEndOfFile = '\x1a';  // what reading past the end yields

// Sequential reading of a text file held in memory.
class TextReader {
 public:
  explicit TextReader(std::string bytes) : s_(std::move(bytes)) {}
  bool Eof() const { return p_ >= s_.size(); }

  // Up to the line end (CR LF, LF or a lone CR), which is consumed.
  std::string ReadLine() {
    const std::size_t b = lineStart_ = p_;
    while (p_ < s_.size() && s_[p_] != kCR && s_[p_] != kLF) ++p_;
    std::string line = s_.substr(b, p_ - b);
    if (p_ < s_.size() && s_[p_] == kCR) {
      ++p_;
      if (p_ < s_.size() && s_[p_] == kLF) ++p_;
    } else if (p_ < s_.size()) {
      ++p_;  // LF
    }
    return line;
  }

  char ReadChar() { return p_ < s_.size() ? s_[p_++] : kEndOfFile; }

  // The number of the line ReadLine gave last, from 1, its line ends counted.
  std::size_t LineNumber() const {
    std::size_t n = 1;
    for (std::size_t i = 0; i < lineStart_; ++i)
      n += s_[i] == kLF || (s_[i] == kCR && (i + 1 == s_.size() || s_[i + 1] != kLF));
    return n;
  }

 private:
  std::string s_;
  std::size_t p_ = 0;
  std::size_t lineStart_ = 0;
};

// The field of a marker line at 1-based column c, three characters wide.
std::int32_t MarkerField(const std::string& line, std::size_t c) {
  const std::string f = c - 1 < line.size() ? line.substr(c - 1, 3) : std::string();
  try {
    return StrToInt(f);
  } catch (const ConvertError&) {
    throw ConvertError(FromCp1251(f));
  }
}

std::string TimeLine(const char* utf8Label, double x, const LocalClock& clock) {
  std::string date, time;
  DayNumberToStrings(clock.Local(x), date, time);
  return ToCp1251(utf8Label) + date + "  " + time +
         (clock.IsGmt() ? " GMT" : " UTC" + OffsetText(clock.OffsetAt(x)));
}

// The block of the first marker whose fields equal the keys, with the three
// line ends that follow it; empty when there is none to show.
std::string FindBlock(const std::string& source, const std::string& sourceFile,
                      const std::array<std::int32_t, 7>& keys, const ErrorBox& errorBox) {
  // Kept between blocks of one lookup: a failed block leaves its characters.
  std::array<char, kBlockBufferSize> buf;
  buf.fill(' ');
  // A file saved with LF or CR line ends reads as the CR LF it was made with.
  TextReader in(CrLfLineEnds(source));
  while (!in.Eof()) {
    std::string line = in.ReadLine();
    if (line.empty() || line[0] != '*') continue;
    if (line.size() > 255) line.resize(255);
    std::array<std::int32_t, 7> fields;
    try {
      for (std::size_t i = 0; i < 7; ++i) fields[i] = MarkerField(line, 3 + 4 * i);
    } catch (const ConvertError& e) {
      throw ConvertError(e, sourceFile, in.LineNumber());
    }
    if (fields != keys) continue;

    std::size_t L = 0;  // characters read, the terminator included
    char c;
    do {
      c = in.ReadChar();
      if (++L > kBlockBufferSize) break;
      if (c != kTerminator && c != kLF) buf[L - 1] = c;
    } while (c != kTerminator);
    if (L > kBlockBufferSize) {
      // A block too long, or none before the end (where reading yields
      // end-of-file characters), is the source's fault: reported against
      // it, and the scan goes on.
      if (errorBox) errorBox(ToCp1251(" Ошибка в W_find3: " + sourceFile));
      continue;
    }
    std::size_t lines = 0;
    for (std::size_t i = 0; i < L; ++i) lines += buf[i] == kCR;
    if (lines < 2) return {};
    return std::string(buf.data(), L) + "\r\n\r\n\r\n";
  }
  return {};
}
}  // namespace

void W_find3(const std::string& sourceFile, const std::string& outputFile, std::int32_t Key1,
             std::int32_t Key2, std::int32_t Key3, std::int32_t Key4, std::int32_t Key5,
             std::int32_t Key6, std::int32_t Key7, const ErrorBox& errorBox) {
  const std::string source = ReadFileBytes(sourceFile);
  if (!FileExists(outputFile)) throw FileError(FileMessage("Не найден файл", outputFile));
  TextWriter out(outputFile, TextWriter::Mode::Append);
  out.Write(FindBlock(source, sourceFile, {Key1, Key2, Key3, Key4, Key5, Key6, Key7}, errorBox));
  out.Close();
}

std::string FixedLineBreaks(std::string_view text) {
  std::string fixed;
  fixed.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == kLF) continue;
    fixed += c;
    if (c == kCR) fixed += kLF;
  }
  return fixed;
}

void FixLineBreaks(const std::string& directory, const std::string& fileName) {
  const std::string scratch = directory + "File_tmp_2.txt";
  const std::string original = ReadFileBytes(fileName);
  {
    TextWriter w(scratch);
    std::string kept;
    kept.reserve(original.size());
    for (char c : original)
      if (c != kLF) kept += c;
    w.Write(kept);
    w.Close();
  }
  {
    const std::string copied = ReadFileBytes(scratch);
    TextWriter w(fileName);
    w.Write(FixedLineBreaks(copied));
    w.Close();
  }
  std::remove(scratch.c_str());
}

std::vector<std::string> LunarDayHeading(double start, double end, const LocalClock& clock) {
  return {"", TimeLine(" Начало лунного дня    ", start, clock),
          TimeLine(" Конец лунного дня     ", end, clock), ""};
}

TLunarDayText LunarDayText(std::int32_t N, double start, double end, const ErrorBox& errorBox,
                           const LocalClock& clock) {
  TLunarDayText day;
  day.Day = N;
  day.Source = SysDir + "DayMoon.doc";
  for (const std::string& line : LunarDayHeading(start, end, clock)) day.Heading += line + "\r\n";
  // A block always ends in line ends: fixed, every line ends in CR LF.
  day.Block = FixedLineBreaks(
      FindBlock(ReadFileBytes(day.Source), day.Source, {0, N, 0, 0, 0, 0, 0}, errorBox));
  return day;
}

TLunarDayText LunarDayText(std::int32_t N, const ErrorBox& errorBox) {
  TLunarDayText day = LunarDayText(N, LunarDay_Starts[N - 1], LunarDay_Starts[N], errorBox);
  Selected_LunarDay = N;
  return day;
}

std::string TLunarDayText::Missing() const {
  if (!Block.empty()) return {};
  return "Нет описания лунного дня " + std::to_string(Day) + " в файле «" + Source +
         "»: нет строки «*   0" + Field(Day, 4) +
         "   0   0   0   0   0» или после неё меньше двух строк текста до знака «@».";
}

void WriteLunarDayFiles(const TLunarDayText& day) {
  const auto write = [](const std::string& path, const std::string& bytes) {
    TextWriter w(path);
    w.Write(bytes);
    w.Close();
  };
  // The block without its LF, as the scratch file holds it on the way.
  const std::string scratch = SysDir + "File_tmp_2.txt";
  std::string kept;
  kept.reserve(day.Block.size());
  for (char c : day.Block)
    if (c != kLF) kept += c;
  write(scratch, kept);
  write(TmpFile2_Name, day.Block);
  std::remove(scratch.c_str());
  write(TmpFile1_Name, day.Shown());
}

TLunarDayText WriteLunarDayText(std::int32_t N, const ErrorBox& errorBox) {
  TLunarDayText day = LunarDayText(N, errorBox);
  WriteLunarDayFiles(day);
  return day;
}

}  // namespace kv
