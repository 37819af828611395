// What the window needs of the platform, in one place: the per-user
// registry key of the program, the start of the help viewer, and the one
// running window of a main directory.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>

namespace kvapp {

struct RegistryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The key "Software\Korvella_Love" of the current user: the native registry
// on Windows, QSettings' per-user INI file "Korvella_Love" elsewhere.
class RegistryKey {
 public:
  RegistryKey();
  ~RegistryKey();
  // Opens the key; with create = false it fails (false) when it is missing.
  bool Open(bool create);
  void WriteString(const QString& name, const QString& value);  // RegistryError
  bool ValueExists(const QString& name) const;
  QString ReadString(const QString& name) const;
  void Close();  // RegistryError when what was written cannot be stored

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

// Starts the help viewer on "file::page" without waiting for it; false when
// it could not be started.
bool StartHelpViewer(const QString& helpFile, const QString& topic);

// One window per main directory. The first start holds a lock file for the
// directory and a channel that later starts can write to; a later start in
// the same directory finds the lock taken, asks the holder through the
// channel to bring its window to the front, and ends. A lock whose holder
// has died (a crash) is taken over: QLockFile recognises it by the process
// id it records. The help viewer keeps one window per help file the same
// way, its request being the page to show.
class InstanceLock : public QObject {
  Q_OBJECT
 public:
  enum Outcome {
    First,       // ours: go on and show the window
    HandedOver,  // the window of an earlier start has been asked to come forward
    NoAnswer,    // an earlier start holds the lock but does not take requests
  };
  // mainDir: the directory whose files this process will write; kind tells
  // the programs apart ("" the window, "help" the viewer).
  explicit InstanceLock(const QString& mainDir, const QString& kind = {});
  ~InstanceLock() override;
  // request: one line handed to the holder, at most kMaxRequest bytes in UTF-8.
  Outcome Claim(const QString& request = QStringLiteral("raise"));
  static constexpr int kMaxRequest = 1024;
  QString lockFileName() const { return lockName_; }

 signals:
  void raiseRequested();                         // a later start asked for the window
  void requestReceived(const QString& request);  // and what it asked for

 private:
  struct Channel;  // how a later start reaches the holder
  QString lockName_, channelName_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<Channel> channel_;
  void Received(const QByteArray& line);
};

}  // namespace kvapp
