// Start-up under any desktop or none, and one window per main directory:
// later starts of the real program against the window under test.
#include <QProcess>
#include <QSignalSpy>
#include <QTabBar>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/platform.h"
#include "window_fixture.h"

namespace {

class StartupTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    fs::create_directories(root_ / "run");
    fs::permissions(root_ / "run", fs::perms::owner_all);  // as a runtime directory is
    oldRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", (root_ / "run").c_str());
  }
  void TearDown() override {
    for (auto& p : programs_) {
      p->kill();
      p->waitForFinished();
    }
    programs_.clear();
    qputenv("XDG_RUNTIME_DIR", oldRuntime_);
    WindowTest::TearDown();
  }

  QString Dir(const fs::path& p) const { return QString::fromStdString(p.string()); }

  // The program started in a main directory, offscreen, with this test's
  // settings and lock places.
  QProcess& StartProgram(const fs::path& dir) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Dir(root_ / "config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Dir(root_ / "run"));
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(Dir(dir));
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QStringLiteral(KV_DIST_DIR "/korvella-love"), {});
    EXPECT_TRUE(p->waitForStarted());
    programs_.push_back(std::move(p));
    return *programs_.back();
  }
  // Runs our event loop meanwhile: a program handing over waits for us.
  static bool Ended(QProcess& p) {
    QSignalSpy finished(&p, &QProcess::finished);
    return p.state() == QProcess::NotRunning || finished.wait(15000);
  }
  // The program in `dir` has done its start-up: it recorded its directory.
  bool StartedIn(const fs::path& dir) {
    return QTest::qWaitFor(
        [&] {
          std::ifstream in(root_ / "config" / "Korvella_Love.ini");
          const std::string s{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
          return s.find("rMainDir=" + dir.string() + "/") != std::string::npos;
        },
        15000);
  }

  QByteArray oldRuntime_;
  std::vector<std::unique_ptr<QProcess>> programs_;
};

}  // namespace

TEST_F(StartupTest, StartupRunsAtTheFirstShowWithoutActivation) {
  CopyPicture();
  auto& f = Start(/*activate=*/false);
  QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvella_Love"));
  EXPECT_EQ(s.value("rMainDir").toString().toStdString(), MainDir());
  EXPECT_FALSE(f.Image6->pixmap().isNull());
  EXPECT_EQ(f.SpinEdit21->text(), QString::number(QDate::currentDate().year()));

  // The first click does what it points at, and neither a later activation
  // nor a second show starts anything again.
  QTabBar* tabs = f.PageControl1->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
  EXPECT_EQ(f.PageControl1->currentIndex(), 3);
  f.SpinEdit22->setText(QStringLiteral("1999"));
  f.removeEventFilter(&neverActivated_);
  f.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
  f.hide();
  f.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(f.PageControl1->currentIndex(), 3);
  EXPECT_EQ(f.SpinEdit22->text(), QStringLiteral("1999"));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(StartupTest, SecondStartInTheSameDirectoryBringsTheWindowForward) {
  CopyPicture();
  kvapp::InstanceLock instance(Dir(main_));
  ASSERT_EQ(instance.Claim(), kvapp::InstanceLock::First);
  auto& f = Start(false);
  QObject::connect(&instance, &kvapp::InstanceLock::raiseRequested, &f,
                   &TZKV_LoveForm::BringToFront);
  f.showMinimized();

  QProcess& second = StartProgram(main_);
  ASSERT_TRUE(Ended(second));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !f.isMinimized(); }));
  EXPECT_TRUE(QTest::qWaitForWindowActive(&f));

  // Another main directory has a window of its own.
  const fs::path other = root_ / "other dir";
  fs::create_directories(other / "System");
  QProcess& beside = StartProgram(other);
  ASSERT_TRUE(StartedIn(other));
  EXPECT_EQ(beside.state(), QProcess::Running);
}

