// Text files of the program: bytes written as given, CR LF line ends,
// opened and closed within one event. Failures raise FileError naming the file.
//
// Every file is written beside its place under a fresh name and renamed
// into the place by Close(), so a failure or a kill at any moment leaves the
// previous whole file or the new whole file, and a link in the place is
// replaced, never followed.
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
  // Rewrite starts empty; Append starts with the file's present bytes (none
  // when there is no file).
  enum class Mode { Rewrite, Append };
  TextWriter(std::string path, Mode mode = Mode::Rewrite);
  ~TextWriter();  // without Close() the place keeps its previous file
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void Write(std::string_view bytes);
  void WriteLine(std::string_view bytes = {});
  void Flush();
  void Close();  // puts the file in place; FileError when it cannot
  const std::string& path() const { return path_; }

 private:
  [[noreturn]] void Fail(const char* what);
  std::string path_;
  std::string part_;  // the file being written, beside path_
  std::FILE* f_ = nullptr;
  int slot_ = -1;  // its entry in the table the signal handler reads
};

// From now on SIGINT, SIGTERM, SIGHUP and SIGQUIT (unless ignored) first
// remove the files being written, then end the process as they would have.
void RemovePartsOnSignals();

// The message of a failed file operation: what failed, the file and, for a
// nonzero errno value, the system's reason: Не удаётся открыть файл «…». …
std::string FileMessage(std::string_view what, const std::string& path, int err = 0);

// Whole file as bytes; FileError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);
// A Windows-1251 text file as UTF-8 with its CR LF line ends turned into
// LF; FileError as ReadFileBytes.
std::string ReadCp1251Text(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace kv
