#include "platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSysInfo>
#include <QThread>
#include <functional>

#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <windows.h>
#include <shellapi.h>
#else
#include <QSocketNotifier>
#include <climits>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>
#endif

namespace kvapp {

namespace {

#ifndef Q_OS_WIN
bool IsDir(const QByteArray& path) {
  struct stat st;
  return path.startsWith('/') && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}
#endif

QString Quoted(const QString& s) { return QStringLiteral("«") + s + QStringLiteral("»"); }

}  // namespace

QString HomeDir() {
#ifdef Q_OS_WIN
  return QDir::homePath();
#else
  const QByteArray env = qgetenv("HOME");
  if (env.startsWith('/')) return QFile::decodeName(env);
  // Without HOME (a service, `env -i`): the account's own home, never the root.
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? size : 16384);
  struct passwd pw, *found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found &&
      found->pw_dir && IsDir(found->pw_dir))
    return QFile::decodeName(found->pw_dir);
  return {};
#endif
}

QString SettingsFileName() {
#ifdef Q_OS_WIN
  return {};
#else
  QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!dir.startsWith(QLatin1Char('/'))) {
    const QString home = HomeDir();
    if (home.isEmpty()) return {};
    dir = home + QStringLiteral("/.config");
  }
  return dir + QStringLiteral("/Korvella_Love.ini");
#endif
}

namespace {

std::unique_ptr<QSettings> MakeSettings() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(
      QStringLiteral("HKEY_CURRENT_USER\\") + QLatin1String(RegistryKey::kPath),
      QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(SettingsFileName(), QSettings::IniFormat);
#endif
}

#ifndef Q_OS_WIN
enum class SettingsFile { Absent, Usable, TooBig };

// Looked at before QSettings reads it, which would wait for ever on a pipe
// and read a file of any size whole.
SettingsFile CheckSettingsFile(const QString& name) {
  const int fd =
      ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return errno == ENOENT ? SettingsFile::Absent : SettingsFile::Usable;  // QSettings says why
  struct stat st;
  const bool known = ::fstat(fd, &st) == 0;
  ::close(fd);
  if (known && !S_ISREG(st.st_mode))
    throw RegistryError(("Файл настроек " + Quoted(name) +
                         " — не обычный файл (папка, канал или устройство): настройки не "
                         "сохраняются. Удалите его, чтобы программа создала новый.")
                            .toStdString());
  return known && st.st_size > kMaxSettingsBytes ? SettingsFile::TooBig : SettingsFile::Usable;
}
#endif

}  // namespace

struct RegistryKey::Impl {
  std::unique_ptr<QSettings> s;
};

RegistryKey::RegistryKey() : d_(std::make_unique<Impl>()) {}
RegistryKey::~RegistryKey() = default;

bool RegistryKey::Open(bool create) {
  notice_.clear();
#ifdef Q_OS_WIN
  d_->s = MakeSettings();
  if (!create && d_->s->allKeys().isEmpty()) {
    d_->s.reset();
    return false;
  }
  return true;
#else
  const QString file = SettingsFileName();
  if (file.isEmpty())
    throw RegistryError(
        "Домашняя папка не найдена (переменная HOME не задана, и в базе учётных записей её "
        "нет): настройки не сохраняются.");
  const SettingsFile state = CheckSettingsFile(file);
  if (state == SettingsFile::Absent && !create) return false;
  if (state != SettingsFile::TooBig) {
    d_->s = MakeSettings();
    if (d_->s->status() != QSettings::FormatError) return true;
    d_->s.reset();
  }
  // Rewritten in place it would keep whatever it held, and grow: it goes
  // aside whole (the newest only) and the settings start afresh.
  const QString aside = file + QStringLiteral(".damaged");
  if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(aside).constData()) != 0)
    throw RegistryError(("Файл настроек " + Quoted(file) +
                         " не читается как настройки и не может быть убран в сторону: " +
                         QString::fromLocal8Bit(std::strerror(errno)))
                            .toStdString());
  notice_ = QStringLiteral(
                "Файл настроек %1 не читается как настройки. Он сохранён как %2, "
                "настройки записаны заново.")
                .arg(Quoted(file), Quoted(aside));
  if (!create) return false;
  d_->s = MakeSettings();
  return true;
#endif
}

namespace {
// The settings' file, or on Windows their key.
std::string Where() {
#ifdef Q_OS_WIN
  return Quoted(MakeSettings()->fileName()).toStdString();
#else
  return Quoted(SettingsFileName()).toStdString();
#endif
}
}  // namespace

