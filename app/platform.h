// What the window needs of the platform, in one place: the per-user
// registry key of the program, the start of the help viewer, and the one
// running window of a main directory.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kvapp {

struct RegistryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The user's home folder: $HOME, else the account's home in the password
// database; empty when neither names a folder.
QString HomeDir();

// The settings file: Korvella_Love.ini in $XDG_CONFIG_HOME, else in
// ~/.config; empty without a home (and on Windows, which has the registry).
QString SettingsFileName();

// Settings files are a few hundred bytes: anything above this is not one.
inline constexpr qint64 kMaxSettingsBytes = 1 << 20;

// Values of the settings by name, to be stored together.
using SettingValues = std::vector<std::pair<QString, QString>>;

// The key "Software\Korvella_Love" of the current user: the native registry
// on Windows, the INI file SettingsFileName() elsewhere.
class RegistryKey {
 public:
  static constexpr char kPath[] = "Software\\Korvella_Love";
  RegistryKey();
  ~RegistryKey();
  // Opens the key; with create = false it fails (false) when it is missing.
  // RegistryError when there is no place for settings or the file in their
  // place is not a regular file. A file that cannot be read as settings is
  // kept aside as NAME.damaged and replaced: Notice() then says so.
  bool Open(bool create);
  const QString& Notice() const { return notice_; }
  // RegistryError when the settings cannot be written; stored by Close().
  void WriteString(const QString& name, const QString& value);
  // Several values in one write; nothing is written when none changes.
  void WriteStrings(const SettingValues& values);  // RegistryError
  bool ValueExists(const QString& name) const;
  QString ReadString(const QString& name) const;
  void Close();  // RegistryError when what was written cannot be stored

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
  QString notice_;
};

// Starts the help viewer on "file::page" without waiting for it; false when
// it could not be started.
bool StartHelpViewer(const QString& helpFile, const QString& topic);

// One window per main directory. The first start holds a lock file for the
// directory and a channel that later starts can write to; a later start in
// the same directory finds the lock taken, asks the holder through the
// channel to bring its window to the front, and ends. Both live in a folder
// no one else can write in: $XDG_RUNTIME_DIR, else ~/.cache/korvella-love
// (made 0700). The lock is a lock of the system on the open file, which
// ends with its process: a file without one, whatever it holds, is taken
// over.
// The help viewer keeps one window per help file the same way, its request
// being the page to show.
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
  // How long Claim waits for a holder to answer: an earlier start may still
  // be building its window.
  static constexpr int kAnswerMs = 5000;
  void setAnswerWait(int ms) { answerMs_ = ms; }
  QString lockFileName() const { return lockName_; }
  // Why the window runs without a lock, or for NoAnswer who holds it.
  QString problem() const { return problem_; }

 signals:
  void raiseRequested();                         // a later start asked for the window
  void requestReceived(const QString& request);  // and what it asked for

 private:
  struct Channel;  // how a later start reaches the holder
  struct Lock;     // the lock of the system on the file
  QString lockName_, channelName_, problem_;
  std::unique_ptr<Lock> lock_;
  std::unique_ptr<Channel> channel_;
  int answerMs_ = kAnswerMs;
  void Received(const QByteArray& line);
};

// SIGTERM, SIGHUP and SIGINT (unless ignored when it is made) become the
// signal caught() from the event loop, so that whatever runs ends at a
// whole step. The handlers before it are back when it is gone.
class SignalCatcher : public QObject {
  Q_OBJECT
 public:
  explicit SignalCatcher(QObject* parent = nullptr);
  ~SignalCatcher() override;

 signals:
  void caught(int signal);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace kvapp
