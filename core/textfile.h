// Text files of the program: bytes written as given, CR LF line ends,
// opened and closed within one event. Failures raise FileError naming the file.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TextWriter {
 public:
  // Replace writes beside the file and puts it in place on Close(), so a
  // failure midway leaves the previous file as it was.
  enum class Mode { Rewrite, Append, Replace };
  TextWriter(std::string path, Mode mode = Mode::Rewrite);
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void Write(std::string_view bytes);
  void WriteLine(std::string_view bytes = {});
  void Flush();
  void Close();  // reports a failed final write; the destructor only closes
  const std::string& path() const { return path_; }

 private:
  [[noreturn]] void Fail(const char* what);
  [[noreturn]] void Discard(const char* what);  // Fail, dropping a Replace's file
  std::string path_;
  std::string part_;  // Replace: the file being written
  std::FILE* f_ = nullptr;
};

// Whole file as bytes; FileError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace kv