void RegistryKey::WriteString(const QString& name, const QString& value) {
  if (d_->s) {
    // Stored at Close(): each store locks, writes and flushes the file to
    // the disk, which a start would otherwise wait for once per value.
    d_->s->setValue(name, value);
    if (d_->s->status() == QSettings::NoError && d_->s->isWritable()) return;
  }
  throw RegistryError("Не удаётся записать значение «" + name.toStdString() + "» в настройки " +
                      Where());
}

void RegistryKey::WriteStrings(const SettingValues& values) {
  if (d_->s) {
    for (const auto& [name, value] : values)
      if (!d_->s->contains(name) || d_->s->value(name).toString() != value)
        d_->s->setValue(name, value);
    d_->s->sync();
    if (d_->s->status() == QSettings::NoError && d_->s->isWritable()) return;
  }
  throw RegistryError("Не удаётся записать настройки " + Where());
}

bool RegistryKey::ValueExists(const QString& name) const { return d_->s && d_->s->contains(name); }

QString RegistryKey::ReadString(const QString& name) const {
  return d_->s ? d_->s->value(name).toString() : QString();
}

void RegistryKey::Close() {
  if (!d_->s) return;
  d_->s->sync();
  const bool failed = d_->s->status() != QSettings::NoError;
  d_->s.reset();
  if (failed) throw RegistryError("Не удаётся сохранить настройки " + Where());
}

bool StartHelpViewer(const QString& helpFile, const QString& topic) {
#ifdef Q_OS_WIN
  // hh.exe gets the short form of the path, which holds no blanks.
  wchar_t shortPath[MAX_PATH];
  const std::wstring longPath = helpFile.toStdWString();
  if (GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH) == 0) return false;
  const std::wstring param = std::wstring(shortPath) + topic.toStdWString();
  const auto r = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", L"hh.exe", param.c_str(), nullptr, SW_SHOWNORMAL));
  return r > 32;
#else
  // Our own viewer beside the program, given the full path and the topic.
  const QString viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/kvlove-help");
  if (!QFileInfo(viewer).isExecutable()) return false;
  return QProcess::startDetached(viewer, {helpFile + topic});
#endif
}

