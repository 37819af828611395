#include "degree_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/text.h"
#include "core/textfile.h"

namespace kv {

namespace {

// Line-by-line reading of a byte file; closed by the destructor on every
// path out of the lookup.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : path_(path) {
    f_ = std::fopen(path.c_str(), "rb");
    if (!f_) {
      const int e = errno;
      throw FileError(FileMessage("Не удаётся открыть файл", path, e));
    }
  }
  ~LineReader() { std::fclose(f_); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The number of the line read last, from 1.
  std::size_t LineNumber() const { return lines_; }

  // The next line without its end; false at the end of the file.
  bool ReadLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
      if (pos_ == len_ && !Fill()) {
        lines_ += any;
        return any;
      }
      any = true;
      const char* start = buf_ + pos_;
      const void* nl = std::memchr(start, '\n', len_ - pos_);
      if (!nl) {
        line.append(start, len_ - pos_);
        pos_ = len_;
        continue;
      }
      const std::size_t n = static_cast<const char*>(nl) - start;
      line.append(start, n);
      pos_ += n + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      ++lines_;
      return true;
    }
  }

 private:
  bool Fill() {
    pos_ = 0;
    len_ = std::fread(buf_, 1, sizeof buf_, f_);
    if (len_ == 0 && std::ferror(f_)) {
      const int e = errno;
      throw FileError(FileMessage("Не удаётся прочитать файл", path_, e));
    }
    return len_ > 0;
  }

  std::string path_;
  std::FILE* f_ = nullptr;
  char buf_[65536];
  std::size_t pos_ = 0, len_ = 0;
  std::size_t lines_ = 0;
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