TEST_F(StartupTest, LockOfACrashedProgramDoesNotBlockTheNextStart) {
  QProcess& crashing = StartProgram(main_);
  ASSERT_TRUE(StartedIn(main_));
  crashing.kill();
  ASSERT_TRUE(Ended(crashing));
  kvapp::InstanceLock instance(Dir(main_));
  ASSERT_TRUE(fs::exists(instance.lockFileName().toStdString()));  // left behind

  ASSERT_EQ(instance.Claim(), kvapp::InstanceLock::First);
  // The channel it left is ours now: the next start hands over to us.
  int raised = 0;
  QObject::connect(&instance, &kvapp::InstanceLock::raiseRequested, [&] { ++raised; });
  QProcess& next = StartProgram(main_);
  ASSERT_TRUE(Ended(next));
  EXPECT_EQ(next.exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }));
}

// Without XDG_RUNTIME_DIR the lock lives in a folder of the user's own:
// no one can hold it by a file in the shared temporary folder, and a lock
// file that no live process holds is taken over whatever it contains.
TEST_F(StartupTest, LockInAFolderOfOurOwnTakesOverWhatNoOneHolds) {
  const QByteArray home = qgetenv("HOME"), cache = qgetenv("XDG_CACHE_HOME");
  qunsetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_CACHE_HOME");
  qputenv("HOME", (root_ / "home").c_str());
  struct Restore {
    QByteArray home, cache;
    ~Restore() {
      qputenv("HOME", home);
      if (cache.isEmpty())
        qunsetenv("XDG_CACHE_HOME");
      else
        qputenv("XDG_CACHE_HOME", cache);
    }
  } restore{home, cache};
  fs::create_directories(root_ / "home");

  const fs::path lock = [&] {
    kvapp::InstanceLock probe(Dir(main_));
    return fs::path(probe.lockFileName().toStdString());
  }();
  ASSERT_EQ(lock.parent_path(), root_ / "home/.cache/korvella-love");
  // Someone else's file under the name the lock had in the temporary folder.
  const fs::path shared = fs::path(QDir::tempPath().toStdString()) / lock.filename();
  std::ofstream(shared) << "4242\nelsewhere\n";
  struct stat st;
  for (const char* left : {"", "1\nanother-host\n", "999999999\n", "garbage"}) {
    std::ofstream(lock) << left;
    kvapp::InstanceLock instance(Dir(main_));
    EXPECT_EQ(instance.Claim(), kvapp::InstanceLock::First) << left;
    EXPECT_TRUE(instance.problem().isEmpty()) << instance.problem().toStdString();
    ASSERT_EQ(::stat(lock.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Held, it hands over to the next start; released, it is gone.
    kvapp::InstanceLock second(Dir(main_));
    EXPECT_EQ(second.Claim(), kvapp::InstanceLock::HandedOver) << left;
  }
  EXPECT_FALSE(fs::exists(lock));
  fs::remove(shared);

  // A live holder without a channel: no answer, and who it is.
  {
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "31337\nhere\n", 11), 11);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    kvapp::InstanceLock instance(Dir(main_));
    instance.setAnswerWait(100);
    EXPECT_EQ(instance.Claim(), kvapp::InstanceLock::NoAnswer);
    EXPECT_EQ(instance.problem(), U("процесс 31337"));
    ::close(fd);
  }

  // A folder others may open is not used.
  fs::permissions(lock.parent_path(), fs::perms::group_read | fs::perms::group_exec,
                  fs::perm_options::add);
  kvapp::InstanceLock open(Dir(main_));
  EXPECT_TRUE(open.lockFileName().isEmpty());
  EXPECT_TRUE(open.problem().contains(U("открыта другим"))) << open.problem().toStdString();
  EXPECT_EQ(open.Claim(), kvapp::InstanceLock::First);
}

// SIGTERM, SIGHUP (a logout) and SIGINT end the program with status 0 and
// leave neither its lock nor its channel.
TEST_F(StartupTest, SignalsEndTheProgramCleanly) {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
    fs::remove(root_ / "config" / "Korvella_Love.ini");
    QProcess& p = StartProgram(main_);
    ASSERT_TRUE(StartedIn(main_));
    ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), sig), 0);
    ASSERT_TRUE(Ended(p));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << sig;
    EXPECT_EQ(p.exitCode(), 0) << sig;
    EXPECT_TRUE(fs::is_empty(root_ / "run")) << sig;
  }
}