namespace {

#ifdef Q_OS_WIN
QString InstanceDir(QString*) { return QDir::tempPath(); }
#else
// A folder that is ours alone: not a link, owned by us, open to no one else.
bool Private(const QByteArray& dir) {
  struct stat st;
  return ::lstat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

// Where the lock and the channel live: a folder no one else can put a file
// in, never a name in a shared one, which anyone could take first. Empty,
// with why, when there is none.
QString InstanceDir(QString* why) {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (runtime.startsWith('/') && Private(runtime)) return QFile::decodeName(runtime);
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (!base.startsWith(QLatin1Char('/'))) {
    const QString home = HomeDir();
    if (home.isEmpty()) {
      *why = QStringLiteral("домашняя папка не найдена");
      return {};
    }
    base = home + QStringLiteral("/.cache");
  }
  QString dir = base + QStringLiteral("/korvella-love");
  const QByteArray native = QFile::encodeName(dir);
  QDir().mkpath(base);
  ::mkdir(native.constData(), 0700);
  if (Private(native)) return dir;
  *why = QStringLiteral("папка %1 не принадлежит вам или открыта другим").arg(Quoted(dir));
  return {};
}
#endif

// One name per user and main directory, however the directory was reached
// (a link, "..", a trailing separator).
QString InstanceName(const QString& mainDir, const QString& kind) {
  const QFileInfo dir(mainDir);
  QString path = dir.canonicalFilePath();
  if (path.isEmpty()) path = QDir::cleanPath(dir.absoluteFilePath());
  QByteArray id = path.toUtf8() + '\0';
#ifdef Q_OS_WIN
  id += qEnvironmentVariable("USERNAME").toUtf8();  // pipe names are seen by every user
#else
  id += QByteArray::number(::getuid());  // the names of two users never meet
#endif
  return QStringLiteral("korvella-love-") + (kind.isEmpty() ? QString() : kind + u'-') +
         QString::fromLatin1(
             QCryptographicHash::hash(id, QCryptographicHash::Sha256).toHex().left(24));
}

// Requests are lines; what has come without its line end waits for the rest.
// A line longer than any request is dropped whole.
void TakeLines(QByteArray& pending, const QByteArray& got,
               const std::function<void(const QByteArray&)>& onRequest) {
  pending += got;
  for (qsizetype nl; (nl = pending.indexOf('\n')) >= 0;) {
    const QByteArray line = pending.left(nl);
    pending.remove(0, nl + 1);
    if (line.size() <= InstanceLock::kMaxRequest) onRequest(line);
  }
  if (pending.size() > InstanceLock::kMaxRequest) pending.clear();
}

}  // namespace

#ifdef Q_OS_WIN
// A local server (a named pipe): what a later start writes is a request.
struct InstanceLock::Channel {
  QLocalServer server;
  bool Open(const QString& name, const std::function<void(const QByteArray&)>& onRequest) {
    if (!server.listen(name)) return false;
    QObject::connect(&server, &QLocalServer::newConnection, &server, [this, onRequest] {
      while (QLocalSocket* c = server.nextPendingConnection()) {
        auto pending = std::make_shared<QByteArray>();
        QObject::connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
        QObject::connect(c, &QLocalSocket::readyRead, c,
                         [c, pending, onRequest] { TakeLines(*pending, c->readAll(), onRequest); });
      }
    });
    return true;
  }
  static bool Send(const QString& name, const QByteArray& message) {
    QLocalSocket s;
    s.connectToServer(name);
    if (!s.waitForConnected(100)) return false;
    s.write(message);
    return s.waitForBytesWritten(1000);
  }
};
#else
// A named pipe in the instance folder, which the holder keeps open for
// reading: what a later start writes into it is a request. Without a reader
// the writer's open fails, so a pipe left by a crash is never mistaken for
// a holder. A request fits in one write of at most PIPE_BUF bytes, which
// the pipe keeps whole even when two starts write at once.
struct InstanceLock::Channel {
  QByteArray path;
  int fd = -1;
  std::unique_ptr<QSocketNotifier> notifier;
  QByteArray pending;
  ~Channel() {
    notifier.reset();
    if (fd >= 0) {
      ::close(fd);
      ::unlink(path.constData());
    }
  }
  bool Open(const QString& name, const std::function<void(const QByteArray&)>& onRequest) {
    path = QFile::encodeName(name);
    ::unlink(path.constData());  // we hold the lock: a pipe of that name was left by a crash
    if (::mkfifo(path.constData(), 0600) != 0) return false;
    // Read and write, so that it never reads as ended when a writer leaves.
    fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                     [this, onRequest] {
                       char buf[256];
                       QByteArray got;
                       for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, n);
                       TakeLines(pending, got, onRequest);
                     });
    return true;
  }
  static bool Send(const QString& name, const QByteArray& message) {
    static_assert(InstanceLock::kMaxRequest + 1 <= PIPE_BUF);
    const int w =
        ::open(QFile::encodeName(name).constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (w < 0) return false;  // no such pipe, or nobody reads it yet
    struct stat st;
    const bool ours = ::fstat(w, &st) == 0 && S_ISFIFO(st.st_mode) && st.st_uid == ::getuid();
    const bool sent = ours && ::write(w, message.constData(), message.size()) == message.size();
    ::close(w);
    return sent;
  }
};
#endif

InstanceLock::InstanceLock(const QString& mainDir, const QString& kind) {
  const QString dir = InstanceDir(&problem_);
  if (dir.isEmpty()) return;  // no place of our own: no lock
  const QString name = InstanceName(mainDir, kind);
  lockName_ = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
#ifdef Q_OS_WIN
  channelName_ = name;
#else
  channelName_ = dir + QLatin1Char('/') + name + QStringLiteral(".fifo");
#endif
}

