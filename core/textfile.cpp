#include "textfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kv {

TextWriter::TextWriter(std::string path, Mode mode) : path_(std::move(path)) {
  if (mode == Mode::Replace) part_ = path_ + ".part";
  const std::string& target = part_.empty() ? path_ : part_;
  f_ = std::fopen(target.c_str(), mode == Mode::Append ? "ab" : "wb");
  if (!f_) Fail(mode == Mode::Append ? "Cannot open file" : "Cannot create file");
}

TextWriter::~TextWriter() {
  if (!f_) return;
  std::fclose(f_);
  if (!part_.empty()) std::remove(part_.c_str());
}

void TextWriter::Fail(const char* what) {
  const int e = errno;
  throw FileError(std::string(what) + " \"" + path_ + "\". " + std::strerror(e));
}

void TextWriter::Write(std::string_view bytes) {
  if (!f_) throw FileError("File not open \"" + path_ + "\"");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
    Fail("Cannot write file");
}

void TextWriter::WriteLine(std::string_view bytes) {
  Write(bytes);
  Write("\r\n");
}

void TextWriter::Flush() {
  if (f_ && std::fflush(f_) != 0) Fail("Cannot write file");
}

void TextWriter::Close() {
  if (!f_) return;
  std::FILE* f = f_;
  f_ = nullptr;
  if (std::fclose(f) != 0) Discard("Cannot write file");
  if (!part_.empty() && std::rename(part_.c_str(), path_.c_str()) != 0) Discard("Cannot create file");
}

void TextWriter::Discard(const char* what) {
  const int e = errno;
  if (!part_.empty()) std::remove(part_.c_str());
  errno = e;
  Fail(what);
}

std::string ReadFileBytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    const int e = errno;
    throw FileError("Cannot open file \"" + path + "\". " + std::strerror(e));
  }
  std::string out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool bad = std::ferror(f);
  std::fclose(f);
  if (bad) throw FileError("Cannot read file \"" + path + "\"");
  return out;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace kv
