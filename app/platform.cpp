#include "platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <functional>

#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>
#include <windows.h>
#include <shellapi.h>
#else
#include <QSocketNotifier>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kvapp {

namespace {
std::unique_ptr<QSettings> MakeSettings() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Korvella_Love"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Korvella_Love"));
#endif
}
}  // namespace

struct RegistryKey::Impl {
  std::unique_ptr<QSettings> s;
};

RegistryKey::RegistryKey() : d_(std::make_unique<Impl>()) {}
RegistryKey::~RegistryKey() = default;

bool RegistryKey::Open(bool create) {
  d_->s = MakeSettings();
#ifndef Q_OS_WIN
  if (!create && !QFileInfo::exists(d_->s->fileName())) {
    d_->s.reset();
    return false;
  }
#else
  if (!create && d_->s->allKeys().isEmpty()) {
    d_->s.reset();
    return false;
  }
#endif
  return true;
}

namespace {
// The settings' file, or on Windows their key.
std::string Where() { return "«" + MakeSettings()->fileName().toStdString() + "»"; }
}  // namespace

void RegistryKey::WriteString(const QString& name, const QString& value) {
  if (d_->s) {
    d_->s->setValue(name, value);
    d_->s->sync();
    if (d_->s->status() == QSettings::NoError && d_->s->isWritable()) return;
  }
  throw RegistryError("Не удаётся записать значение «" + name.toStdString() + "» в настройки " +
                      Where());
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

// The lock and the channel live in a place of the user's own.
QString InstanceDir() {
#ifndef Q_OS_WIN
  const QFileInfo runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  if (!runtime.filePath().isEmpty() && runtime.isDir() && runtime.isWritable())
    return runtime.filePath();
#endif
  return QDir::tempPath();
}

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
  id += QByteArray::number(::getuid());  // the temporary folder may be shared
#endif
  return QStringLiteral("korvella-love-") + (kind.isEmpty() ? QString() : kind + u'-') +
         QString::fromLatin1(
             QCryptographicHash::hash(id, QCryptographicHash::Sha256).toHex().left(24));
}

constexpr int kAnswerMs = 5000;  // an earlier start may still be building its window

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
  const QString dir = InstanceDir();
  const QString name = InstanceName(mainDir, kind);
  lockName_ = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
#ifdef Q_OS_WIN
  channelName_ = name;
#else
  channelName_ = dir + QLatin1Char('/') + name + QStringLiteral(".fifo");
#endif
}

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
  lock_ = std::make_unique<QLockFile>(lockName_);
  lock_->setStaleLockTime(0);  // a window may run for days: only a dead holder frees the lock
  const QDeadlineTimer deadline(kAnswerMs);
  for (;;) {
    if (lock_->tryLock(0)) {
      // Without a channel later starts cannot hand over, but this window still works.
      channel_ = std::make_unique<Channel>();
      if (!channel_->Open(channelName_, [this](const QByteArray& line) { Received(line); }))
        channel_.reset();
      return First;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
      // No lock can be made here at all: run unguarded rather than not at all.
      lock_.reset();
      return First;
    }
    if (Channel::Send(channelName_, message)) return HandedOver;
    if (deadline.hasExpired()) return NoAnswer;
    QThread::msleep(20);  // the holder may be between its lock and its channel
  }
}

}  // namespace kvapp