#ifdef Q_OS_WIN
struct InstanceLock::Lock {
  QLockFile file;
  explicit Lock(const QString& name) : file(name) { file.setStaleLockTime(0); }
  enum Result { Taken, Held, Impossible };
  Result Take() {
    if (file.tryLock(0)) return Taken;
    return file.error() == QLockFile::LockFailedError ? Held : Impossible;
  }
  QString Holder() const {
    qint64 pid = 0;
    QString host, app;
    return file.getLockInfo(&pid, &host, &app) ? QStringLiteral("процесс %1").arg(pid) : QString();
  }
};
#else
// A lock of the system on the open file (flock): it ends with the process
// that holds it, however that ends, so the file's contents never decide.
// A file in the place that is empty, unreadable, of another host or of a
// process that is gone is simply locked anew; the folder is ours alone, so
// nothing else can be in the place.
struct InstanceLock::Lock {
  QByteArray path;
  int fd = -1;
  explicit Lock(const QString& name) : path(QFile::encodeName(name)) {}
  ~Lock() {
    if (fd < 0) return;
    ::unlink(path.constData());  // while still held: a start that opened it tries again
    ::close(fd);
  }
  enum Result { Taken, Held, Impossible };
  Result Take() {
    for (int attempt = 0; attempt < 10; ++attempt) {
      const int f =
          ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
      if (f < 0) {
        // Ours but unusable (no permission, a link): it goes.
        if (errno != EACCES && errno != ELOOP) return Impossible;
        ::unlink(path.constData());
        continue;
      }
      struct stat st;
      if (::fstat(f, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(f);
        ::unlink(path.constData());
        continue;
      }
      if (::flock(f, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(f);
        return e == EWOULDBLOCK ? Held : Impossible;
      }
      // Its holder may have removed it between our open and our lock.
      struct stat now;
      if (::stat(path.constData(), &now) != 0 || now.st_ino != st.st_ino ||
          now.st_dev != st.st_dev) {
        ::close(f);
        continue;
      }
      // Who holds it, for the message of a later start.
      const QByteArray who =
          QByteArray::number(::getpid()) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
      if (::ftruncate(f, 0) != 0 || ::pwrite(f, who.constData(), who.size(), 0) != who.size()) {
        // Unrecorded, the lock holds all the same.
      }
      fd = f;
      return Taken;
    }
    return Impossible;
  }
  // The process that holds the lock, as it recorded itself.
  QString Holder() const {
    QFile f(QFile::decodeName(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray pid = f.readLine(32).trimmed();
    bool ok = false;
    const qint64 n = pid.toLongLong(&ok);
    return ok && n > 0 ? QStringLiteral("процесс %1").arg(n) : QString();
  }
};
#endif

InstanceLock::~InstanceLock() {
  // The channel goes before the lock: a start that takes the lock next
  // must not lose its new channel to our closing.
  channel_.reset();
}

void InstanceLock::Received(const QByteArray& line) {
  emit requestReceived(QString::fromUtf8(line));
  emit raiseRequested();
}

InstanceLock::Outcome InstanceLock::Claim(const QString& request) {
  QByteArray message = request.toUtf8();
  message.replace('\n', ' ').replace('\r', ' ');
  // Too long to hand over whole: nobody will take it.
  if (message.size() > kMaxRequest) return NoAnswer;
  message += '\n';
  if (lockName_.isEmpty()) return First;  // nowhere to lock: run unguarded rather than not at all
  lock_ = std::make_unique<Lock>(lockName_);
  const QDeadlineTimer deadline(answerMs_);
  for (;;) {
    switch (lock_->Take()) {
      case Lock::Taken:
        // Without a channel later starts cannot hand over, but this window still works.
        channel_ = std::make_unique<Channel>();
        if (!channel_->Open(channelName_, [this](const QByteArray& line) { Received(line); }))
          channel_.reset();
        return First;
      case Lock::Impossible:
        problem_ = QStringLiteral("не удаётся создать файл блокировки %1").arg(Quoted(lockName_));
        lock_.reset();
        return First;
      case Lock::Held: break;
    }
    if (Channel::Send(channelName_, message)) return HandedOver;
    if (deadline.hasExpired()) {
      problem_ = lock_->Holder();
      lock_.reset();
      return NoAnswer;
    }
    QThread::msleep(20);  // the holder may be between its lock and its channel
  }
}

#ifdef Q_OS_WIN
struct SignalCatcher::Impl {};
SignalCatcher::SignalCatcher(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {}
SignalCatcher::~SignalCatcher() = default;
#else
namespace {
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
int signalPipe[2] = {-1, -1};

// All a handler may do: note the signal where the event loop will see it.
void NoteSignal(int sig) {
  const int saved = errno;
  const char c = static_cast<char>(sig);
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
  errno = saved;
}
}  // namespace

struct SignalCatcher::Impl {
  std::unique_ptr<QSocketNotifier> notifier;
  struct sigaction before[std::size(kEndSignals)] = {};
  bool caught[std::size(kEndSignals)] = {};
};

SignalCatcher::SignalCatcher(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {
  if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0)
    return;  // one catcher
  d_->notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  connect(d_->notifier.get(), &QSocketNotifier::activated, this, [this] {
    char c[16];
    ssize_t n;
    while ((n = ::read(signalPipe[0], c, sizeof c)) > 0)
      for (ssize_t i = 0; i < n; ++i) emit caught(static_cast<unsigned char>(c[i]));
  });
  struct sigaction sa {};
  sa.sa_handler = NoteSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (::sigaction(kEndSignals[i], nullptr, &d_->before[i]) != 0 ||
        d_->before[i].sa_handler == SIG_IGN)
      continue;
    d_->caught[i] = ::sigaction(kEndSignals[i], &sa, nullptr) == 0;
  }
}

SignalCatcher::~SignalCatcher() {
  if (!d_->notifier) return;
  for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
    if (d_->caught[i]) ::sigaction(kEndSignals[i], &d_->before[i], nullptr);
  d_->notifier.reset();
  for (int& fd : signalPipe) {
    ::close(fd);
    fd = -1;
  }
}
#endif

}  // namespace kvapp
