#include "textfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <random>

#include "text.h"

namespace kv {

namespace {

// The files being written, in a fixed table that a signal handler can read
// without allocating.
struct PartSlot {
  std::atomic<bool> used{false};
  char name[PATH_MAX];
};
PartSlot parts[16];

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// Those signals held back while a part file and its entry change together.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t s;
    sigemptyset(&s);
    for (int sig : kCleanedSignals) sigaddset(&s, sig);
    pthread_sigmask(SIG_BLOCK, &s, &old_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

int Register(const std::string& name) {
  if (name.size() >= PATH_MAX) return -1;
  for (int i = 0; i < static_cast<int>(std::size(parts)); ++i) {
    if (parts[i].used.load()) continue;
    std::memcpy(parts[i].name, name.c_str(), name.size() + 1);
    parts[i].used.store(true);
    return i;
  }
  return -1;  // more files open at once than the program ever has
}

void Unregister(int slot) {
  if (slot >= 0) parts[slot].used.store(false);
}

void RemovePartsAndResignal(int sig) {
  for (const PartSlot& p : parts)
    if (p.used.load()) ::unlink(p.name);
  // The handler was reset; the signal is delivered again on return.
  ::raise(sig);
}

// A fresh name beside path.
std::string PartName(const std::string& path) {
  static std::mt19937_64 rng{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = path + ".part-";
  for (int i = 0; i < 6; ++i) name += kChars[rng() % (sizeof kChars - 1)];
  return name;
}

}  // namespace

TextWriter::TextWriter(std::string path, Mode mode) : path_(std::move(path)) {
  // A folder in the place would refuse the file only when it is complete.
  struct stat st;
  if (::lstat(path_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    Fail("Не удаётся создать файл");
  }
  const std::string old = mode == Mode::Append && FileExists(path_) ? ReadFileBytes(path_) : "";
  {
    SignalsHeld held;
    int fd = -1;
    // O_EXCL: a file or a link planted under the fresh name is not used.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      part_ = PartName(path_);
      fd = ::open(part_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) Fail("Не удаётся создать файл");
    f_ = ::fdopen(fd, "wb");
    if (!f_) {
      const int e = errno;
      ::close(fd);
      ::unlink(part_.c_str());
      errno = e;
      Fail("Не удаётся создать файл");
    }
    slot_ = Register(part_);
  }
  Write(old);
}

TextWriter::~TextWriter() {
  if (!f_) return;
  std::fclose(f_);
  SignalsHeld held;
  ::unlink(part_.c_str());
  Unregister(slot_);
}

void TextWriter::Fail(const char* what) {
  const int e = errno;
  throw FileError(FileMessage(what, path_, e));
}

void TextWriter::Write(std::string_view bytes) {
  if (!f_) throw FileError("Файл «" + path_ + "» уже закрыт");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
    Fail("Не удаётся записать файл");
}

void TextWriter::WriteLine(std::string_view bytes) {
  Write(bytes);
  Write("\r\n");
}

void TextWriter::Flush() {
  if (f_ && std::fflush(f_) != 0) Fail("Не удаётся записать файл");
}

void TextWriter::Close() {
  if (!f_) return;
  std::FILE* f = f_;
  f_ = nullptr;
  // On the disk before it replaces the old file: a power loss leaves one of
  // the two whole, never an empty or half-written file in the place.
  int e = 0;
  if (std::fflush(f) != 0 || ::fsync(::fileno(f)) != 0) e = errno;
  if (std::fclose(f) != 0 && e == 0) e = errno;
  const bool written = e == 0;
  SignalsHeld held;
  // rename() replaces whatever is in the place, a link included.
  const bool placed = written && std::rename(part_.c_str(), path_.c_str()) == 0;
  if (written && !placed) e = errno;
  if (!placed) ::unlink(part_.c_str());
  Unregister(slot_);
  slot_ = -1;
  errno = e;
  if (!written) Fail("Не удаётся записать файл");
  if (!placed) Fail("Не удаётся создать файл");
  SyncFolder();
}

void TextWriter::SyncFolder() {
  const std::string::size_type slash = path_.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path_.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // a folder we may write but not read: the rename stands
  // Some file systems cannot sync a folder (EINVAL); theirs is not ours to fix.
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
  const int e = errno;
  ::close(fd);
  errno = e;
  if (!synced) Fail("Не удаётся записать файл");
}

void RemovePartsOnSignals() {
  struct sigaction sa {};
  sa.sa_handler = RemovePartsAndResignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : kCleanedSignals) sigaddset(&sa.sa_mask, sig);
  sa.sa_flags = SA_RESETHAND;
  for (int sig : kCleanedSignals) {
    struct sigaction old {};
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
      sigaction(sig, &sa, nullptr);
  }
}

std::string FileMessage(std::string_view what, const std::string& path, int err) {
  std::string m = std::string(what) + " «" + path + "»";
  if (err != 0) m += std::string(". ") + std::strerror(err);
  return m;
}

namespace {
const char* KindOf(mode_t m) {
  if (S_ISDIR(m)) return "папка";
  if (S_ISFIFO(m)) return "канал (FIFO)";
  if (S_ISCHR(m) || S_ISBLK(m)) return "устройство";
  if (S_ISSOCK(m)) return "сокет";
  return "не обычный файл";
}

std::string TooLarge(const std::string& path, std::uint64_t limit) {
  const std::string size =
      limit >= 1u << 20 ? std::to_string(limit >> 20) + " МБ" : std::to_string(limit) + " байт";
  return FileMessage("Не удаётся прочитать файл", path) + ": он больше " + size +
         ", таких файлов у программы нет";
}
}  // namespace

InputFile::InputFile(const std::string& path, std::uint64_t limit) : path_(path), limit_(limit) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    const int e = errno;
    throw FileError(FileMessage("Не удаётся открыть файл", path, e));
  }
  struct stat st;
  std::string problem;
  if (::fstat(fd_, &st) != 0) {
    problem = FileMessage("Не удаётся открыть файл", path, errno);
  } else if (!S_ISREG(st.st_mode)) {
    problem = FileMessage("Не удаётся открыть файл", path) + ": это " + KindOf(st.st_mode) +
              ", а не обычный файл";
  } else if (static_cast<std::uint64_t>(st.st_size) > limit) {
    problem = TooLarge(path, limit);
  } else {
    size_ = static_cast<std::uint64_t>(st.st_size);
    // Reads of a regular file wait for the disk, as they should.
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
      problem = FileMessage("Не удаётся открыть файл", path, errno);
  }
  if (!problem.empty()) {
    ::close(fd_);
    throw FileError(problem);
  }
}

InputFile::~InputFile() { ::close(fd_); }

std::size_t InputFile::Read(char* buf, std::size_t n) {
  // One byte beyond the limit is asked for, to tell a file of exactly limit
  // bytes from a longer one.
  const std::uint64_t room = limit_ + 1 - read_;
  if (n > room) n = static_cast<std::size_t>(room);
  ssize_t got;
  do got = ::read(fd_, buf, n);
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    const int e = errno;
    throw FileError(FileMessage("Не удаётся прочитать файл", path_, e));
  }
  read_ += static_cast<std::uint64_t>(got);
  if (read_ > limit_) throw FileError(TooLarge(path_, limit_));
  return static_cast<std::size_t>(got);
}

std::string ReadFileBytes(const std::string& path, std::uint64_t limit) {
  InputFile f(path, limit);
  std::string out;
  out.reserve(static_cast<std::size_t>(f.Size()));
  char buf[65536];
  while (const std::size_t n = f.Read(buf, sizeof buf)) out.append(buf, n);
  return out;
}

std::string ReadCp1251Text(const std::string& path) { return FromCp1251Text(ReadFileBytes(path)); }

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace kv
