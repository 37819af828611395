#include "platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#else
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

void RegistryKey::WriteString(const QString& name, const QString& value) {
  if (!d_->s) throw RegistryError("Failed to set data for '" + name.toStdString() + "'");
  d_->s->setValue(name, value);
  d_->s->sync();
  if (d_->s->status() != QSettings::NoError || !d_->s->isWritable())
    throw RegistryError("Failed to set data for '" + name.toStdString() + "'");
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
  if (failed) throw RegistryError("Failed to write the registry key Software\\Korvella_Love");
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

// The lock and the socket live in a place of the user's own.
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
QString InstanceName(const QString& mainDir) {
  const QFileInfo dir(mainDir);
  QString path = dir.canonicalFilePath();
  if (path.isEmpty()) path = QDir::cleanPath(dir.absoluteFilePath());
  QByteArray id = path.toUtf8() + '\0';
#ifdef Q_OS_WIN
  id += qEnvironmentVariable("USERNAME").toUtf8();  // pipe names are seen by every user
#else
  id += QByteArray::number(::getuid());  // the temporary folder may be shared
#endif
  return QStringLiteral("korvella-love-") +
         QString::fromLatin1(QCryptographicHash::hash(id, QCryptographicHash::Sha256).toHex().left(24));
}

constexpr int kAnswerMs = 5000;  // an earlier start may still be building its window
const QByteArray kRaise = "raise\n";
const QByteArray kDone = "ok\n";

}  // namespace

InstanceLock::InstanceLock(const QString& mainDir) {
  const QString dir = InstanceDir();
  const QString name = InstanceName(mainDir);
  lockName_ = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
#ifdef Q_OS_WIN
  serverName_ = name;
#else
  serverName_ = dir + QLatin1Char('/') + name + QStringLiteral(".socket");
#endif
}

InstanceLock::~InstanceLock() {
  // The socket goes before the lock: a start that takes the lock next
  // must not lose its new socket to our closing.
  delete server_;
}

InstanceLock::Outcome InstanceLock::Claim() {
  lock_ = std::make_unique<QLockFile>(lockName_);
  lock_->setStaleLockTime(0);  // a window may run for days: only a dead holder frees the lock
  const QDeadlineTimer deadline(kAnswerMs);
  for (;;) {
    if (lock_->tryLock(0)) {
      Listen();  // without it later starts cannot hand over, but this window still works
      return First;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
      // No lock can be made here at all: run unguarded rather than not at all.
      lock_.reset();
      return First;
    }
    if (AskHolder(deadline)) return HandedOver;
    if (deadline.hasExpired()) return NoAnswer;
    QThread::msleep(20);  // the holder may be between its lock and its listening
  }
}

bool InstanceLock::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // We hold the lock, so a socket of that name was left by a holder that died.
  QLocalServer::removeServer(serverName_);
  if (!server_->listen(serverName_)) return false;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* c = server_->nextPendingConnection()) {
      connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
      connect(c, &QLocalSocket::readyRead, c, [this, c] {
        if (!c->canReadLine() && c->bytesAvailable() < kRaise.size()) return;
        if (c->readLine(kRaise.size() + 1) == kRaise) {
          emit raiseRequested();
          c->write(kDone);
        }
        c->disconnectFromServer();  // after what was written has gone
      });
    }
  });
  return true;
}

bool InstanceLock::AskHolder(const QDeadlineTimer& deadline) {
  QLocalSocket s;
  s.connectToServer(serverName_);
  if (!s.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
  s.write(kRaise);
  if (!s.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
  // The answer comes once the holder's window has been brought forward.
  while (!s.canReadLine())
    if (!s.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return false;
  return s.readLine() == kDone;
}

}  // namespace kvapp
