#include "textfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kv {

TextWriter::TextWriter(std::string path, Mode mode) : path_(std::move(path)) {
  f_ = std::fopen(path_.c_str(), mode == Mode::Rewrite ? "wb" : "ab");
  if (!f_) Fail(mode == Mode::Rewrite ? "Cannot create file" : "Cannot open file");
}

TextWriter::~TextWriter() {
  if (f_) std::fclose(f_);
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
  if (std::fclose(f) != 0) Fail("Cannot write file");
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
