#include "degree_text.h"

#include "core/text.h"
#include "core/textfile.h"

namespace kv {

namespace {

// Line-by-line reading of a byte file; closed by the destructor on every
// path out of the lookup.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : file_(path, kTextFileLimit) {}

  // The number of the line read last, from 1.
  std::size_t LineNumber() const { return lines_; }

  // The next line without its end (CR LF, LF or a bare CR); false at the
  // end of the file.
  bool ReadLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
      if (pos_ == len_ && !Fill()) {
        lines_ += any;
        return any;
      }
      if (afterCr_) {
        afterCr_ = false;
        if (buf_[pos_] == '\n' && ++pos_ == len_) continue;
      }
      any = true;
      const char* start = buf_ + pos_;
      const char* end = start;
      while (end != buf_ + len_ && *end != '\n' && *end != '\r') ++end;
      line.append(start, end);
      pos_ = end - buf_;
      if (pos_ == len_) continue;
      afterCr_ = buf_[pos_++] == '\r';  // its LF may come with the next block
      ++lines_;
      return true;
    }
  }

 private:
  bool Fill() {
    pos_ = 0;
    len_ = file_.Read(buf_, sizeof buf_);
    return len_ > 0;
  }

  InputFile file_;
  char buf_[65536];
  std::size_t pos_ = 0, len_ = 0;
  std::size_t lines_ = 0;
  bool afterCr_ = false;
};

}  // namespace

std::int32_t DegreeKey(std::string_view headerLine) {
  const std::string_view field =
      headerLine.size() > 2 ? headerLine.substr(2, 3) : std::string_view{};
  try {
    return StrToInt(field);
  } catch (const ConvertError&) {
    // The message carries the field as the user sees it, not as 1251 bytes.
    throw ConvertError(FromCp1251(field));
  }
}

void FindDegreeText(const std::string& fileName, std::int32_t key, std::string& text) {
  LineReader in(fileName);
  std::string line;
  while (in.ReadLine(line)) {
    if (line.empty() || line[0] != '*') continue;
    std::int32_t k;
    try {
      k = DegreeKey(line);
    } catch (const ConvertError& e) {
      throw ConvertError(e, fileName, in.LineNumber());
    }
    if (k != key) continue;
    std::string next;
    in.ReadLine(next);  // empty when the header is the last line
    text = std::move(next);
  }
}

}  // namespace kv
