// Text files of the program: bytes written as given, CR LF line ends,
// opened and closed within one event. Failures raise FileError naming the file.
//
// Every file is written beside its place under a fresh name and renamed
// into the place by Close(), so a failure or a kill at any moment leaves the
// previous whole file or the new whole file, and a link in the place is
// replaced, never followed. The new file and then its folder are synced to
// the disk first, so a power loss cannot leave an empty file in the place.
#pragma once

#include <cstdint>
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
  void SyncFolder();
  std::string path_;
  std::string part_;  // the file being written, beside path_
  std::FILE* f_ = nullptr;
  int slot_ = -1;  // its entry in the table the signal handler reads
};

// From now on SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGPIPE (a reader of
// kvlove's output gone; unless ignored) first remove the files being
// written, then end the process as they would have.
void RemovePartsOnSignals();

// The message of a failed file operation: what failed, the file and, for a
// nonzero errno value, the system's reason: Не удаётся открыть файл «…». …
std::string FileMessage(std::string_view what, const std::string& path, int err = 0);

// Sizes no genuine file of the program comes near (the degree base is
// 120 KB, the help file and the pictures well under 1 MB); a larger file is
// refused unread.
inline constexpr std::uint64_t kTextFileLimit = 16u << 20;
inline constexpr std::uint64_t kPictureFileLimit = 32u << 20;
inline constexpr std::uint64_t kHelpFileLimit = 64u << 20;

// A file read from the outside: opened without waiting (a FIFO or a device
// would hang the open or the reads), taken only when it is a regular file of
// at most limit bytes, and never read past limit even when its size lies
// (/proc, a file growing meanwhile). FileError naming the file otherwise.
class InputFile {
 public:
  InputFile(const std::string& path, std::uint64_t limit);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Up to n bytes; 0 at the end. FileError on a read error or past the limit.
  std::size_t Read(char* buf, std::size_t n);
  std::uint64_t Size() const { return size_; }  // as the file stated it when opened

 private:
  std::string path_;
  std::uint64_t limit_;
  std::uint64_t size_ = 0;
  std::uint64_t read_ = 0;
  int fd_ = -1;
};

// Whole file as bytes; FileError when it cannot be opened or read, or when
// InputFile refuses it.
std::string ReadFileBytes(const std::string& path, std::uint64_t limit = kTextFileLimit);
// A Windows-1251 text file as UTF-8 with its CR LF line ends turned into
// LF; FileError as ReadFileBytes.
std::string ReadCp1251Text(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace kv
